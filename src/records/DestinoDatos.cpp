#include "records/DestinoDatos.h"

#include "core/Parametros.h"

#include <QUrl>
#include <algorithm>

namespace corvela {

namespace {

const QString kPostgreSql = QStringLiteral("postgresql");
const QString kSqlite = QStringLiteral("sqlite");

bool EsPostgreSql(const QString& motor)
{
    const QString m = motor.trimmed().toLower();
    return m == kPostgreSql || m == QStringLiteral("postgres");
}

// What libpq takes for a blank field: its variable, else its own default.
QString SegunLibpq(const QString& valor, const char* variable, const QString& porDefecto)
{
    if (!valor.isEmpty())
        return valor;
    const QString entorno = qEnvironmentVariable(variable);
    return entorno.isEmpty() ? porDefecto : entorno;
}

} // namespace

QString DestinoDatos::Usuario() const
{
    return SegunLibpq(usuario, "PGUSER", qEnvironmentVariable("USER"));
}

QString DestinoDatos::Descripcion() const
{
    if (motor == Motor::Sqlite)
        return ruta;
    const QString quien = Usuario();
    // Without a host libpq uses the machine's own server, through its socket.
    const QString donde = SegunLibpq(servidor, "PGHOST", QStringLiteral("local"));
    const QString puertoUsado =
        SegunLibpq(puerto > 0 ? QString::number(puerto) : QString(), "PGPORT", QStringLiteral("5432"));
    return QStringLiteral("PostgreSQL ") + quien + u'@' + donde + u':' + puertoUsado + u'/' +
           SegunLibpq(base, "PGDATABASE", quien);
}

DestinoDatos DestinoSegunParametros(const QString& rutaLocal)
{
    DestinoDatos destino;
    destino.ruta = rutaLocal;
    if (!EsPostgreSql(LeerParametro(QStringLiteral("MotorBD"), kSqlite)))
        return destino;
    destino.motor = Motor::PostgreSql;
    destino.servidor = LeerParametro(QStringLiteral("ServidorBD"));
    destino.puerto = LeerParametro(QStringLiteral("PuertoBD")).toInt();
    destino.base = LeerParametro(QStringLiteral("BaseBD"));
    destino.usuario = LeerParametro(QStringLiteral("UsuarioBD"));
    return destino;
}

std::optional<DestinoDatos> DestinoSegunTexto(const QString& texto, const QString& rutaLocal, QString& motivo)
{
    DestinoDatos destino;
    destino.ruta = rutaLocal;
    if (texto.trimmed().compare(kSqlite, Qt::CaseInsensitive) == 0)
        return destino;
    const QUrl url(texto.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || !EsPostgreSql(url.scheme()) || !url.password().isEmpty() || url.hasQuery() ||
        url.hasFragment()) {
        motivo = QStringLiteral("La base de datos debe ser \"sqlite\" o "
                                "\"postgresql://[usuario@][servidor][:puerto][/base]\" (sin contraseña).");
        return std::nullopt;
    }
    destino.motor = Motor::PostgreSql;
    destino.servidor = url.host();
    destino.puerto = std::max(url.port(), 0);
    destino.base = url.path().mid(1);
    destino.usuario = url.userName();
    return destino;
}

} // namespace corvela
