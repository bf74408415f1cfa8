#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <optional>

namespace corvela {

constexpr int kErrorDesbordamiento = 6;

// Runs an action statement with its bound values. On failure nothing changes,
// the database error is left pending and the result is false. filas receives the
// number of rows the statement changed. On a server, a statement outside any
// Transaccion runs in one of its own.
bool EjecutarAccion(const QString& sql, const QVariantList& valores = {}, int* filas = nullptr);

// A forward-only read for callers that stream large results; on failure the
// error is pending and the result is empty.
std::optional<QSqlQuery> AbrirLectura(const QString& sql, const QVariantList& valores = {});

// The next key of a table: the highest value of campo plus one, 1 when no row
// matches. condicion is appended as written (e.g. " WHERE CODOBRA=?") and takes
// the bound values. Empty when the query fails or the highest value is already
// the largest code (error kErrorDesbordamiento); the error is pending.
std::optional<int> MaximoValor(const QString& tabla, const QString& campo, const QString& condicion = {},
                               const QVariantList& valores = {});

// A server connection that was lost (the server restarted, the network
// dropped it while the program stood idle) is made again, with the password
// it had, when no transaction was open on it: that transaction is gone, and its
// work with it. True when it was lost and is open again; the statement that
// failed may then run once more. When the server is still out of reach, the
// pending error says why.
bool ReabrirSiPerdida();

// A writing transaction on the program's connection, rolled back unless
// confirmed. It takes the database's write lock (on a server, the lock all the
// program's writers take) when it starts (waiting for
// another writer as any statement does), so that what it reads stays true until
// it writes: a transaction that took the lock only at its first write could find
// another instance's write in between and fail at once.
class Transaccion
{
public:
    Transaccion();
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;

    bool Iniciada() const { return iniciada_; }
    // Commits; false (with the error pending) when the commit fails.
    bool Confirmar();

private:
    bool iniciada_ = false;
};

// While it lives, a statement waits at most this long for a database that
// another instance is writing, instead of the connection's usual wait.
class EsperaLimitada
{
public:
    explicit EsperaLimitada(int milisegundos);
    ~EsperaLimitada();
    EsperaLimitada(const EsperaLimitada&) = delete;
    EsperaLimitada& operator=(const EsperaLimitada&) = delete;

private:
    std::optional<QString> anterior_;
};

} // namespace corvela
