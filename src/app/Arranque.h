#pragma once

#include <QString>

namespace corvela {

// Start-up: fixes the shared number formats and settings paths, loads the
// decimals, shows the splash window and opens the database. False when the
// program must end (the user chose not to create the database, or it cannot be used).
bool Main(const QString& carpetaDatos, const QString& carpetaRecursos);

} // namespace corvela
