#include "records/BaseDatos.h"

#include "records/ErrorDatos.h"
#include "records/Esquema.h"

#include "core/Mensajes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>
#include <sqlite3.h>

namespace corvela {

namespace {

const QString kConexion = QStringLiteral("corvela");
const QString kControladorServidor = QStringLiteral("QPSQL");
const QString kConexionEsquema = QStringLiteral("corvela-esquema");
const QString kFuncionPlegar = QStringLiteral("PLEGAR");
const QStringList kTablas = {esquema::Nombre(esquema::kObras), esquema::Nombre(esquema::kEstaciones),
                             esquema::Nombre(esquema::kPuntos)};
// Files SQLite keeps beside the database while it is in use.
const QStringList kCompaneros = {QStringLiteral("-wal"), QStringLiteral("-shm")};
constexpr int kSqliteOcupada = 5;
const QString kFinPrograma = QStringLiteral("\r\n\r\nEl programa terminará.");
constexpr int kIntentosContrasena = 3;

struct Abierta
{
    DestinoDatos destino;
    // How a text is folded to one case on this connection; %1 is the text.
    QString plegado = QStringLiteral("PLEGAR(%1)");
};

Abierta& EnUso()
{
    static Abierta abierta;
    return abierta;
}

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

// The reason of a database error, in the surveyor's words where we have them.
QString Motivo(const QSqlError& error)
{
    // Extended result codes keep the primary code in their low byte.
    if (error.nativeErrorCode() == QLatin1String("55P03") || (error.nativeErrorCode().toInt() & 0xFF) == kSqliteOcupada)
        return QStringLiteral("La base de datos está bloqueada por otro programa.");
    return DescripcionDe(error);
}

bool EsFicheroSqlite(const QString& ruta)
{
    QFile fichero(ruta);
    if (!fichero.open(QIODevice::ReadOnly))
        return false;
    return fichero.read(16) == QByteArray("SQLite format 3\0", 16);
}

// Asks the system itself: as root, or with access lists, the permission bits
// tell little. Opening for writing changes nothing in the file.
bool SePuedeEscribir(const QString& ruta)
{
    QFile fichero(ruta);
    return fichero.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

// Why an existing file cannot be the program's database, judged before any
// connection opens it (closing a descriptor of the file would drop the locks of
// a connection of this process); nothing when it may be. An empty reason: not
// a database at all.
std::optional<QString> MotivoRechazo(const QString& ruta)
{
    const QFileInfo info(ruta);
    if (!info.isFile())
        return QString();
    if (info.size() == 0)
        return QStringLiteral("El fichero está vacío.");
    if (!EsFicheroSqlite(ruta))
        return QString();
    if (!SePuedeEscribir(ruta))
        return QStringLiteral("El fichero es de solo lectura.");
    // The database reads well without them, but every save would fail.
    for (const QString& sufijo : kCompaneros) {
        const QString companero = ruta + sufijo;
        if (QFileInfo::exists(companero) && !SePuedeEscribir(companero))
            return QStringLiteral("No se puede escribir en el fichero ") + companero +
                   QStringLiteral(", que la acompaña (quizá sea de otro usuario).");
    }
    return std::nullopt;
}

std::optional<QStringList> SentenciasEsquema(QString& motivo)
{
    QFile esquema(QStringLiteral(":/esquema.sql"));
    if (!esquema.open(QIODevice::ReadOnly)) {
        motivo = QStringLiteral("No se encuentra el esquema de las tablas.");
        return std::nullopt;
    }
    return QString::fromUtf8(esquema.readAll()).split(u';', Qt::SkipEmptyParts);
}

bool CrearEsquema(QSqlDatabase db, QString& motivo)
{
    const std::optional<QStringList> sentencias = SentenciasEsquema(motivo);
    if (!sentencias)
        return false;
    if (!db.transaction()) {
        motivo = Motivo(db.lastError());
        return false;
    }
    for (const QString& sentencia : *sentencias) {
        if (sentencia.trimmed().isEmpty())
            continue;
        QSqlQuery q(db);
        if (!q.exec(sentencia)) {
            motivo = Motivo(q.lastError());
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        motivo = Motivo(db.lastError());
        return false;
    }
    return true;
}

struct ColumnaLeida
{
    QString nombre;
    QString tipo;
};

bool EsServidor(const QSqlDatabase& db)
{
    return db.driverName() == kControladorServidor;
}

// The server names a column's type and its length apart: "character varying" and 20.
const QString kColumnasServidor = QStringLiteral(
    "SELECT column_name, data_type || COALESCE('(' || character_maximum_length || ')', '') "
    "FROM information_schema.columns WHERE table_schema = current_schema() AND lower(table_name) = lower(?) "
    "ORDER BY ordinal_position");

// The columns of a table, none when it is missing; empty when it cannot be read.
std::optional<QVector<ColumnaLeida>> ColumnasDe(QSqlDatabase db, const QString& tabla, QString& motivo)
{
    QSqlQuery q(db);
    const bool leidas = EsServidor(db) ? q.prepare(kColumnasServidor) && (q.addBindValue(tabla), q.exec())
                                       : q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(tabla));
    if (!leidas) {
        motivo = Motivo(q.lastError());
        return std::nullopt;
    }
    const int nombre = EsServidor(db) ? 0 : 1;
    QVector<ColumnaLeida> columnas;
    while (q.next())
        columnas.push_back({q.value(nombre).toString(), q.value(nombre + 1).toString()});
    if (q.lastError().isValid()) {
        motivo = Motivo(q.lastError());
        return std::nullopt;
    }
    return columnas;
}

// The columns of each table as the program creates them, from its own schema.
std::optional<QHash<QString, QStringList>> ColumnasRequeridas()
{
    std::optional<QHash<QString, QStringList>> requeridas;
    {
        QSqlDatabase memoria = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConexionEsquema);
        memoria.setDatabaseName(QStringLiteral(":memory:"));
        QString motivo;
        if (memoria.open() && CrearEsquema(memoria, motivo)) {
            requeridas.emplace();
            for (const QString& tabla : kTablas) {
                for (const ColumnaLeida& columna : ColumnasDe(memoria, tabla, motivo).value_or(QVector<ColumnaLeida>()))
                    (*requeridas)[tabla] << columna.nombre;
            }
        }
        memoria.close();
    }
    QSqlDatabase::removeDatabase(kConexionEsquema);
    return requeridas;
}

QStringList Faltan(const QStringList& requeridas, const QVector<ColumnaLeida>& columnas)
{
    QStringList faltan;
    for (const QString& requerida : requeridas) {
        const bool esta = std::any_of(columnas.begin(), columnas.end(), [&requerida](const ColumnaLeida& c) {
            return c.nombre.compare(requerida, Qt::CaseInsensitive) == 0;
        });
        if (!esta)
            faltan << requerida;
    }
    return faltan;
}

using TablasLeidas = QHash<QString, QVector<ColumnaLeida>>;

// Checks that db holds the program's tables with every column of its schema;
// leidas receives the columns found. Only reads.
std::optional<QHash<QString, QStringList>> ComprobarTablas(QSqlDatabase db, QString& motivo, TablasLeidas& leidas)
{
    for (const QString& tabla : kTablas) {
        const auto columnas = ColumnasDe(db, tabla, motivo);
        if (!columnas)
            return std::nullopt;
        if (columnas->isEmpty()) {
            motivo = QStringLiteral("Falta la tabla ") + tabla + QStringLiteral(".");
            return std::nullopt;
        }
        leidas.insert(tabla, *columnas);
    }
    const auto requeridas = ColumnasRequeridas();
    if (!requeridas) {
        motivo = QStringLiteral("No se pudo leer el esquema de las tablas del programa.");
        return std::nullopt;
    }
    for (const QString& tabla : kTablas) {
        const QStringList faltan = Faltan(requeridas->value(tabla), leidas.value(tabla));
        if (!faltan.isEmpty()) {
            motivo = QStringLiteral("A la tabla ") + tabla + QStringLiteral(" le faltan columnas: ") +
                     faltan.join(QStringLiteral(", ")) + QStringLiteral(".");
            return std::nullopt;
        }
    }
    return requeridas;
}

// Reads the program's tables and their columns; false when a table or one of
// its columns is missing, or the file cannot be read. Only reads.
bool LeerEsquema(QSqlDatabase db, QString& motivo)
{
    Columnas().clear();
    TablasLeidas tablas;
    if (!ComprobarTablas(db, motivo, tablas))
        return false;
    for (const QVector<ColumnaLeida>& columnas : std::as_const(tablas)) {
        for (const ColumnaLeida& columna : columnas)
            Columnas().insert(columna.nombre.toUpper(), ColumnaDeclarada(columna.tipo));
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
    const QByteArray plegado = QString::fromUtf8(texto, sqlite3_value_bytes(argumentos[0])).toCaseFolded().toUtf8();
    sqlite3_result_text(contexto, plegado.constData(), static_cast<int>(plegado.size()), SQLITE_TRANSIENT);
}

bool RegistrarFunciones(QSqlDatabase& db)
{
    const QVariant manejador = db.driver()->handle();
    if (qstrcmp(manejador.typeName(), "sqlite3*") != 0)
        return false;
    auto* conexion = *static_cast<sqlite3* const*>(manejador.constData());
    return conexion && sqlite3_create_function_v2(conexion, kFuncionPlegar.toUtf8().constData(), 1,
                                                  SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, Plegar, nullptr, nullptr,
                                                  nullptr) == SQLITE_OK;
}

bool Conectar(const QString& ruta, QString& motivo)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConexion);
    db.setDatabaseName(ruta);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        motivo = Motivo(db.lastError());
        return false;
    }
    if (RegistrarFunciones(db))
        return true;
    motivo = QStringLiteral("No se pudo preparar la búsqueda sin distinguir mayúsculas.");
    return false;
}

// The indexes of the schema that a database made by an earlier version lacks.
// They only make reading faster: a database that cannot take them now is used
// without them.
// The indexes a server's database already has: asking costs nothing, where
// CREATE INDEX IF NOT EXISTS would first wait for every other writer of the table.
QStringList IndicesDelServidor(QSqlDatabase db)
{
    QStringList indices;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT upper(indexname) FROM pg_indexes WHERE schemaname = current_schema()"))) {
        while (q.next())
            indices << q.value(0).toString();
    }
    return indices;
}

void CrearIndices(QSqlDatabase db)
{
    static const QRegularExpression nombre(QStringLiteral("CREATE INDEX IF NOT EXISTS (\\w+)"));
    const QStringList existentes = EsServidor(db) ? IndicesDelServidor(db) : QStringList();
    QString motivo;
    for (const QString& sentencia : SentenciasEsquema(motivo).value_or(QStringList())) {
        const auto indice = nombre.match(sentencia.trimmed());
        if (indice.hasMatch() && !existentes.contains(indice.captured(1).toUpper()))
            QSqlQuery(db).exec(sentencia);
    }
}

// A server folds every letter with ICU's rules when it has them, else with
// those of the database's own locale.
void PrepararServidor(QSqlDatabase db)
{
    CrearIndices(db);
    QSqlQuery icu(db);
    const bool conIcu =
        icu.exec(QStringLiteral("SELECT 1 FROM pg_collation WHERE collname = 'und-x-icu'")) && icu.next();
    EnUso().plegado = conIcu ? QStringLiteral("lower(CAST(%1 AS TEXT) COLLATE \"und-x-icu\")")
                             : QStringLiteral("lower(CAST(%1 AS TEXT))");
}

// The first writes to the file: a write-ahead log for good, the relations
// enforced and the indexes in place.
bool Preparar(QSqlDatabase db, QString& motivo)
{
    if (EsServidor(db)) {
        PrepararServidor(db);
        return true;
    }
    QSqlQuery pragma(db);
    if (pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
        pragma.exec(QStringLiteral("PRAGMA foreign_keys=ON"))) {
        CrearIndices(db);
        return true;
    }
    motivo = Motivo(pragma.lastError());
    return false;
}

bool AbrirComprobada(const QString& ruta, QString& motivo)
{
    return Conectar(ruta, motivo) && LeerEsquema(BaseDatos(), motivo) && Preparar(BaseDatos(), motivo);
}

Apertura Rechazar(const QString& ruta, const QString& motivo)
{
    CerrarBaseDatos();
    Dialogos().MsgBox(QStringLiteral("No se puede usar la base de datos:\r\n\r\n") + ruta +
                          QStringLiteral("\r\n\r\nNo es una base de datos de Corvela Geoda o está dañada, "
                                         "bloqueada o protegida contra escritura. No se ha modificado.") +
                          (motivo.isEmpty() ? QString() : QStringLiteral("\r\n\r\n") + motivo) + kFinPrograma,
                      Icono::Critico);
    return Apertura::Rechazada;
}

// Makes the folder and the parents it lacks; nuevas receives those made, innermost first.
bool CrearCarpeta(const QString& carpeta, QStringList& nuevas, QString& motivo)
{
    QStringList faltan;
    for (QString actual = QDir::cleanPath(carpeta); !QFileInfo::exists(actual);) {
        faltan << actual;
        const QString padre = QFileInfo(actual).path();
        if (padre == actual)
            break;
        actual = padre;
    }
    const bool creada = QDir().mkpath(carpeta);
    for (const QString& falta : std::as_const(faltan)) {
        if (QFileInfo(falta).isDir())
            nuevas << falta;
    }
    if (!creada)
        motivo =
            QStringLiteral("No se pudo crear la carpeta ") + QDir::toNativeSeparators(carpeta) + QStringLiteral(".");
    return creada;
}

// Made by us rather than by SQLite, whose refusal would not tell why.
bool CrearFicheroVacio(const QString& ruta, QString& motivo)
{
    QFile fichero(ruta);
    if (fichero.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return true;
    motivo = fichero.errorString();
    return false;
}

// A new empty database; on failure nothing of it is left, so that the next
// start offers to create it again.
Apertura CrearBaseDatos(const QString& ruta)
{
    QStringList nuevos;
    for (const QString& sufijo :
         {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (!QFileInfo::exists(ruta + sufijo))
            nuevos << ruta + sufijo;
    }
    QStringList carpetas;
    QString motivo;
    if (CrearCarpeta(QFileInfo(ruta).absolutePath(), carpetas, motivo) && CrearFicheroVacio(ruta, motivo) &&
        Conectar(ruta, motivo) && CrearEsquema(BaseDatos(), motivo) && LeerEsquema(BaseDatos(), motivo) &&
        Preparar(BaseDatos(), motivo))
        return Apertura::Abierta;

    CerrarBaseDatos();
    for (const QString& fichero : std::as_const(nuevos))
        QFile::remove(fichero);
    for (const QString& carpeta : std::as_const(carpetas))
        QDir().rmdir(carpeta);
    Dialogos().MsgBox(QStringLiteral("No se pudo crear la base de datos:\r\n\r\n") + ruta + QStringLiteral("\r\n\r\n") +
                          motivo + kFinPrograma,
                      Icono::Critico);
    return Apertura::FalloCreacion;
}

bool PideContrasena(const QSqlError& error)
{
    return error.databaseText().contains(QLatin1String("password"), Qt::CaseInsensitive);
}

// Connects to the server; libpq finds the password itself (~/.pgpass,
// PGPASSWORD) or the user is asked for it, and it is kept only by the connection.
bool ConectarServidor(const DestinoDatos& destino, QString& motivo)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(kControladorServidor, kConexion);
    if (!db.isValid()) {
        motivo = QStringLiteral("Falta el controlador de PostgreSQL para Qt (paquete libqt6sql6-psql).");
        return false;
    }
    db.setHostName(destino.servidor);
    db.setPort(destino.puerto > 0 ? destino.puerto : -1);
    db.setDatabaseName(destino.base);
    db.setUserName(destino.usuario);
    // A wait for another instance's write ends as SQLite's does, and texts are
    // always written as the statements expect them.
    db.setConnectOptions(QStringLiteral(
        "connect_timeout=10;application_name=corvela-geoda;"
        "options='-c lock_timeout=5000 -c standard_conforming_strings=on -c client_min_messages=warning'"));
    for (int intento = 0; !db.open(); ++intento) {
        // A wrong password is refused in the server's language: once the user
        // has given one, any refusal asks again.
        const bool dada = !db.password().isEmpty();
        if ((!PideContrasena(db.lastError()) && !dada) || intento == kIntentosContrasena) {
            motivo = Motivo(db.lastError());
            return false;
        }
        const QString pregunta = QStringLiteral("Contraseña de ") + destino.Usuario() + QStringLiteral(" para ") +
                                 destino.Descripcion() + QStringLiteral(":");
        const auto contrasena = Dialogos().PedirContrasena(
            dada ? QStringLiteral("La contraseña no es correcta.\r\n\r\n") + pregunta : pregunta);
        if (!contrasena) {
            // Without anyone to ask, the server's refusal of the one libpq found says more.
            motivo = dada || !qEnvironmentVariableIsEmpty("PGPASSWORD")
                         ? Motivo(db.lastError())
                         : QStringLiteral("No se ha dado la contraseña.");
            return false;
        }
        db.setPassword(*contrasena);
    }
    return true;
}

// How many of the program's tables, and how many others, the server's schema holds.
bool ContarTablas(QSqlDatabase db, int& nuestras, int& otras, QString& motivo)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT upper(table_name) FROM information_schema.tables "
                               "WHERE table_schema = current_schema()"))) {
        motivo = Motivo(q.lastError());
        return false;
    }
    nuestras = otras = 0;
    while (q.next())
        ++(kTablas.contains(q.value(0).toString()) ? nuestras : otras);
    return true;
}

Apertura NoConecta(const DestinoDatos& destino, const QString& motivo)
{
    CerrarBaseDatos();
    Dialogos().MsgBox(QStringLiteral("No se puede conectar con la base de datos:\r\n\r\n") + destino.Descripcion() +
                          QStringLiteral("\r\n\r\n") + motivo + kFinPrograma,
                      Icono::Critico);
    return Apertura::Rechazada;
}

Apertura CrearTablasServidor(const DestinoDatos& destino, bool crearSinPreguntar)
{
    if (!crearSinPreguntar &&
        Dialogos().MsgBox(QStringLiteral("La base de datos no tiene las tablas de Corvela Geoda:\r\n\r\n") +
                              destino.Descripcion() + QStringLiteral("\r\n\r\n¿Desea crearlas ahora, vacías?"),
                          Icono::Pregunta, Botones::SiNo) != Respuesta::Si) {
        CerrarBaseDatos();
        return Apertura::NoCreada;
    }
    QString motivo;
    if (CrearEsquema(BaseDatos(), motivo) && LeerEsquema(BaseDatos(), motivo) && Preparar(BaseDatos(), motivo))
        return Apertura::Abierta;
    CerrarBaseDatos();
    Dialogos().MsgBox(QStringLiteral("No se pudieron crear las tablas en la base de datos:\r\n\r\n") +
                          destino.Descripcion() + QStringLiteral("\r\n\r\n") + motivo + kFinPrograma,
                      Icono::Critico);
    return Apertura::FalloCreacion;
}

Apertura AbrirServidor(const DestinoDatos& destino, bool crearSinPreguntar)
{
    QString motivo;
    if (!ConectarServidor(destino, motivo))
        return NoConecta(destino, motivo);
    int nuestras = 0;
    int otras = 0;
    if (!ContarTablas(BaseDatos(), nuestras, otras, motivo))
        return NoConecta(destino, motivo);
    if (nuestras == 0 && otras == 0)
        return CrearTablasServidor(destino, crearSinPreguntar);
    if (nuestras == 0)
        return Rechazar(destino.Descripcion(),
                        QStringLiteral("Tiene tablas de otro programa y ninguna de Corvela Geoda."));
    if (!LeerEsquema(BaseDatos(), motivo) || !Preparar(BaseDatos(), motivo))
        return Rechazar(destino.Descripcion(), motivo);
    return Apertura::Abierta;
}

} // namespace

QSqlDatabase BaseDatos()
{
    return QSqlDatabase::database(kConexion, false);
}

std::optional<QHash<QString, QStringList>> TablasDelPrograma(QSqlDatabase db, QString& motivo)
{
    TablasLeidas leidas;
    return ComprobarTablas(db, motivo, leidas);
}

Apertura AbrirBaseDatos(const DestinoDatos& destino, bool crearSinPreguntar)
{
    EnUso() = Abierta{destino};
    if (destino.motor == Motor::PostgreSql)
        return AbrirServidor(destino, crearSinPreguntar);
    return AbrirBaseDatos(destino.ruta);
}

Apertura AbrirBaseDatos(const QString& ruta)
{
    EnUso() = Abierta{};
    EnUso().destino.ruta = ruta;
    if (!QFileInfo::exists(ruta)) {
        const Respuesta r =
            Dialogos().MsgBox(QStringLiteral("No existe la base de datos:\r\n\r\n") + ruta +
                                  QStringLiteral("\r\n\r\n¿Desea crear una base de datos nueva y vacía?"),
                              Icono::Pregunta, Botones::SiNo);
        if (r != Respuesta::Si)
            return Apertura::NoCreada;
        return CrearBaseDatos(ruta);
    }
    if (const auto motivo = MotivoRechazo(ruta))
        return Rechazar(ruta, *motivo);
    QString motivo;
    if (!AbrirComprobada(ruta, motivo))
        return Rechazar(ruta, motivo);
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

Motor MotorDe(const QSqlDatabase& db)
{
    return EsServidor(db) ? Motor::PostgreSql : Motor::Sqlite;
}

Motor MotorActual()
{
    return MotorDe(BaseDatos());
}

QString DescripcionBaseDatos()
{
    return EnUso().destino.Descripcion();
}

QString TextoPlegado(const QString& expresion)
{
    return EnUso().plegado.arg(expresion);
}

int LongitudColumna(const QString& columna)
{
    return Columnas().value(columna.toUpper(), Columna{0, QMetaType::QString}).longitud;
}

QMetaType::Type TipoColumna(const QString& columna)
{
    return Columnas().value(columna.toUpper(), Columna{0, QMetaType::QString}).tipo;
}

} // namespace corvela
