#pragma once

#include "records/DestinoDatos.h"

#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

namespace corvela::pruebas {

// Whether the tests run on a PostgreSQL server (CORVELA_PRUEBAS_MOTOR=postgresql,
// the server named by the PG* variables) rather than on SQLite files.
bool EnServidor();

// A fresh data folder with a new database and the program's globals set as at
// start-up (Spanish locale unless told otherwise). On a server the database is
// a new one of its own, dropped again when the environment goes; the SQLite
// file is closed then.
class EntornoPrueba
{
public:
    explicit EntornoPrueba(const QString& locale = QStringLiteral("es_ES"), bool conBaseDatos = true);
    ~EntornoPrueba();

    QString Carpeta() const { return carpeta_.path(); }
    QString Ruta(const QString& nombre) const;
    // The test's database, for opening it again or from another process: the
    // file Corvelax.db of the folder, or the server's database of this environment.
    DestinoDatos Destino() const;
    // The same as the command line's --base-datos takes it: a path or a postgresql:// address.
    QString TextoDestino() const;

private:
    QTemporaryDir carpeta_;
    QString baseServidor_;
};

// Runs the rest of a test function only on SQLite: for what concerns the file itself.
#define CORVELA_SOLO_SQLITE()                                                                                          \
    if (corvela::pruebas::EnServidor())                                                                                \
    QSKIP("trata del fichero de SQLite")

// A random generator for one test, seeded from CORVELA_SEMILLA when it is set and
// from a fixed seed otherwise; it prints the seed, so that a failure can be replayed.
QRandomGenerator AzarSembrado();

// Inserts a work with its code and client's name; fails the running test when refused.
void InsertarObra(int codigo, const QString& propietario);
// Inserts a station of a work, the work too when missing; fails the running test when refused.
void InsertarEstacion(int obra, int estacion);
// The first value of a query on the program's connection; invalid when it finds no row.
QVariant Consultar(const QString& sql, const QVariantList& valores = {});

} // namespace corvela::pruebas
