#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace corvela {

// Start-up: fixes the shared number formats and settings paths, loads the
// decimals, shows the splash window and opens the database. False when the
// program must end (the user chose not to create the database, or it cannot be used).
bool Main(const QString& carpetaDatos, const QString& carpetaRecursos);

// Start-up without windows, for the exports and imports of the command line:
// the shared values, messages to the standard error, and the database, which is
// never created here. Runs orden on it and gives its exit code; 1 when the
// database cannot be opened.
int MainSinVentanas(const QString& carpetaDatos, const QString& carpetaRecursos, const std::function<int()>& orden);

// The data folder: the one given on the command line; else the program's own
// folder, when it already holds the database and can be written (a copy kept
// together with its data); else the user's data folder. Nothing is created
// here: the folder is made with the database, once the user agrees.
QString CarpetaDeDatos(const std::optional<QString>& indicada, const QString& carpetaPrograma,
                       const QString& carpetaUsuario);

// For checking an installed copy: once the works card shows, writes its title
// and the folders in use to the standard output and ends the program.
void TerminarAlMostrarFicha();

} // namespace corvela
