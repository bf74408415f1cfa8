#include "records/CopiaBaseDatos.h"

#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace corvela {

namespace {

const QString kConexionOrigen = QStringLiteral("corvela-origen-copia");
// Rows written by one statement: over a server each statement is a round trip,
// so a large job goes in few of them.
constexpr int kFilasPorSentencia = 100;

// The read-only connection to the file copied, closed and forgotten when it goes.
class Origen
{
public:
    explicit Origen(const QString& ruta)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConexionOrigen);
        db.setDatabaseName(ruta);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        abierta_ = db.open();
        if (!abierta_)
            error_ = db.lastError().text();
    }
    ~Origen()
    {
        QSqlDatabase::database(kConexionOrigen, false).close();
        QSqlDatabase::removeDatabase(kConexionOrigen);
    }
    Origen(const Origen&) = delete;
    Origen& operator=(const Origen&) = delete;

    bool Abierta() const { return abierta_; }
    const QString& Error() const { return error_; }
    QSqlDatabase Db() const { return QSqlDatabase::database(kConexionOrigen, false); }

private:
    bool abierta_ = false;
    QString error_;
};

// The pending error as the user reads it, taken as the reason of the refusal.
QString TomarError()
{
    const QString texto = TextoError(ErrorPendiente());
    LimpiarError();
    return texto;
}

QString TextoDe(const QSqlError& error)
{
    FijarError(error);
    return TomarError();
}

// Writes the rows of one table, many in each statement. Its statements must
// outlive the transaction: a server refuses to free them in a failed one.
class Insercion
{
public:
    Insercion(const char* tabla, const QHash<QString, QStringList>& columnas)
        : tabla_(esquema::Nombre(tabla)), columnas_(columnas.value(tabla_))
    {
    }

    const QString& Tabla() const { return tabla_; }
    const QStringList& Columnas() const { return columnas_; }

    // Takes the current row of origen; writes when a statement's worth is gathered.
    bool Anadir(const QSqlQuery& origen)
    {
        for (int c = 0; c < columnas_.size(); ++c)
            valores_ << origen.value(c);
        ++filas_;
        return valores_.size() < kFilasPorSentencia * columnas_.size() || Escribir(llena_, kFilasPorSentencia);
    }

    // Writes the rows still gathered.
    bool Terminar()
    {
        const int quedan = static_cast<int>(valores_.size() / columnas_.size());
        return quedan == 0 || Escribir(resto_, quedan);
    }

    qint64 Filas() const { return filas_; }
    const QSqlError& Error() const { return error_; }

private:
    QString Sentencia(int filas) const
    {
        const QString fila = u'(' + QStringList(columnas_.size(), QStringLiteral("?")).join(u',') + u')';
        return QStringLiteral("INSERT INTO ") + tabla_ + QStringLiteral(" (") + columnas_.join(u',') +
               QStringLiteral(") VALUES ") + QStringList(filas, fila).join(u',');
    }

    bool Escribir(QSqlQuery& q, int filas)
    {
        if (q.lastQuery().isEmpty() && !q.prepare(Sentencia(filas))) {
            error_ = q.lastError();
            return false;
        }
        for (int i = 0; i < valores_.size(); ++i)
            q.bindValue(i, valores_[i]);
        valores_.clear();
        if (q.exec())
            return true;
        error_ = q.lastError();
        return false;
    }

    QString tabla_;
    QStringList columnas_;
    QVariantList valores_;
    QSqlQuery llena_{BaseDatos()};
    QSqlQuery resto_{BaseDatos()};
    qint64 filas_ = 0;
    QSqlError error_;
};

// Copies every row of the table insercion writes; false with motivo when a read or a write fails.
bool CopiarTabla(QSqlDatabase origen, Insercion& insercion, QString& motivo)
{
    const QString& tabla = insercion.Tabla();
    QSqlQuery lectura(origen);
    lectura.setForwardOnly(true);
    bool leida =
        lectura.exec(QStringLiteral("SELECT ") + insercion.Columnas().join(u',') + QStringLiteral(" FROM ") + tabla);
    bool escrita = true;
    while (leida && escrita && lectura.next())
        escrita = insercion.Anadir(lectura);
    escrita = escrita && insercion.Terminar();
    leida = leida && !lectura.lastError().isValid();
    if (!escrita)
        motivo = QStringLiteral("No se pudo escribir en la tabla ") + tabla + QStringLiteral(": ") +
                 TextoDe(insercion.Error());
    else if (!leida)
        motivo = QStringLiteral("No se pudo leer la tabla ") + tabla + QStringLiteral(" del fichero: ") +
                 lectura.lastError().text();
    return leida && escrita;
}

// Whether the program's database holds no work; empty when it cannot be read.
std::optional<bool> DestinoVacio(QString& motivo)
{
    QSqlQuery q(BaseDatos());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT 1 FROM ") + esquema::Nombre(esquema::kObras) + QStringLiteral(" LIMIT 1"))) {
        motivo = TextoDe(q.lastError());
        return std::nullopt;
    }
    return !q.next();
}

std::optional<CopiaHecha> Copiar(QSqlDatabase origen, const QHash<QString, QStringList>& columnas, QString& motivo)
{
    // A station after its work, a point after its station.
    Insercion obras(esquema::kObras, columnas);
    Insercion estaciones(esquema::kEstaciones, columnas);
    Insercion puntos(esquema::kPuntos, columnas);
    Transaccion transaccion;
    if (!transaccion.Iniciada()) {
        motivo = TomarError();
        return std::nullopt;
    }
    const auto vacio = DestinoVacio(motivo);
    if (!vacio)
        return std::nullopt;
    if (!*vacio) {
        motivo = QStringLiteral("La base de datos de destino ya tiene obras: solo se copia a una base de datos vacía.");
        return std::nullopt;
    }
    for (Insercion* insercion : {&obras, &estaciones, &puntos}) {
        if (!CopiarTabla(origen, *insercion, motivo))
            return std::nullopt;
    }
    if (!transaccion.Confirmar()) {
        motivo = TomarError();
        return std::nullopt;
    }
    return CopiaHecha{obras.Filas(), estaciones.Filas(), puntos.Filas()};
}

} // namespace

std::optional<CopiaHecha> CopiarBaseLocal(const QString& origen, QString& motivo)
{
    if (!QFileInfo(origen).isFile()) {
        motivo = QStringLiteral("No existe el fichero ") + origen + QStringLiteral(".");
        return std::nullopt;
    }
    const Origen fichero(origen);
    if (!fichero.Abierta()) {
        motivo = QStringLiteral("No se pudo abrir el fichero ") + origen + QStringLiteral(": ") + fichero.Error();
        return std::nullopt;
    }
    QString falta;
    const auto columnas = TablasDelPrograma(fichero.Db(), falta);
    if (!columnas) {
        motivo = QStringLiteral("El fichero ") + origen +
                 QStringLiteral(" no es una base de datos de Corvela Geoda. ") + falta;
        return std::nullopt;
    }
    auto hecha = Copiar(fichero.Db(), *columnas, motivo);
    if (hecha)
        motivo.clear();
    else
        motivo = QStringLiteral("No se ha copiado nada. ") + motivo;
    return hecha;
}

} // namespace corvela
