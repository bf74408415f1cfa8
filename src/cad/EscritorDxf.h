#pragma once

#include <dl_writer_ascii.h>

#include <string>

class QIODevice;

namespace corvela {

// A DXF writer of libdxflib whose groups go to a Qt device instead of a file of
// its own, so that a drawing can be written through a safe replacement and a
// refused write is known. Reals are written with the fewest digits that read
// back as the same double, always with a decimal point and never in the
// reader's locale. Output is gathered in a bounded buffer, so memory does not
// grow with the drawing.
class EscritorDxf : public DL_WriterA
{
public:
    explicit EscritorDxf(QIODevice& destino);

    void dxfReal(int gc, double value) const override;
    void dxfInt(int gc, int value) const override;
    void dxfHex(int gc, int value) const override;
    void dxfString(int gc, const char* value) const override;
    void dxfString(int gc, const std::string& value) const override;

    // Writes what is still buffered. False when the device refused a write (its
    // error says why); nothing more is written after it.
    bool Volcar() const;

private:
    void Codigo(int gc) const;
    void Linea(const char* texto, std::size_t tamano) const;

    QIODevice& destino_;
    mutable std::string bufer_;
    mutable bool fallo_ = false;
};

} // namespace corvela
