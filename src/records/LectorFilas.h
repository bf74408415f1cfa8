#pragma once

#include <QString>
#include <QVariantList>
#include <functional>

class QSqlQuery;
struct sqlite3;
struct sqlite3_stmt;

namespace corvela {

// The row a read is standing on. Values read as they would through a QVariant
// from Qt SQL: a missing number as 0, a missing text as empty, a number asked
// for as text in its shortest form.
class FilaLeida
{
public:
    bool EsNulo(int columna) const;
    qint64 Entero(int columna) const;
    double Real(int columna) const;
    QString Texto(int columna) const;
    // The value as Qt SQL's SQLite driver gives it, for values of no fixed type.
    QVariant Valor(int columna) const;

private:
    friend class LectorFilas;
    explicit FilaLeida(sqlite3_stmt* sentencia) : sentencia_(sentencia) {}
    explicit FilaLeida(const QSqlQuery* consulta) : consulta_(consulta) {}

    sqlite3_stmt* sentencia_ = nullptr;
    const QSqlQuery* consulta_ = nullptr;
};

// Reads the rows of a statement with its bound values on the program's
// connection, one at a time. On SQLite it steps the statement straight through
// the engine, without Qt SQL's copy of every value; on any other engine it reads
// forward through Qt SQL.
class LectorFilas
{
public:
    using CadaFila = std::function<void(const FilaLeida&)>;
    using CadaFilaMientras = std::function<bool(const FilaLeida&)>;

    // Calls cadaFila for each row in order. On failure the database error is
    // pending and the result is false; the rows already given stay given.
    static bool Recorrer(const QString& sql, const QVariantList& valores, const CadaFila& cadaFila);
    // The same, stopping at once, and true, when cadaFila answers false.
    static bool RecorrerMientras(const QString& sql, const QVariantList& valores, const CadaFilaMientras& cadaFila);

private:
    static bool RecorrerSqlite(sqlite3* conexion, const QString& sql, const QVariantList& valores,
                               const CadaFilaMientras& cadaFila);
    static bool RecorrerQt(const QString& sql, const QVariantList& valores, const CadaFilaMientras& cadaFila);
};

} // namespace corvela
