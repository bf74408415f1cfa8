#include "EntornoPrueba.h"

#include "MensajesGrabados.h"
#include "core/Globales.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace corvela::pruebas {

namespace {

const QString kMantenimiento = QStringLiteral("corvela-mantenimiento");

// Runs one statement on the server's own database (PGDATABASE), outside the program's connection.
bool Mantener(const QString& sentencia)
{
    bool hecho = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kMantenimiento);
        db.setConnectOptions(QStringLiteral("options='-c client_min_messages=warning'"));
        if (db.open()) {
            QSqlQuery q(db);
            hecho = q.exec(sentencia);
            if (!hecho)
                qWarning("%s: %s", qPrintable(sentencia), qPrintable(q.lastError().text()));
        } else {
            qWarning("sin servidor de pruebas: %s", qPrintable(db.lastError().text()));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(kMantenimiento);
    return hecho;
}

QString NuevaBaseServidor()
{
    static int creadas = 0;
    const QString nombre =
        QStringLiteral("corvela_prueba_%1_%2").arg(QCoreApplication::applicationPid()).arg(++creadas);
    Mantener(QStringLiteral("DROP DATABASE IF EXISTS ") + nombre);
    return Mantener(QStringLiteral("CREATE DATABASE ") + nombre) ? nombre : QString();
}

} // namespace

bool EnServidor()
{
    return qEnvironmentVariable("CORVELA_PRUEBAS_MOTOR").compare(QStringLiteral("postgresql"), Qt::CaseInsensitive) ==
           0;
}

EntornoPrueba::EntornoPrueba(const QString& locale, bool conBaseDatos)
{
    QLocale::setDefault(QLocale(locale));
    const QString recursos = qEnvironmentVariable("CORVELA_RECURSOS");
    IniciarGlobales(carpeta_.path(), recursos.isEmpty() ? QDir::currentPath() : recursos);
    LimpiarError();
    if (EnServidor())
        baseServidor_ = NuevaBaseServidor();
    if (conBaseDatos) {
        MensajesGrabados crear;
        crear.Responder(Respuesta::Si);
        if (AbrirBaseDatos(Destino()) != Apertura::Abierta)
            QTest::qFail("no se pudo crear la base de datos de prueba", __FILE__, __LINE__);
    }
}

EntornoPrueba::~EntornoPrueba()
{
    CerrarBaseDatos();
    LimpiarError();
    if (!baseServidor_.isEmpty())
        Mantener(QStringLiteral("DROP DATABASE IF EXISTS ") + baseServidor_ + QStringLiteral(" WITH (FORCE)"));
}

DestinoDatos EntornoPrueba::Destino() const
{
    DestinoDatos destino;
    destino.ruta = Ruta(QStringLiteral("Corvelax.db"));
    if (EnServidor()) {
        destino.motor = Motor::PostgreSql;
        destino.base = baseServidor_;
    }
    return destino;
}

QString EntornoPrueba::TextoDestino() const
{
    return EnServidor() ? QStringLiteral("postgresql:///") + baseServidor_ : Ruta(QStringLiteral("Corvelax.db"));
}

QString EntornoPrueba::Ruta(const QString& nombre) const
{
    return QDir(carpeta_.path()).filePath(nombre);
}

QRandomGenerator AzarSembrado()
{
    constexpr quint32 kSemillaFija = 20261206;
    bool leida = false;
    const quint32 semilla = qEnvironmentVariable("CORVELA_SEMILLA").toUInt(&leida);
    const quint32 usada = leida ? semilla : kSemillaFija;
    qInfo("semilla del azar: %u (CORVELA_SEMILLA=%u la repite)", usada, usada);
    return QRandomGenerator(usada);
}

void InsertarObra(int codigo, const QString& propietario)
{
    if (!EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, PROPIETARIO) VALUES (?, ?)"),
                        {codigo, propietario}))
        QTest::qFail("no se pudo insertar la obra", __FILE__, __LINE__);
}

void InsertarEstacion(int obra, int estacion)
{
    EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (?) ON CONFLICT DO NOTHING"), {obra});
    if (!EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST) VALUES (?, ?)"), {obra, estacion}))
        QTest::qFail("no se pudo insertar la estación", __FILE__, __LINE__);
}

QVariant Consultar(const QString& sql, const QVariantList& valores)
{
    auto q = AbrirLectura(sql, valores);
    return q && q->next() ? q->value(0) : QVariant();
}

} // namespace corvela::pruebas
