#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

namespace corvela {

// The text of a CSV file: UTF-8, with or without its byte-order mark; a file that
// is not valid UTF-8 is read as Windows-1252, the Latin-1 superset spreadsheets
// on Western European desktops save in. windows1252 tells which was used.
QString DecodificarCsv(const QByteArray& bytes, bool* windows1252 = nullptr);

// One record of a CSV file and the line where it starts (from 1).
struct RegistroCsv
{
    int Linea = 0;
    QStringList Campos;
    bool ComillasSinCerrar = false; // a quoted field ran to the end of the file
    // A blank line, or one of separators only, as spreadsheets leave at the end.
    bool Vacio() const;
};

// Splits the text into records as RFC 4180 describes them: fields between
// double quotes may hold the separator, doubled quotes and line breaks. Lines may
// end in CRLF, LF or CR; the last one needs no line end.
class LectorCsv
{
public:
    LectorCsv(const QString& texto, QChar separador) : texto_(texto), separador_(separador) {}

    // The next record; false at the end of the text.
    bool Siguiente(RegistroCsv& registro);

private:
    QString CampoCitado(RegistroCsv& registro);
    QString CampoLlano();
    void ContarLineas(qsizetype desde, qsizetype hasta);

    const QString& texto_;
    QChar separador_;
    qsizetype pos_ = 0;
    int linea_ = 1;
};

} // namespace corvela
