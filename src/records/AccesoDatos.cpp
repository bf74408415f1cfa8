#include "records/AccesoDatos.h"

#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QSqlError>
#include <limits>
#include <vector>

namespace corvela {

namespace {

// Transactions of this process now open; a write outside them takes the lock itself.
int& Abiertas()
{
    static int abiertas = 0;
    return abiertas;
}

// Statements that failed inside a server's transaction. The server cannot free
// them until the transaction ends, so they are kept until then: freed at once
// they would stay on the server for the life of the connection.
std::vector<QSqlQuery>& Fallidas()
{
    static std::vector<QSqlQuery> fallidas;
    return fallidas;
}

std::nullopt_t Fallida(QSqlQuery& q)
{
    FijarError(q.lastError());
    if (Abiertas() > 0 && MotorDe(BaseDatos()) == Motor::PostgreSql)
        Fallidas().push_back(std::move(q));
    return std::nullopt;
}

std::optional<QSqlQuery> PrepararUnaVez(const QString& sql, const QVariantList& valores)
{
    QSqlQuery q(BaseDatos());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        return Fallida(q);
    for (const QVariant& v : valores)
        q.addBindValue(v);
    if (!q.exec())
        return Fallida(q);
    return q;
}

std::optional<QSqlQuery> Preparar(const QString& sql, const QVariantList& valores)
{
    auto q = PrepararUnaVez(sql, valores);
    if (!q && ReabrirSiPerdida())
        q = PrepararUnaVez(sql, valores);
    return q;
}

// The engine-specific pieces: SQLite takes its one write lock with BEGIN
// IMMEDIATE and keeps the wait for a busy database as a setting of the
// connection; on a server the writers of the program take one advisory lock,
// so that they follow one another as on SQLite, and the wait is lock_timeout.
bool EsSqlite(const QSqlDatabase& db)
{
    return MotorDe(db) == Motor::Sqlite;
}

// Any number unique to this program: the key of its writers' lock on a server.
constexpr qint64 kBloqueoEscritura = 0x436f7276656c61; // "Corvela"

// No error (an invalid one) when the transaction has started.
// A server's transaction reads what every writer before it committed only
// under read committed, whatever default the server's administrator chose:
// under a stricter one its snapshot would predate the lock.
bool EmpezarEnServidor(QSqlDatabase& db)
{
    return db.transaction() && QSqlQuery(db).exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED"));
}

void Deshacer(QSqlDatabase& db)
{
    if (db.isOpen())
        db.rollback();
}

QSqlError IniciarEscritura(QSqlDatabase& db)
{
    if (EsSqlite(db)) {
        QSqlQuery q(db);
        return q.exec(QStringLiteral("BEGIN IMMEDIATE")) ? QSqlError() : q.lastError();
    }
    // A connection the server dropped shows only when it is used: its first
    // statement fails without any SQLSTATE.
    if (!db.isOpen())
        ReabrirSiPerdida();
    if (!EmpezarEnServidor(db)) {
        const QSqlError error = db.lastError();
        Deshacer(db);
        if (!error.nativeErrorCode().isEmpty() || Abiertas() > 0)
            return error;
        db.close();
        if (!ReabrirSiPerdida() || !EmpezarEnServidor(db)) {
            Deshacer(db);
            return db.lastError().isValid() ? db.lastError() : error;
        }
    }
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kBloqueoEscritura)))
        return QSqlError();
    const QSqlError error = q.lastError();
    db.rollback();
    return error;
}

QString OrdenEspera(const QSqlDatabase& db)
{
    return EsSqlite(db) ? QStringLiteral("PRAGMA busy_timeout") : QStringLiteral("SHOW lock_timeout");
}

std::optional<QString> EsperaActual(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(OrdenEspera(db)) || !q.next())
        return std::nullopt;
    return q.value(0).toString();
}

void FijarEspera(const QSqlDatabase& db, const QString& espera)
{
    QSqlQuery q(db);
    if (EsSqlite(db)) {
        q.exec(OrdenEspera(db) + QStringLiteral(" = ") + QString::number(espera.toInt()));
        return;
    }
    q.prepare(QStringLiteral("SELECT set_config('lock_timeout', ?, false)"));
    q.addBindValue(espera);
    q.exec();
}

} // namespace

bool ReabrirSiPerdida()
{
    QSqlDatabase db = BaseDatos();
    if (EsSqlite(db) || db.isOpen() || Abiertas() > 0)
        return false;
    if (db.open())
        return true;
    // The server is still out of reach: the user reads why.
    FijarError(db.lastError());
    return false;
}

bool EjecutarAccion(const QString& sql, const QVariantList& valores, int* filas)
{
    if (Abiertas() == 0 && !EsSqlite(BaseDatos())) {
        Transaccion propia;
        return propia.Iniciada() && EjecutarAccion(sql, valores, filas) && propia.Confirmar();
    }
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
    else
        ++Abiertas();
}

Transaccion::~Transaccion()
{
    if (!iniciada_)
        return;
    BaseDatos().rollback();
    --Abiertas();
    Fallidas().clear();
}

bool Transaccion::Confirmar()
{
    if (!iniciada_)
        return false;
    QSqlDatabase db = BaseDatos();
    iniciada_ = false;
    --Abiertas();
    const bool confirmada = db.commit();
    if (!confirmada) {
        FijarError(db.lastError());
        db.rollback();
    }
    Fallidas().clear();
    return confirmada;
}

EsperaLimitada::EsperaLimitada(int milisegundos) : anterior_(EsperaActual(BaseDatos()))
{
    if (anterior_)
        FijarEspera(BaseDatos(), QString::number(milisegundos));
}

EsperaLimitada::~EsperaLimitada()
{
    if (anterior_)
        FijarEspera(BaseDatos(), *anterior_);
}

} // namespace corvela
