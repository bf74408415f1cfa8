#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

namespace corvela::pruebas {

// A fresh data folder with a new database and the program's globals set as at
// start-up (Spanish locale unless told otherwise). The database is closed again
// when the environment goes.
class EntornoPrueba
{
public:
    explicit EntornoPrueba(const QString& locale = QStringLiteral("es_ES"), bool conBaseDatos = true);
    ~EntornoPrueba();

    QString Carpeta() const { return carpeta_.path(); }
    QString Ruta(const QString& nombre) const;

private:
    QTemporaryDir carpeta_;
};

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
