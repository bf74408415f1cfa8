#pragma once

#include "fieldbook/PuntosEstacion.h"

#include <QString>
#include <QVector>

// Readings of one station typed elsewhere (a colleague's spreadsheet, another
// program) brought into the field book from a CSV file: every row is checked and
// reduced as a typed point would be, and the user sees every bad row before
// anything is written.
namespace corvela {

// The pending error of an import refused because its analysis was not acceptable.
constexpr int kErrorLecturasNoAceptables = 3400;

struct FilaErronea
{
    int Linea = 0;  // 1-based line of the file where the row starts
    QString Motivo; // in Spanish, every fault of the row
};

struct AnalisisLecturas
{
    QString ErrorFichero;          // the file as a whole cannot be used (missing, binary, no header, wrong columns...)
    QVector<Punto> Buenos;         // reduced points ready to insert, in file order
    QVector<FilaErronea> Erroneas; // each bad row with its line number and reason
    bool Windows1252 = false;      // the file was not UTF-8 and was read as Windows-1252
    bool Aceptable() const { return ErrorFichero.isEmpty() && Erroneas.isEmpty() && !Buenos.isEmpty(); }
};

// Reads and checks a readings file for one station without writing anything.
// The header row names the columns Punto, Reseña, Media, Superior, Inferior,
// Angulo H., A. Vert. and Notas in any order (case, accents and blanks around
// them do not count; other columns are ignored), separated by ";" or ",";
// numbers take a decimal comma or point.
AnalisisLecturas AnalizarLecturas(const QString& ruta, int codObra, int codEstacion);

// Inserts every good point in one transaction; all or nothing. False with the
// database error pending, also when the analysis is not acceptable.
bool ImportarLecturas(const AnalisisLecturas& analisis, int codObra, int codEstacion);

} // namespace corvela
