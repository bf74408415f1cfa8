#pragma once

#include <QString>

namespace corvela {

// An INI file read and written one key at a time: sections and keys matched
// without regard to case, the other lines of the file kept as they were, the file
// and the section created on the first write.
class ArchivoIni
{
public:
    static constexpr int kLongitudMaxima = 254;

    // The stored value (surrounding blanks and quotes removed, cut to 254
    // characters), or the empty text. ok is false only when an existing file cannot be read.
    static QString Leer(const QString& fichero, const QString& seccion, const QString& clave, bool* ok = nullptr);

    // Replaces or adds the key; false when the file cannot be written.
    static bool Escribir(const QString& fichero, const QString& seccion, const QString& clave, const QString& valor);
};

}  // namespace corvela
