#pragma once

#include "cad/EscritorScript.h"
#include "cad/PlantillaScript.h"

#include <QString>

namespace corvela {

class ProgresoScript;

// Drawing limits of a work's points, as they go into the script (decimal point,
// all digits). False when the work has no points or the query fails (the error
// is then pending); puntos receives the number of points.
bool LimitesObra(int codObra, QString& maxX, QString& minX, QString& maxY, QString& minY, qint64* puntos = nullptr);

enum class ResultadoScript {
    Escrito,       // the script is in place
    Cancelado,     // the user stopped it; the previous script is untouched
    SinPuntos,     // the work has no points; nothing written
    FalloLectura,  // the points could not be read (error pending); nothing written
    FalloEscritura // the file could not be written; the previous script is untouched
};

// Writes the script of a work's points, in the order of station and point, to
// ruta. The new script replaces the old one only once it is complete. total is
// the number of points expected, for the progress report (progreso may be null);
// detalle receives the reason of a write failure.
ResultadoScript EscribirScriptObra(int codObra, const PlantillaScript& plantilla, const DatosDibujo& datos,
                                   const QString& ruta, qint64 total, ProgresoScript* progreso,
                                   QString* detalle = nullptr);

} // namespace corvela
