#include "records/BaseDatos.h"

#include "core/Mensajes.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlDriver>
#include <QSqlQuery>
#include <sqlite3.h>

namespace corvela {

namespace {

const QString kConexion = QStringLiteral("corvela");
const QString kFuncionPlegar = QStringLiteral("PLEGAR");
const QStringList kTablas = {QStringLiteral("B_OBRAS"), QStringLiteral("B_ESTACIONES"), QStringLiteral("B_PUNTOS")};

struct Columna
{
    int longitud;
    QMetaType::Type tipo;
};

QHash<QString, Columna>& Columnas()
{
    static QHash<QString, Columna> columnas;
    return columnas;
}

Columna ColumnaDeclarada(const QString& declarado)
{
    const QString tipo = declarado.toUpper();
    static const QRegularExpression conLongitud(QStringLiteral("\\((\\d+)\\)"));
    if (tipo.contains(QLatin1String("CHAR")) || tipo.contains(QLatin1String("TEXT"))) {
        const auto m = conLongitud.match(tipo);
        return {m.hasMatch() ? m.captured(1).toInt() : 0, QMetaType::QString};
    }
    if (tipo.contains(QLatin1String("INT")))
        return {4, QMetaType::Int};
    return {8, QMetaType::Double};
}

bool EsFicheroSqlite(const QString& ruta)
{
    QFile fichero(ruta);
    if (!fichero.open(QIODevice::ReadOnly))
        return false;
    return fichero.read(16) == QByteArray("SQLite format 3\0", 16);
}

bool CrearEsquema(QSqlDatabase& db)
{
    QFile esquema(QStringLiteral(":/esquema.sql"));
    if (!esquema.open(QIODevice::ReadOnly))
        return false;
    const QStringList sentencias = QString::fromUtf8(esquema.readAll()).split(u';', Qt::SkipEmptyParts);
    db.transaction();
    for (const QString& sentencia : sentencias) {
        if (sentencia.trimmed().isEmpty())
            continue;
        QSqlQuery q(db);
        if (!q.exec(sentencia)) {
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

// Reads the program's tables and their columns; false when one is missing or the file cannot be read.
bool LeerEsquema(QSqlDatabase& db, QString& motivo)
{
    Columnas().clear();
    for (const QString& tabla : kTablas) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(tabla))) {
            motivo = q.lastError().databaseText();
            return false;
        }
        bool hayColumnas = false;
        while (q.next()) {
            hayColumnas = true;
            Columnas().insert(q.value(1).toString().toUpper(), ColumnaDeclarada(q.value(2).toString()));
        }
        if (q.lastError().isValid()) {
            motivo = q.lastError().databaseText();
            return false;
        }
        if (!hayColumnas) {
            motivo = QStringLiteral("Falta la tabla ") + tabla + QStringLiteral(".");
            return false;
        }
    }
    return true;
}

// SQLite folds the case of ASCII letters only; this function, registered on the
// connection, folds every letter as Qt does.
void Plegar(sqlite3_context* contexto, int, sqlite3_value** argumentos)
{
    if (sqlite3_value_type(argumentos[0]) == SQLITE_NULL) {
        sqlite3_result_null(contexto);
        return;
    }
    const auto* texto = reinterpret_cast<const char*>(sqlite3_value_text(argumentos[0]));
    const QByteArray plegado =
        QString::fromUtf8(texto, sqlite3_value_bytes(argumentos[0])).toCaseFolded().toUtf8();
    sqlite3_result_text(contexto, plegado.constData(), static_cast<int>(plegado.size()), SQLITE_TRANSIENT);
}

bool RegistrarFunciones(QSqlDatabase& db)
{
    const QVariant manejador = db.driver()->handle();
    if (qstrcmp(manejador.typeName(), "sqlite3*") != 0)
        return false;
    auto* conexion = *static_cast<sqlite3* const*>(manejador.constData());
    return conexion
           && sqlite3_create_function_v2(conexion, kFuncionPlegar.toUtf8().constData(), 1,
                                         SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, Plegar, nullptr, nullptr,
                                         nullptr)
                  == SQLITE_OK;
}

Apertura Rechazar(const QString& ruta, const QString& motivo)
{
    CerrarBaseDatos();
    Dialogos().MsgBox(QStringLiteral("No se puede usar la base de datos:\r\n\r\n") + ruta
                          + QStringLiteral("\r\n\r\nNo es una base de datos de Corvela Geoda o está dañada, "
                                           "bloqueada o protegida contra escritura. No se ha modificado.")
                          + (motivo.isEmpty() ? QString() : QStringLiteral("\r\n\r\n") + motivo)
                          + QStringLiteral("\r\n\r\nEl programa terminará."),
                      Icono::Critico);
    return Apertura::Rechazada;
}

}  // namespace

QSqlDatabase BaseDatos()
{
    return QSqlDatabase::database(kConexion, false);
}

Apertura AbrirBaseDatos(const QString& ruta)
{
    const QFileInfo info(ruta);
    const bool existe = info.exists();
    if (!existe) {
        const Respuesta r = Dialogos().MsgBox(
            QStringLiteral("No existe la base de datos:\r\n\r\n") + ruta
                + QStringLiteral("\r\n\r\n¿Desea crear una base de datos nueva y vacía?"),
            Icono::Pregunta, Botones::SiNo);
        if (r != Respuesta::Si)
            return Apertura::NoCreada;
    } else if (!info.isFile() || !EsFicheroSqlite(ruta)) {
        return Rechazar(ruta, QString());
    } else if (!info.isWritable()) {
        return Rechazar(ruta, QStringLiteral("El fichero es de solo lectura."));
    }

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConexion);
    db.setDatabaseName(ruta);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        return Rechazar(ruta, db.lastError().databaseText());
    if (!RegistrarFunciones(db))
        return Rechazar(ruta, QStringLiteral("No se pudo preparar la búsqueda sin distinguir mayúsculas."));
    QString motivo;
    if (!existe && !CrearEsquema(db))
        return Rechazar(ruta, QStringLiteral("No se pudieron crear las tablas."));
    if (!LeerEsquema(db, motivo))
        return Rechazar(ruta, motivo);
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !pragma.exec(QStringLiteral("PRAGMA foreign_keys=ON")))
        return Rechazar(ruta, pragma.lastError().databaseText());
    return Apertura::Abierta;
}

void CerrarBaseDatos()
{
    {
        QSqlDatabase db = QSqlDatabase::database(kConexion, false);
        if (db.isOpen())
            db.close();
    }
    if (QSqlDatabase::contains(kConexion))
        QSqlDatabase::removeDatabase(kConexion);
    Columnas().clear();
}

QString TextoPlegado(const QString& expresion)
{
    return kFuncionPlegar + u'(' + expresion + u')';
}

int LongitudColumna(const QString& columna)
{
    return Columnas().value(columna.toUpper(), Columna{0, QMetaType::QString}).longitud;
}

QMetaType::Type TipoColumna(const QString& columna)
{
    return Columnas().value(columna.toUpper(), Columna{0, QMetaType::QString}).tipo;
}

}  // namespace corvela
