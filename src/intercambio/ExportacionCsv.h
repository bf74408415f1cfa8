#pragma once

#include <QChar>
#include <QString>

// A work's points as CSV files for other survey, CAD and GIS programs and for
// spreadsheets: UTF-8 with a header row, fields quoted only where they must be,
// CRLF line ends, numbers at the full precision they are stored with and a
// missing number as an empty field. A new file takes the old one's place only
// once it is complete.
namespace corvela {

class ProgresoScript;

// The two pairs a spreadsheet reads without asking: ";" with a decimal comma, or
// "," with a decimal point.
struct FormatoCsv
{
    QChar Separador = u';';
    QChar Decimal = u',';
};

enum class ResultadoCsv {
    Escrito,       // the file is in place
    Cancelado,     // the user stopped it; the previous file is untouched
    SinPuntos,     // the work has no points; nothing written
    FalloLectura,  // the points could not be read (error pending); nothing written
    FalloEscritura // the file could not be written (detalle says why); the previous file is untouched
};

// Point, northing, easting, elevation and description (PNEZD): the point is
// named "station-point" (e.g. 3-12), unique across the work; northing is Y
// (CC2), easting X (CC1), elevation Z (CC3). filas receives the points written.
ResultadoCsv ExportarPuntosCsv(int codObra, const FormatoCsv& formato, const QString& ruta, ProgresoScript* progreso,
                               qint64* filas = nullptr, QString* detalle = nullptr);

// The whole field book: one row per point with its station's fields and every
// stored column of the point, under the captions the program shows them with.
// Its point columns are those the readings import takes.
ResultadoCsv ExportarLibretaCsv(int codObra, const FormatoCsv& formato, const QString& ruta, ProgresoScript* progreso,
                                qint64* filas = nullptr, QString* detalle = nullptr);

} // namespace corvela
