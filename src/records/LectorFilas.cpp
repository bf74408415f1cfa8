#include "records/LectorFilas.h"

#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <memory>
#include <sqlite3.h>

namespace corvela {

namespace {

struct Finalizar
{
    void operator()(sqlite3_stmt* sentencia) const { sqlite3_finalize(sentencia); }
};
using Sentencia = std::unique_ptr<sqlite3_stmt, Finalizar>;

// The engine under Qt's SQLite driver, when the program's connection runs on it.
sqlite3* ConexionSqlite()
{
    const QSqlDatabase db = BaseDatos();
    if (db.driverName() != QLatin1String("QSQLITE") || !db.driver())
        return nullptr;
    const QVariant manejador = db.driver()->handle();
    if (qstrcmp(manejador.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(manejador.constData());
}

// The error as Qt SQL would report it, so that the user reads the same words.
void FijarErrorSqlite(sqlite3* conexion, int codigo)
{
    FijarError(QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to execute statement"),
                         QString::fromUtf8(sqlite3_errmsg(conexion)), QSqlError::StatementError,
                         QString::number(codigo)));
}

// A value Qt's driver binds as NULL: a null variant, or a null text, bytes or date inside one.
bool NuloParaSql(const QVariant& valor)
{
    if (valor.isNull())
        return true;
    switch (valor.typeId()) {
    case QMetaType::QString:
        return valor.toString().isNull();
    case QMetaType::QByteArray:
        return valor.toByteArray().isNull();
    case QMetaType::QDate:
        return valor.toDate().isNull();
    case QMetaType::QTime:
        return valor.toTime().isNull();
    case QMetaType::QDateTime:
        return valor.toDateTime().isNull();
    default:
        return false;
    }
}

// Bound as Qt's SQLite driver binds it, so both paths find the same rows.
int Vincular(sqlite3_stmt* s, int posicion, const QVariant& valor)
{
    if (NuloParaSql(valor))
        return sqlite3_bind_null(s, posicion);
    switch (valor.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(s, posicion, valor.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(s, posicion, valor.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = valor.toByteArray();
        return sqlite3_bind_blob64(s, posicion, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                                   SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray texto = valor.toString().toUtf8();
        return sqlite3_bind_text64(s, posicion, texto.constData(), static_cast<sqlite3_uint64>(texto.size()),
                                   SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
}

} // namespace

QVariant FilaLeida::Valor(int columna) const
{
    if (consulta_)
        return consulta_->value(columna);
    switch (sqlite3_column_type(sentencia_, columna)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(sentencia_, columna)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(sentencia_, columna));
    case SQLITE_TEXT:
        return QVariant(Texto(columna));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(sentencia_, columna)),
                                   sqlite3_column_bytes(sentencia_, columna)));
    default:
        return QVariant();
    }
}

bool FilaLeida::EsNulo(int columna) const
{
    if (consulta_)
        return consulta_->isNull(columna);
    return sqlite3_column_type(sentencia_, columna) == SQLITE_NULL;
}

qint64 FilaLeida::Entero(int columna) const
{
    if (!consulta_ && sqlite3_column_type(sentencia_, columna) == SQLITE_INTEGER)
        return sqlite3_column_int64(sentencia_, columna);
    return Valor(columna).toLongLong();
}

double FilaLeida::Real(int columna) const
{
    if (!consulta_) {
        const int tipo = sqlite3_column_type(sentencia_, columna);
        if (tipo == SQLITE_FLOAT || tipo == SQLITE_INTEGER || tipo == SQLITE_NULL)
            return tipo == SQLITE_INTEGER ? static_cast<double>(sqlite3_column_int64(sentencia_, columna))
                                          : sqlite3_column_double(sentencia_, columna);
    }
    return Valor(columna).toDouble();
}

QString FilaLeida::Texto(int columna) const
{
    if (!consulta_ && sqlite3_column_type(sentencia_, columna) == SQLITE_TEXT) {
        // Converted by the engine, as Qt's driver has it done: bytes that are not
        // UTF-8 then read the same on both paths.
        const auto* texto = static_cast<const QChar*>(sqlite3_column_text16(sentencia_, columna));
        return QString(texto, sqlite3_column_bytes16(sentencia_, columna) / static_cast<int>(sizeof(QChar)));
    }
    // A server's driver gives a missing number as a null number, whose text would be "0".
    if (EsNulo(columna))
        return QString();
    return Valor(columna).toString();
}

bool LectorFilas::Recorrer(const QString& sql, const QVariantList& valores, const CadaFila& cadaFila)
{
    return RecorrerMientras(sql, valores, [&cadaFila](const FilaLeida& fila) {
        cadaFila(fila);
        return true;
    });
}

bool LectorFilas::RecorrerMientras(const QString& sql, const QVariantList& valores, const CadaFilaMientras& cadaFila)
{
    if (sqlite3* conexion = ConexionSqlite())
        return RecorrerSqlite(conexion, sql, valores, cadaFila);
    return RecorrerQt(sql, valores, cadaFila);
}

bool LectorFilas::RecorrerSqlite(sqlite3* conexion, const QString& sql, const QVariantList& valores,
                                 const CadaFilaMientras& cadaFila)
{
    const QByteArray texto = sql.toUtf8();
    sqlite3_stmt* preparada = nullptr;
    const int preparado =
        sqlite3_prepare_v2(conexion, texto.constData(), static_cast<int>(texto.size()), &preparada, nullptr);
    const Sentencia sentencia(preparada);
    if (preparado != SQLITE_OK) {
        FijarErrorSqlite(conexion, preparado);
        return false;
    }
    for (int i = 0; i < valores.size(); ++i) {
        const int vinculado = Vincular(preparada, i + 1, valores[i]);
        if (vinculado != SQLITE_OK) {
            FijarErrorSqlite(conexion, vinculado);
            return false;
        }
    }
    const FilaLeida fila(preparada);
    int paso = SQLITE_ROW;
    while ((paso = sqlite3_step(preparada)) == SQLITE_ROW) {
        if (!cadaFila(fila))
            return true;
    }
    if (paso != SQLITE_DONE) {
        FijarErrorSqlite(conexion, paso);
        return false;
    }
    return true;
}

bool LectorFilas::RecorrerQt(const QString& sql, const QVariantList& valores, const CadaFilaMientras& cadaFila)
{
    auto consulta = AbrirLectura(sql, valores);
    if (!consulta)
        return false;
    const FilaLeida fila(&*consulta);
    while (consulta->next()) {
        if (!cadaFila(fila))
            return true;
    }
    if (consulta->lastError().isValid()) {
        FijarError(consulta->lastError());
        return false;
    }
    return true;
}

} // namespace corvela
