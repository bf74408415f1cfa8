#pragma once

#include <QString>
#include <optional>

namespace corvela {

struct CopiaHecha
{
    qint64 obras = 0;
    qint64 estaciones = 0;
    qint64 puntos = 0;
};

// Copies every work, station and point of the SQLite file origen into the open
// database of the program, with their codes, in one transaction. Refused when
// that database already holds works. Empty, with motivo, when nothing was copied.
std::optional<CopiaHecha> CopiarBaseLocal(const QString& origen, QString& motivo);

} // namespace corvela
