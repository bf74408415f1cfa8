#include "records/AccesoDatos.h"

#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QSqlError>
#include <limits>

namespace corvela {

namespace {

std::optional<QSqlQuery> Preparar(const QString& sql, const QVariantList& valores)
{
    QSqlQuery q(BaseDatos());
    q.setForwardOnly(true);
    if (!q.prepare(sql)) {
        FijarError(q.lastError());
        return std::nullopt;
    }
    for (const QVariant& v : valores)
        q.addBindValue(v);
    if (!q.exec()) {
        FijarError(q.lastError());
        return std::nullopt;
    }
    return q;
}

// The engine-specific pieces: SQLite starts a transaction without any lock and
// keeps the wait for a busy database as a setting of the connection.
bool EsSqlite(const QSqlDatabase& db)
{
    return db.driverName() == QLatin1String("QSQLITE");
}

// No error (an invalid one) when the transaction has started.
QSqlError IniciarEscritura(QSqlDatabase& db)
{
    if (!EsSqlite(db))
        return db.transaction() ? QSqlError() : db.lastError();
    QSqlQuery q(db);
    return q.exec(QStringLiteral("BEGIN IMMEDIATE")) ? QSqlError() : q.lastError();
}

std::optional<int> EsperaActual(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!EsSqlite(db) || !q.exec(QStringLiteral("PRAGMA busy_timeout")) || !q.next())
        return std::nullopt;
    return q.value(0).toInt();
}

void FijarEspera(const QSqlDatabase& db, int milisegundos)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA busy_timeout = ") + QString::number(milisegundos));
}

} // namespace

bool EjecutarAccion(const QString& sql, const QVariantList& valores, int* filas)
{
    auto q = Preparar(sql, valores);
    if (filas)
        *filas = q ? q->numRowsAffected() : 0;
    return q.has_value();
}

std::optional<QSqlQuery> AbrirLectura(const QString& sql, const QVariantList& valores)
{
    return Preparar(sql, valores);
}

std::optional<int> MaximoValor(const QString& tabla, const QString& campo, const QString& condicion,
                               const QVariantList& valores)
{
    auto q = Preparar(QStringLiteral("SELECT MAX(%1) FROM %2%3").arg(campo, tabla, condicion), valores);
    if (!q)
        return std::nullopt;
    if (!q->next() || q->value(0).isNull())
        return 1;
    const qlonglong maximo = q->value(0).toLongLong();
    if (maximo >= std::numeric_limits<int>::max()) {
        FijarError(kErrorDesbordamiento, QStringLiteral("Desbordamiento: no quedan códigos libres para ") + campo +
                                             QStringLiteral(" en ") + tabla + u'.');
        return std::nullopt;
    }
    return static_cast<int>(maximo) + 1;
}

Transaccion::Transaccion()
{
    QSqlDatabase db = BaseDatos();
    const QSqlError error = IniciarEscritura(db);
    iniciada_ = !error.isValid();
    if (!iniciada_)
        FijarError(error);
}

Transaccion::~Transaccion()
{
    if (iniciada_)
        BaseDatos().rollback();
}

bool Transaccion::Confirmar()
{
    if (!iniciada_)
        return false;
    QSqlDatabase db = BaseDatos();
    iniciada_ = false;
    if (db.commit())
        return true;
    FijarError(db.lastError());
    db.rollback();
    return false;
}

EsperaLimitada::EsperaLimitada(int milisegundos) : anterior_(EsperaActual(BaseDatos()))
{
    if (anterior_)
        FijarEspera(BaseDatos(), milisegundos);
}

EsperaLimitada::~EsperaLimitada()
{
    if (anterior_)
        FijarEspera(BaseDatos(), *anterior_);
}

} // namespace corvela
