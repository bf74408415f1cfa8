#pragma once

#include <QString>
#include <QtGlobal>

namespace corvela {

class ProgresoScript;

// What a DXF export wrote.
struct ResumenDxf
{
    qint64 Puntos = 0;         // points drawn
    qint64 Estaciones = 0;     // stations drawn
    qint64 SinCoordenadas = 0; // points left out for lack of X or Y
};

enum class ResultadoDxf {
    Escrito,       // the drawing is in place
    Cancelado,     // the user stopped it; the previous file is untouched
    SinPuntos,     // the work has no points; nothing written
    FalloLectura,  // the points could not be read (error pending); nothing written
    FalloEscritura // the file could not be written; the previous file is untouched
};

// Writes the work's stations and points as a DXF R12 drawing to ruta (temporary file renamed into place
// only when complete, like the script; the old file untouched on failure or cancel). escala is the drawing
// scale the user gave ("Escala"), which sets the text height. progreso may be null; detalle gets the reason of
// a failure (write error text, or the pending database error).
ResultadoDxf EscribirDxfObra(int codObra, double escala, const QString& ruta, ProgresoScript* progreso,
                             ResumenDxf* resumen = nullptr, QString* detalle = nullptr);

} // namespace corvela
