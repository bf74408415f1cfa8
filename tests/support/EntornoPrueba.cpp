#include "EntornoPrueba.h"

#include "MensajesGrabados.h"
#include "core/Globales.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QDir>
#include <QLocale>
#include <QTest>

namespace corvela::pruebas {

EntornoPrueba::EntornoPrueba(const QString& locale, bool conBaseDatos)
{
    QLocale::setDefault(QLocale(locale));
    const QString recursos = qEnvironmentVariable("CORVELA_RECURSOS");
    IniciarGlobales(carpeta_.path(), recursos.isEmpty() ? QDir::currentPath() : recursos);
    LimpiarError();
    if (conBaseDatos) {
        MensajesGrabados crear;
        crear.Responder(Respuesta::Si);
        if (AbrirBaseDatos(Ruta(QStringLiteral("Corvelax.db"))) != Apertura::Abierta)
            QTest::qFail("no se pudo crear la base de datos de prueba", __FILE__, __LINE__);
    }
}

EntornoPrueba::~EntornoPrueba()
{
    CerrarBaseDatos();
    LimpiarError();
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
    EjecutarAccion(QStringLiteral("INSERT OR IGNORE INTO B_OBRAS (CODOBRA) VALUES (?)"), {obra});
    if (!EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST) VALUES (?, ?)"), {obra, estacion}))
        QTest::qFail("no se pudo insertar la estación", __FILE__, __LINE__);
}

QVariant Consultar(const QString& sql, const QVariantList& valores)
{
    auto q = AbrirLectura(sql, valores);
    return q && q->next() ? q->value(0) : QVariant();
}

} // namespace corvela::pruebas
