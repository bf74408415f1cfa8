#pragma once

#include <QString>

// Process-wide state shared by every window; written once at start-up, except the
// decimals, which follow the user's "Nº Decimales" setting.
namespace corvela {

extern QString CarpetaDatos;    // database, settings file, CAD script and template
extern QString CarpetaRecursos; // read-only bitmaps, splash picture, default template
extern QString FicheroIni;
extern QString IniGeneral;
extern QString IniLocal;
extern int NumDecimales;
extern QString FormatoDecimales;
extern QString FormatoDistancia;
extern QString SaltoDoble;

// Sets every value above as the program starts: the two folders, the settings
// file in the data folder (IniLocal stays empty), the fixed formats, and the
// decimals read from the settings. The program, the tests and the benchmarks all
// start through it.
void IniciarGlobales(const QString& carpetaDatos, const QString& carpetaRecursos);

// The folder of the read-only resources of a program whose executable is in
// carpetaPrograma: beside it in a build tree, the shared data folder in an
// installed copy; the executable's own folder when neither holds them.
QString BuscarCarpetaRecursos(const QString& carpetaPrograma);

// Full path of a file in the data folder or the resource folder.
QString RutaDatos(const QString& nombre);
QString RutaRecurso(const QString& nombre);

} // namespace corvela
