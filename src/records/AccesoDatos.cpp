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

}  // namespace

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
        FijarError(kErrorDesbordamiento, QStringLiteral("Desbordamiento: no quedan códigos libres para ") + campo
                                             + QStringLiteral(" en ") + tabla + u'.');
        return std::nullopt;
    }
    return static_cast<int>(maximo) + 1;
}

Transaccion::Transaccion()
{
    QSqlDatabase db = BaseDatos();
    iniciada_ = db.transaction();
    if (!iniciada_)
        FijarError(db.lastError());
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

}  // namespace corvela
