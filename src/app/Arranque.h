#pragma once

#include "records/DestinoDatos.h"

#include <QString>
#include <functional>
#include <optional>

namespace corvela {

// Start-up: fixes the shared number formats and settings paths, loads the
// decimals, shows the splash window and opens the database: the one indicada
// on the command line, else the settings' one (the data folder's Corvelax.db
// unless they name a server). False when the program must end (the user chose
// not to create the database, or it cannot be used).
bool Main(const QString& carpetaDatos, const QString& carpetaRecursos,
          const std::optional<DestinoDatos>& indicada = std::nullopt);

// Start-up without windows, for the exports and imports of the command line:
// the shared values, messages to the standard error, and the database chosen as
// by Main, which is never created here, nor given its tables on a server. Runs
// orden on it and gives its exit code; 1 when the database cannot be opened.
int MainSinVentanas(const QString& carpetaDatos, const QString& carpetaRecursos,
                    const std::optional<DestinoDatos>& indicada, const std::function<int()>& orden);

// Without windows too: copies the data folder's Corvelax.db into the server's
// database (the one indicada, else the settings' one), which is given the
// program's tables when it has none and must hold no work. Says what it copied
// on the standard output and gives 0; 1 with the reason on the standard error.
int CopiarAlServidor(const QString& carpetaDatos, const QString& carpetaRecursos,
                     const std::optional<DestinoDatos>& indicada);

// The data folder: the one given on the command line; else the program's own
// folder, when it already holds the database and can be written (a copy kept
// together with its data); else the user's data folder. Nothing is created
// here: the folder is made with the database, once the user agrees.
QString CarpetaDeDatos(const std::optional<QString>& indicada, const QString& carpetaPrograma,
                       const QString& carpetaUsuario);

// For checking an installed copy: once the works card shows, writes its title,
// the folders and the database in use to the standard output and ends the program.
void TerminarAlMostrarFicha();

} // namespace corvela
