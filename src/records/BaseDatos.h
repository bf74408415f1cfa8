#pragma once

#include "records/DestinoDatos.h"

#include <QHash>
#include <QMetaType>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace corvela {

// The one connection to the program's database, open for the life of the process.
QSqlDatabase BaseDatos();

// Checks that another connection, db, holds the program's tables with every
// column they need; then the program's columns of each table, in the order its
// schema gives them. Empty, with motivo, when a table or a column is missing or
// db cannot be read. Only reads.
std::optional<QHash<QString, QStringList>> TablasDelPrograma(QSqlDatabase db, QString& motivo);

enum class Apertura {
    Abierta,       // the database is open
    NoCreada,      // the file did not exist and the user chose not to create it
    FalloCreacion, // a new database could not be made; nothing of it was left behind
    Rechazada      // not a usable database of this program, or out of reach; it was not touched
};

// Opens the database file; when it does not exist, asks whether to create a new
// empty one, with its folder. An existing file is checked whole (the tables with
// every column, the files SQLite keeps beside it) before anything is written to
// it. Every failure is explained to the user.
Apertura AbrirBaseDatos(const QString& ruta);
// The same for either engine. On a PostgreSQL server a database without any
// table is offered the program's tables (made at once with crearSinPreguntar);
// one that holds other tables is refused. The password, when libpq finds none,
// is asked through the dialogs and kept only by the connection.
Apertura AbrirBaseDatos(const DestinoDatos& destino, bool crearSinPreguntar = false);
void CerrarBaseDatos();

// The engine of the open database, and what it is as the user is shown it.
Motor MotorActual();
Motor MotorDe(const QSqlDatabase& db);
QString DescripcionBaseDatos();

// An SQL expression that gives the text of expresion (a column, or ? for a bound
// value) folded to one case for every letter, so that comparing two folded texts
// ignores case (Ñ and ñ, Á and á) while accents still count.
QString TextoPlegado(const QString& expresion);

// Declared size of a column of the program's tables (characters of a text
// column, bytes of a number) and its value type; names matched without regard to case.
int LongitudColumna(const QString& columna);
QMetaType::Type TipoColumna(const QString& columna);

} // namespace corvela
