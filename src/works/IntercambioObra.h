#pragma once

// The exchange of a work with other programs, from the stations' pop-up menu of
// the works card: drawings and point files out, readings in. Each tells the user
// what was written or imported where, or why nothing was.
namespace corvela {

// "Exportar DXF de la Obra...": asks for the scale and the file.
void ExportarDxfObra(int obra);

// "Exportar CSV de Puntos..." (libretaCompleta false) and "Exportar CSV de la
// Libreta..." (true): asks for the separator and the file.
void ExportarCsvObra(int obra, bool libretaCompleta);

// "Importar Lecturas...": a readings file into the station, all its rows or none.
// True when readings were imported.
bool ImportarLecturasEstacion(int obra, int estacion);

} // namespace corvela
