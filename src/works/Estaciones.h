#pragma once

#include <QString>
#include <QVariant>
#include <QVector>
#include <array>
#include <optional>

// The stations of a work as the table holds them, and the statements that read
// and write them. Every value is bound; numbers are stored as numbers.
namespace corvela {

struct Estacion
{
    enum Valor { Altura, X, Y, Z };

    int CodObra = 0;
    int CodEst = 0;
    QString Descripcion;
    QString Fecha;
    // A missing number is a null value, shown empty and read as 0.
    std::array<QVariant, 4> Valores;

    double Numero(Valor v) const { return Valores[v].toDouble(); }
};

// The stations of one work in the table's order; empty optional when the read fails (error pending).
std::optional<QVector<Estacion>> LeerEstaciones(int codObra);

// Inserts the station with the next code of its work, which it receives.
bool InsertarEstacion(Estacion& estacion);

// Rewrites the station cargada, as it was loaded, with the description, date and
// numbers of estacion. A station that another instance has changed or deleted
// since is left alone: a failure with kErrorRegistroCambiado pending.
bool ActualizarEstacion(const Estacion& estacion, const Estacion& cargada);

enum class Borrado { Borrada, TienePuntos, Fallida };
// Deletes the station cargada, as it was loaded, when it has no points.
Borrado BorrarEstacion(const Estacion& cargada);

} // namespace corvela
