#include "fieldbook/PuntosEstacion.h"

#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"
#include "records/LectorFilas.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace corvela {

namespace {

using esquema::ColumnasPunto;
using esquema::NombrePunto;

static_assert(esquema::kCc3 - esquema::kLectMed + 1 == kNumerosPunto);

const QString kTabla = esquema::Nombre(esquema::kPuntos);
const QString kDeLaEstacion = QStringLiteral(" WHERE CODOBRA=? AND CODEST=?");
// The point as it was loaded: a missing value was read as 0 or the empty text.
const QString kComoSeCargo = QStringLiteral(" AND CODPUNTO=? AND COALESCE(%1,'')=? AND %2 AND COALESCE(%3,'')=?")
                                 .arg(NombrePunto(esquema::kResena),
                                      ColumnasPunto(esquema::kLectMed, esquema::kCc3,
                                                    QStringLiteral("COALESCE(%1,0)=?"), QStringLiteral(" AND ")),
                                      NombrePunto(esquema::kObserv));
// The station's points in code order, every column of a point.
const QString kLectura =
    QStringLiteral("SELECT %1 FROM %2").arg(ColumnasPunto(esquema::kCodPunto, esquema::kObserv), kTabla) +
    kDeLaEstacion + QStringLiteral(" ORDER BY CODPUNTO");
// Every column of a point and its station.
const QString kInsercion =
    QStringLiteral("INSERT INTO %1(%2) VALUES (%3)")
        .arg(kTabla, ColumnasPunto(esquema::kCodPunto, esquema::kCodEst, QStringLiteral("%1"), QStringLiteral(",")),
             QStringList(esquema::kColumnasPunto, QStringLiteral("?")).join(u','));
// Every column of a point but its code.
const QString kCambio =
    QStringLiteral("UPDATE %1 SET %2")
        .arg(kTabla, ColumnasPunto(esquema::kResena, esquema::kObserv, QStringLiteral("%1=?"), QStringLiteral(",")));

// A statement on the points table, whose name stands for %1.
QString Sentencia(const char* plantilla)
{
    return QString::fromLatin1(plantilla).arg(kTabla);
}

// An empty text is stored as the empty text: a null string would bind as a missing value.
QVariant Texto(const QString& texto)
{
    return texto.isNull() ? QVariant(QStringLiteral("")) : QVariant(texto);
}

QVariantList Valores(const Punto& p)
{
    QVariantList v{Texto(p.Resena)};
    for (double numero : p.Numeros)
        v << numero;
    v << Texto(p.Notas);
    return v;
}

QVariantList ComoSeCargo(const Punto& cargado)
{
    return QVariantList{cargado.Codigo} + Valores(cargado);
}

// What the user is told when the point is no longer as it was loaded.
void FijarPuntoCambiado(const Punto& cargado, const QString& consecuencia)
{
    FijarError(kErrorRegistroCambiado,
               TextoRegistroCambiado(QStringLiteral("El PUNTO ") + QString::number(cargado.Codigo),
                                     QStringLiteral("se cargó la lista"),
                                     QStringLiteral("lo ha modificado, renumerado o borrado"), consecuencia));
}

// Prepares a statement that runs many times; the error is left pending when it cannot be.
std::optional<QSqlQuery> Preparar(const QString& sql)
{
    QSqlQuery q(BaseDatos());
    if (!q.prepare(sql)) {
        FijarError(q.lastError());
        return std::nullopt;
    }
    return q;
}

bool Ejecutar(QSqlQuery& q, const QVariantList& valores)
{
    for (int i = 0; i < valores.size(); ++i)
        q.bindValue(i, valores[i]);
    if (q.exec())
        return true;
    FijarError(q.lastError());
    return false;
}

} // namespace

std::optional<QVector<Punto>> PuntosEstacion::Leer() const
{
    QVector<Punto> puntos;
    const bool leido = LectorFilas::Recorrer(kLectura, {obra_, estacion_}, [&puntos](const FilaLeida& fila) {
        Punto p;
        p.Codigo = static_cast<int>(fila.Entero(esquema::kCodPunto));
        p.Resena = fila.Texto(esquema::kResena);
        for (int i = 0; i < kNumerosPunto; ++i)
            p.Numeros[i] = fila.Real(esquema::kLectMed + i);
        p.Notas = fila.Texto(esquema::kObserv);
        puntos.push_back(std::move(p));
    });
    if (!leido)
        return std::nullopt;
    return puntos;
}

std::optional<int> PuntosEstacion::SiguienteCodigo() const
{
    return MaximoValor(kTabla, QStringLiteral("CODPUNTO"), kDeLaEstacion, {obra_, estacion_});
}

bool PuntosEstacion::Insertar(const Punto& punto) const
{
    return EjecutarAccion(kInsercion, QVariantList{punto.Codigo} + Valores(punto) + QVariantList{obra_, estacion_});
}

bool PuntosEstacion::InsertarSiguiente(Punto& punto) const
{
    Transaccion transaccion;
    if (!transaccion.Iniciada())
        return false;
    const std::optional<int> codigo = SiguienteCodigo();
    if (!codigo)
        return false;
    Punto nuevo = punto;
    nuevo.Codigo = *codigo;
    if (!Insertar(nuevo) || !transaccion.Confirmar())
        return false;
    punto.Codigo = *codigo;
    return true;
}

bool PuntosEstacion::Actualizar(const Punto& punto, const Punto& cargado) const
{
    int filas = 0;
    if (!EjecutarAccion(kCambio + kDeLaEstacion + kComoSeCargo,
                        Valores(punto) + QVariantList{obra_, estacion_} + ComoSeCargo(cargado), &filas))
        return false;
    if (filas == 0) {
        FijarPuntoCambiado(cargado, QStringLiteral("No se ha grabado nada."));
        return false;
    }
    return true;
}

bool PuntosEstacion::Borrar(const Punto& cargado) const
{
    int filas = 0;
    if (!EjecutarAccion(Sentencia("DELETE FROM %1") + kDeLaEstacion + kComoSeCargo,
                        QVariantList{obra_, estacion_} + ComoSeCargo(cargado), &filas))
        return false;
    if (filas == 0) {
        FijarPuntoCambiado(cargado, QStringLiteral("No se ha borrado nada."));
        return false;
    }
    return true;
}

std::optional<QVector<qint64>> PuntosEstacion::Codigos() const
{
    QVector<qint64> codigos;
    if (!LectorFilas::Recorrer(
            Sentencia("SELECT CODPUNTO FROM %1") + kDeLaEstacion + QStringLiteral(" ORDER BY CODPUNTO"),
            {obra_, estacion_}, [&codigos](const FilaLeida& fila) { codigos.push_back(fila.Entero(0)); }))
        return std::nullopt;
    return codigos;
}

std::optional<QVector<qint64>> PuntosEstacion::Renumerar() const
{
    // Declared before the transaction, so that a server frees it only once the
    // transaction has ended: inside a failed one it could not.
    std::optional<QSqlQuery> cambio;
    Transaccion transaccion;
    if (!transaccion.Iniciada())
        return std::nullopt;
    const std::optional<QVector<qint64>> antes = Codigos();
    if (!antes)
        return std::nullopt;
    QVector<qint64> codigos = *antes;
    if (codigos.isEmpty())
        return transaccion.Confirmar() ? antes : std::nullopt;

    // Codes below 1 are first moved above every code in use, so that the
    // ascending pass below never meets a code it still has to free.
    if (codigos.front() < 1) {
        const qint64 desplazamiento = std::max(codigos.back() - codigos.front() + 1, 1 - codigos.front());
        if (!EjecutarAccion(Sentencia("UPDATE %1 SET CODPUNTO=CODPUNTO+?") + kDeLaEstacion,
                            {desplazamiento, obra_, estacion_}))
            return std::nullopt;
        for (qint64& c : codigos)
            c += desplazamiento;
    }
    // With distinct codes from 1 up, the k-th code is k or more, and every code
    // below it is already in its place: k is free when its turn comes.
    cambio = Preparar(Sentencia("UPDATE %1 SET CODPUNTO=?") + kDeLaEstacion + QStringLiteral(" AND CODPUNTO=?"));
    if (!cambio)
        return std::nullopt;
    for (qint64 k = 1; k <= codigos.size(); ++k) {
        const qint64 actual = codigos[k - 1];
        if (actual != k && !Ejecutar(*cambio, {k, obra_, estacion_, actual}))
            return std::nullopt;
    }
    return transaccion.Confirmar() ? antes : std::nullopt;
}

std::optional<QVector<qint64>> PuntosEstacion::AbrirLinea(const Punto& cargado) const
{
    std::optional<QSqlQuery> sigue; // freed after the transaction, as in Renumerar
    Transaccion transaccion;
    if (!transaccion.Iniciada())
        return std::nullopt;
    // The highest code to move up; none when the point is no longer as it was loaded.
    sigue = AbrirLectura(Sentencia("SELECT MAX(CODPUNTO) FROM %1") + kDeLaEstacion +
                             Sentencia(" AND CODPUNTO>=? AND EXISTS (SELECT 1 FROM %1") + kDeLaEstacion + kComoSeCargo +
                             u')',
                         QVariantList{obra_, estacion_, cargado.Codigo, obra_, estacion_} + ComoSeCargo(cargado));
    if (!sigue)
        return std::nullopt;
    const QVariant mayor = sigue->next() ? sigue->value(0) : QVariant();
    sigue->finish();
    if (mayor.isNull()) {
        FijarPuntoCambiado(cargado, QStringLiteral("No se ha insertado ninguna línea."));
        return std::nullopt;
    }
    const std::optional<QVector<qint64>> antes = Codigos();
    if (!antes)
        return std::nullopt;
    // Two steps, as the key is checked row by row: first clear of every code
    // in use, then back down to one above where each point was.
    const int codigo = cargado.Codigo;
    const qint64 salto = mayor.toLongLong() - codigo + 2;
    const QString condicion = kDeLaEstacion + QStringLiteral(" AND CODPUNTO>=?");
    if (!EjecutarAccion(Sentencia("UPDATE %1 SET CODPUNTO=CODPUNTO+?") + condicion,
                        {salto, obra_, estacion_, codigo}) ||
        !EjecutarAccion(Sentencia("UPDATE %1 SET CODPUNTO=CODPUNTO-?") + condicion,
                        {salto - 1, obra_, estacion_, codigo + salto}))
        return std::nullopt;
    Punto blanco;
    blanco.Codigo = codigo;
    if (!Insertar(blanco) || !transaccion.Confirmar())
        return std::nullopt;
    return antes;
}

} // namespace corvela
