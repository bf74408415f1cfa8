#pragma once

#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "MensajesGrabados.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/CopiaBaseDatos.h"

#include <QTest>
#include <functional>
#include <limits>

namespace corvela::pruebas {

// A file the program writes from the same data on a SQLite file and on the
// environment's database.
struct SalidasMotores
{
    QByteArray local;
    QByteArray destino;
};

// Work 1: two stations and points whose numbers have no short decimal form, are
// tiny or huge, negative zero or missing, and whose texts need quoting.
inline void LlenarObraExigente()
{
    const QVariant nulo(QMetaType::fromType<double>());
    const QVariantList reales{0.1 + 0.2,
                              1e-300,
                              -0.0,
                              1.0 / 3.0,
                              123456789.12345679,
                              nulo,
                              std::numeric_limits<double>::denorm_min(),
                              -4678123.987654321,
                              2e15 / 3.0};
    const QStringList textos{QStringLiteral("Ñandú; \"cigüeña\""), QStringLiteral("100% \\ C:\\"),
                             QStringLiteral(" O'Brien, pozo ")};
    auto insertar = [](const QString& sql, const QVariantList& valores) {
        if (!EjecutarAccion(sql, valores))
            QTest::qFail(qPrintable(sql), __FILE__, __LINE__);
    };
    insertar(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, DESCOBRA) VALUES (1, ?)"), {textos[0]});
    for (int estacion : {1, 2})
        insertar(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (1, ?, ?, '06/12/2026', ?, ?, ?, ?)"),
                 {estacion, textos[estacion], reales[estacion], reales[estacion + 2], reales[estacion + 4],
                  reales[estacion + 6]});
    for (int punto = 1; punto <= 2 * reales.size(); ++punto) {
        QVariantList fila{punto, textos[punto % textos.size()]};
        for (int c = 0; c < 9; ++c)
            fila << reales[(punto + c) % reales.size()];
        fila << textos[(punto + 1) % textos.size()] << 1 << 1 + punto % 2;
        insertar(QStringLiteral("INSERT INTO B_PUNTOS VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"), fila);
    }
}

// Fills a new SQLite database of the program's with llenar and writes the file
// from it with escribir; then copies that database into the environment's
// (a server's, on the server pass), whose database must hold no work, and
// writes the file again from there. Whatever the engine, both files must be
// the same byte for byte.
inline SalidasMotores SalidaEnAmbosMotores(const EntornoPrueba& entorno, MensajesGrabados& mensajes,
                                           const std::function<void()>& llenar,
                                           const std::function<void(const QString&)>& escribir)
{
    const QString local = entorno.Ruta(QStringLiteral("local.db"));
    const QString salidaLocal = entorno.Ruta(QStringLiteral("salida-local"));
    const QString salidaDestino = entorno.Ruta(QStringLiteral("salida-destino"));
    CerrarBaseDatos();
    mensajes.Responder(Respuesta::Si);
    if (AbrirBaseDatos(local) != Apertura::Abierta)
        QTest::qFail("no se pudo crear la base de datos local", __FILE__, __LINE__);
    llenar();
    escribir(salidaLocal);
    CerrarBaseDatos();
    if (AbrirBaseDatos(entorno.Destino()) != Apertura::Abierta)
        QTest::qFail("no se pudo abrir de nuevo la base de datos de prueba", __FILE__, __LINE__);
    QString motivo;
    if (!CopiarBaseLocal(local, motivo))
        QTest::qFail(qPrintable(motivo), __FILE__, __LINE__);
    escribir(salidaDestino);
    return {LeerFichero(salidaLocal), LeerFichero(salidaDestino)};
}

} // namespace corvela::pruebas
