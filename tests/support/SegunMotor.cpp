#include "SegunMotor.h"

#include "EntornoPrueba.h"
#include "records/BaseDatos.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace corvela::pruebas {

namespace {

const QString kOtroPuesto = QStringLiteral("otro puesto");

bool Ejecutar(QSqlDatabase db, const QString& sql)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return false;
}

// SQLite runs the trigger's statements itself; a server runs a function.
bool CrearDisparador(const QString& nombre, const QString& momento, const QString& condicion,
                     const QString& cuerpoSqlite, const QString& cuerpoServidor)
{
    if (!EnServidor()) {
        return Definir(
            QStringLiteral("CREATE TRIGGER %1 %2 WHEN %3 BEGIN %4; END").arg(nombre, momento, condicion, cuerpoSqlite));
    }
    return Definir(QStringLiteral("CREATE FUNCTION %1_f() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                  "IF %2 THEN %3; END IF; RETURN NEW; END $$")
                       .arg(nombre, condicion, cuerpoServidor)) &&
           Definir(QStringLiteral("CREATE TRIGGER %1 %2 FOR EACH ROW EXECUTE FUNCTION %1_f()").arg(nombre, momento));
}

QString Literal(const QString& texto)
{
    return u'\'' + QString(texto).replace(u'\'', QStringLiteral("''")) + u'\'';
}

} // namespace

bool Definir(const QString& sql)
{
    return Ejecutar(BaseDatos(), sql);
}

bool DisparadorQueRechaza(const QString& nombre, const QString& momento, const QString& condicion,
                          const QString& mensaje)
{
    return CrearDisparador(
        nombre, momento, condicion, QStringLiteral("SELECT RAISE(ABORT, %1)").arg(Literal(mensaje)),
        QStringLiteral("RAISE EXCEPTION USING MESSAGE = %1, ERRCODE = 'check_violation'").arg(Literal(mensaje)));
}

bool DisparadorQueEjecuta(const QString& nombre, const QString& momento, const QString& condicion,
                          const QString& sentencia)
{
    return CrearDisparador(nombre, momento, condicion, sentencia, sentencia);
}

void SoloLectura(bool activa)
{
    Definir(EnServidor() ? QStringLiteral("SET default_transaction_read_only = ") + (activa ? "on" : "off")
                         : QStringLiteral("PRAGMA query_only = ") + (activa ? "1" : "0"));
}

OtroPuestoGrabando::OtroPuestoGrabando(const DestinoDatos& destino)
{
    const bool servidor = destino.motor == Motor::PostgreSql;
    QSqlDatabase otro =
        QSqlDatabase::addDatabase(servidor ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), kOtroPuesto);
    otro.setDatabaseName(servidor ? destino.base : destino.ruta);
    if (!otro.open())
        return;
    // A server's writers of the program wait on the tables they write; SQLite has one lock for the file.
    tomado_ = servidor ? otro.transaction() && Ejecutar(otro, QStringLiteral("LOCK TABLE B_OBRAS IN EXCLUSIVE MODE"))
                       : Ejecutar(otro, QStringLiteral("BEGIN IMMEDIATE"));
}

OtroPuestoGrabando::~OtroPuestoGrabando()
{
    {
        QSqlDatabase otro = QSqlDatabase::database(kOtroPuesto, false);
        if (tomado_)
            Ejecutar(otro, QStringLiteral("ROLLBACK"));
        otro.close();
    }
    QSqlDatabase::removeDatabase(kOtroPuesto);
}

} // namespace corvela::pruebas
