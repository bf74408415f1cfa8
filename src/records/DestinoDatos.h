#pragma once

#include <QString>
#include <optional>

namespace corvela {

enum class Motor { Sqlite, PostgreSql };

// Where the program's database is: its SQLite file, or a PostgreSQL server
// shared by an office. Blank server fields are left to libpq, which then takes
// the PGHOST, PGPORT, PGUSER and PGDATABASE variables or its own defaults. No
// password is ever kept here: libpq finds it (~/.pgpass, PGPASSWORD) or the user
// is asked for it, and it stays in memory.
struct DestinoDatos
{
    Motor motor = Motor::Sqlite;
    QString ruta;
    QString servidor;
    int puerto = 0;
    QString base;
    QString usuario;

    // What the user is shown: the file, or "PostgreSQL usuario@servidor:puerto/base",
    // blanks filled as libpq fills them.
    QString Descripcion() const;
    // The user libpq connects as.
    QString Usuario() const;
};

// The database named in the settings (section PARAMETROS: MotorBD, ServidorBD,
// PuertoBD, BaseBD, UsuarioBD); the SQLite file rutaLocal unless the engine is PostgreSQL.
DestinoDatos DestinoSegunParametros(const QString& rutaLocal);

// The database named on the command line: "sqlite" (the file rutaLocal) or
// "postgresql://[usuario@][servidor][:puerto][/base]". Empty, with motivo, when
// the text names neither.
std::optional<DestinoDatos> DestinoSegunTexto(const QString& texto, const QString& rutaLocal, QString& motivo);

} // namespace corvela
