#pragma once

#include <QString>
#include <QVector>
#include <array>
#include <optional>

// The points of one station in B_PUNTOS. Every operation either completes or
// leaves the table as it was, with the database error pending (ErrorPendiente).
// Operations on a point the caller loaded earlier take it as it was loaded and
// touch it only while the table still holds it so: when another instance has
// changed, renumbered or deleted it, nothing is done and the pending error is
// kErrorRegistroCambiado.
namespace corvela {

// Numeric columns of a point, in the order of the field book's columns.
enum ColumnaPunto {
    kLecturaMedia,
    kLecturaSuperior,
    kLecturaInferior,
    kAnguloHorizontal,
    kAnguloVertical,
    kDistancia,
    kCoordenadaX,
    kCoordenadaY,
    kCoordenadaZ,
    kNumerosPunto
};

struct Punto
{
    int Codigo = 0;
    QString Resena;
    std::array<double, kNumerosPunto> Numeros{};
    QString Notas;
};

} // namespace corvela

// A large station is read into one vector, which then grows by moving its memory.
Q_DECLARE_TYPEINFO(corvela::Punto, Q_RELOCATABLE_TYPE);

namespace corvela {

class PuntosEstacion
{
public:
    PuntosEstacion(int obra, int estacion) : obra_(obra), estacion_(estacion) {}

    // The station's points in code order; a missing number reads as 0, a missing text as empty.
    std::optional<QVector<Punto>> Leer() const;
    // One more than the station's highest code, 1 for a station without points.
    std::optional<int> SiguienteCodigo() const;
    bool Insertar(const Punto& punto) const;
    // Inserts the point with the station's next code, which it receives: the code
    // is taken and used in one step, so two instances adding points never clash.
    bool InsertarSiguiente(Punto& punto) const;
    // Rewrites the point cargado with punto's texts and numbers.
    bool Actualizar(const Punto& punto, const Punto& cargado) const;
    bool Borrar(const Punto& cargado) const;
    // Codes 1 to n in the same order; gaps close. Gives the codes the station
    // held before, in order, so that a loaded list can follow without reading
    // the points again.
    std::optional<QVector<qint64>> Renumerar() const;
    // Moves the point cargado and every later one up by one and puts a blank
    // point (empty texts, every number 0) in the freed code. Gives the codes
    // the station held before, in order.
    std::optional<QVector<qint64>> AbrirLinea(const Punto& cargado) const;

private:
    // The station's codes in order, read within the caller's transaction.
    std::optional<QVector<qint64>> Codigos() const;

    int obra_;
    int estacion_;
};

} // namespace corvela
