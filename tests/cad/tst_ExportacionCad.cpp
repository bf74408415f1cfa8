#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "LanzadorGrabado.h"
#include "MensajesGrabados.h"
#include "ProcesoHijo.h"
#include "ProgresoQueCancela.h"
#include "SalidaEnAmbosMotores.h"
#include "cad/ExportacionCad.h"
#include "cad/NumeroScript.h"
#include "cad/ProgresoScript.h"
#include "core/ArchivoIni.h"
#include "core/Globales.h"
#include "core/Parametros.h"
#include "core/TextoNumerico.h"
#include "records/AccesoDatos.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cmath>

using namespace corvela;

namespace {

const QString kObra = QStringLiteral("1");

// What the script of the reference work held, at 3, 0 and 7 decimals.
const QByteArray kReferencia3 =
    QByteArrayLiteral("-99999.99951,-7654321.98765432 a 400013.1865,4500007.5 /dibujos/a\xF1o/PLANO \xD1\r\n"
                      "-1234.568,0.001,0.000 0.25 1/1/\xC1RBOL--\xD1-\x80 400013.1865,4500007.5\r\n"
                      "400013.187,4500007.500,100.000 0.25 1/2 400013.1865,4500007.5\r\n"
                      "0.000,0.000,0.000 0.25 1/10/Ca\xF1"
                      "er\xED"
                      "a-n\xBA-3-? 400013.1865,4500007.5\r\n"
                      "123456.123,-7654321.988,12.346 0.25 2/1/- 400013.1865,4500007.5\r\n"
                      "-100000.000,0.000,10.000 0.25 2/3/PK-0+100 400013.1865,4500007.5\r\n"
                      "Fin /dibujos/a\xF1o/PLANO \xD1\r\n");
const QByteArray kReferencia0 =
    QByteArrayLiteral("-99999.99951,-7654321.98765432 a 400013.1865,4500007.5 /dibujos/a\xF1o/PLANO \xD1\r\n"
                      "-1235.,0.,0. 0.25 1/1/\xC1RBOL--\xD1-\x80 400013.1865,4500007.5\r\n"
                      "400013.,4500008.,100. 0.25 1/2 400013.1865,4500007.5\r\n"
                      "0.,0.,0. 0.25 1/10/Ca\xF1"
                      "er\xED"
                      "a-n\xBA-3-? 400013.1865,4500007.5\r\n"
                      "123456.,-7654322.,12. 0.25 2/1/- 400013.1865,4500007.5\r\n"
                      "-100000.,0.,10. 0.25 2/3/PK-0+100 400013.1865,4500007.5\r\n"
                      "Fin /dibujos/a\xF1o/PLANO \xD1\r\n");
const QByteArray kReferencia7 =
    QByteArrayLiteral("-99999.99951,-7654321.98765432 a 400013.1865,4500007.5 /dibujos/a\xF1o/PLANO \xD1\r\n"
                      "-1234.5678901,0.0005000,-0.0004000 0.25 1/1/\xC1RBOL--\xD1-\x80 400013.1865,4500007.5\r\n"
                      "400013.1865000,4500007.5000000,100.0000000 0.25 1/2 400013.1865,4500007.5\r\n"
                      "0.0000000,0.0000000,0.0000000 0.25 1/10/Ca\xF1"
                      "er\xED"
                      "a-n\xBA-3-? 400013.1865,4500007.5\r\n"
                      "123456.1234568,-7654321.9876543,12.3456789 0.25 2/1/- 400013.1865,4500007.5\r\n"
                      "-99999.9995100,0.0000000,9.9995000 0.25 2/3/PK-0+100 400013.1865,4500007.5\r\n"
                      "Fin /dibujos/a\xF1o/PLANO \xD1\r\n");

// A data folder whose CAD program is set, with the launcher and the dialogs recorded.
struct Escena
{
    explicit Escena(const QString& locale = QStringLiteral("es_ES")) : entorno(locale)
    {
        GrabarParametro(QStringLiteral("AUTOCAD"), QStringLiteral("/opt/cad/acad"));
    }
    pruebas::EntornoPrueba entorno;
    pruebas::LanzadorGrabado lanzador;
    pruebas::MensajesGrabados mensajes;
};

// Work 1 with stations 1 and 2.
void CrearObra()
{
    QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (1)")));
    for (int estacion : {1, 2})
        QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST) VALUES (1, ?)"), {estacion}));
}

void InsertarPunto(int estacion, int punto, const QVariant& x, const QVariant& y, const QVariant& z,
                   const QString& resena = QStringLiteral(""))
{
    QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, CC1, CC2, CC3, RESENA) "
                                          "VALUES (1, ?, ?, ?, ?, ?, ?)"),
                           {estacion, punto, x, y, z, resena}));
}

void InsertarEjemplo()
{
    CrearObra();
    InsertarPunto(1, 2, 110.25, 210.75, 0.0, QStringLiteral("EJE CALLE"));
    InsertarPunto(1, 1, 100.5, 200, 0.0);
}

QString EscalaEnElFichero()
{
    return ArchivoIni::Leer(IniGeneral, QStringLiteral("PARAMETROS"), QStringLiteral("Escala"));
}

// Answers both prompts and exports work 1.
bool Exportar(pruebas::MensajesGrabados& mensajes, const QString& escala, const QString& nombre,
              ProgresoScript* progreso = nullptr)
{
    mensajes.Teclear(escala);
    mensajes.Teclear(nombre);
    return GenerarAutoCad(kObra, progreso);
}

} // namespace

class TstExportacionCad : public QObject
{
    Q_OBJECT
private slots:
    // The same numbers and texts, read from a SQLite file or from a server, give the same script.
    void mismoScriptEnAmbosMotores()
    {
        Escena escena;
        const auto salidas = pruebas::SalidaEnAmbosMotores(
            escena.entorno, escena.mensajes, pruebas::LlenarObraExigente, [&escena](const QString& ruta) {
                QVERIFY(Exportar(escena.mensajes, QStringLiteral("0.5"), QStringLiteral("Dibujo")));
                pruebas::EscribirFichero(ruta, pruebas::LeerFichero(RutaScript()));
            });
        QVERIFY(!salidas.local.isEmpty());
        QCOMPARE(salidas.destino, salidas.local);
    }

    void ejemploResueltoByteAByte_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("coma decimal") << QStringLiteral("es_ES");
        QTest::newRow("punto decimal") << QStringLiteral("C");
    }

    void ejemploResueltoByteAByte()
    {
        QFETCH(QString, locale);
        Escena escena(locale);
        auto& [entorno, lanzador, mensajes] = escena;
        InsertarEjemplo();

        pruebas::EscribirFichero(RutaPlantilla(), "H\r\n[P %CoorX% %CoorY% %RESE\xD1"
                                                  "A%]\r\nF");
        QVERIFY(Exportar(mensajes, QStringLiteral("0.01"), QStringLiteral("OBRA7")));
        QCOMPARE(pruebas::LeerFichero(RutaScript()),
                 QByteArray("H\r\nP 100.500 200.000 1/1\r\nP 110.250 210.750 1/2/EJE-CALLE\r\nF\r\n"));
        QCOMPARE(mensajes.Preguntas(), QStringList({QStringLiteral("Escala de visualización ( 1: ??\?)"),
                                                    QStringLiteral("Nombre del dibujo:")}));

        pruebas::EscribirFichero(RutaPlantilla(), "%LIMITE_MINIMO% %LIMITE_MAX%\r\n[%CoorX%]");
        QVERIFY(Exportar(mensajes, QStringLiteral("0.01"), QStringLiteral("OBRA7")));
        QCOMPARE(pruebas::LeerFichero(RutaScript()), QByteArray("100.5,200 110.25,210.75\r\n100.500\r\n110.250\r\n"));
        QVERIFY(mensajes.Mensajes().isEmpty());
    }

    // Scripts as the program wrote them before its export was made faster: every
    // placeholder, accents and characters the code page lacks, empty and blank
    // descriptions, negative and missing coordinates, many decimals.
    void scriptDeReferencia_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("decimales");
        QTest::addColumn<QByteArray>("esperado");
        QTest::newRow("es_ES, 3 decimales") << QStringLiteral("es_ES") << 3 << kReferencia3;
        QTest::newRow("C, 3 decimales") << QStringLiteral("C") << 3 << kReferencia3;
        QTest::newRow("es_ES, sin decimales") << QStringLiteral("es_ES") << 0 << kReferencia0;
        QTest::newRow("es_ES, 7 decimales") << QStringLiteral("es_ES") << 7 << kReferencia7;
    }

    void scriptDeReferencia()
    {
        QFETCH(QString, locale);
        QFETCH(int, decimales);
        QFETCH(QByteArray, esperado);
        Escena escena(locale);
        auto& [entorno, lanzador, mensajes] = escena;
        GrabarParametro(QStringLiteral("DESTINO"), QStringLiteral("/dibujos/año/"));
        FormatoDecimales = QStringLiteral("###0.") + QString(decimales, u'0');
        CrearObra();
        InsertarPunto(1, 1, -1234.56789012345, 0.0005, -0.0004, QStringLiteral("ÁRBOL  Ñ €"));
        InsertarPunto(1, 2, 400013.1865, 4500007.5, 100.0, QStringLiteral(""));
        InsertarPunto(1, 10, 1e-9, QVariant(), QVariant(), QStringLiteral("Cañería\tnº 3 ł"));
        InsertarPunto(2, 1, 123456.123456789, -7654321.98765432, 12.3456789, QStringLiteral(" "));
        InsertarPunto(2, 3, -99999.99951, -0.0, 9.9995, QStringLiteral("PK 0+100"));

        pruebas::EscribirFichero(RutaPlantilla(), "%LIMITE_MINIMO% a %LIMITE_MAX% %NombreDibujo%\r\n"
                                                  "[%CoorX%,%CoorY%,%CoorZ% %ESCALA% %RESE\xD1"
                                                  "A% %LIMITE_MAX%]\r\nFin %NombreDibujo%");
        QVERIFY(Exportar(mensajes, QStringLiteral("0,25"), QStringLiteral("PLANO Ñ")));
        const QByteArray script = pruebas::LeerFichero(RutaScript());
        QCOMPARE(script, esperado);
        QVERIFY(mensajes.Mensajes().isEmpty());
    }

    void coordenadasComoLasMuestraElPrograma_data()
    {
        QTest::addColumn<QString>("configuracion");
        QTest::addColumn<int>("decimales");
        for (const char* configuracion : {"es_ES", "C"}) {
            for (int decimales : {0, 1, 3, 6, 11, 15})
                QTest::addRow("%s, %d decimales", configuracion, decimales)
                    << QString::fromLatin1(configuracion) << decimales;
        }
    }

    void coordenadasComoLasMuestraElPrograma()
    {
        QFETCH(QString, configuracion);
        QFETCH(int, decimales);
        pruebas::EntornoPrueba entorno(configuracion, false);
        // Halves at the last digit shown, and at the 15th significant digit on both sides of even.
        QVector<QVariant> valores = {0.0,
                                     -0.0,
                                     2.675,
                                     -2.5,
                                     0.0005,
                                     -0.0004,
                                     9.9995,
                                     999999.9999996,
                                     123456789012344.5,
                                     123456789012345.5,
                                     4500000.123046875,
                                     1e-20,
                                     7.5e29,
                                     2e31,
                                     QVariant(),
                                     QVariant(qlonglong(42)),
                                     QVariant(QStringLiteral("abc"))};
        QRandomGenerator azar = pruebas::AzarSembrado();
        for (int i = 0; i < 5000; ++i) {
            const double magnitud = std::pow(10.0, azar.bounded(-4, 9));
            valores << (azar.generateDouble() - 0.5) * magnitud << std::round(azar.generateDouble() * 1e7) / 1024;
            // A half at some decimal, and values next to a power of ten.
            const double potencia = std::pow(10.0, azar.bounded(-9, 16));
            valores << (std::round(azar.generateDouble() * 1e6) + 0.5) / std::pow(10.0, azar.bounded(0, 9))
                    << std::nextafter(potencia, 0.0) << std::nextafter(potencia, 1e300) << -potencia;
        }
        FormatoDecimales = QStringLiteral("###0.") + QString(decimales, u'0');
        const NumeroScript numeros(FormatoDecimales);
        for (const QVariant& valor : valores) {
            QByteArray texto;
            numeros.Anadir(valor, texto);
            QCOMPARE(QString::fromLatin1(texto), ComaAPunto(FormatearNumero(ValorCampo(valor, QMetaType::Double))));
        }
    }

    void marcadoresSoloDondeCorresponden()
    {
        Escena escena;
        auto& [entorno, lanzador, mensajes] = escena;
        GrabarParametro(QStringLiteral("DESTINO"), QStringLiteral("/d/[obras]/"));
        CrearObra();
        InsertarPunto(2, 15, 1.5, 2.5, QVariant(), QStringLiteral("\xC1RBOL  GRANDE %ESCALA%"));

        pruebas::EscribirFichero(RutaPlantilla(), "%NombreDibujo%|%CoorX%|%ESCALA%|%LIMITE_MINIMO%\r\n"
                                                  "[%LIMITE_MAX%;%ESCALA%;%CoorZ%;%coorx%;%RESE\xD1"
                                                  "A%;%NombreDibujo%]\r\n"
                                                  "%RESE\xD1"
                                                  "A%|%LIMITE_MAX%");
        QVERIFY(Exportar(mensajes, QStringLiteral("0,5"), QStringLiteral("OBRA7")));
        QCOMPARE(pruebas::LeerFichero(RutaScript()),
                 QByteArray("/d/[obras]/OBRA7|%CoorX%|%ESCALA%|1.5,2.5\r\n"
                            "1.5,2.5;0.5;0.000;%coorx%;2/15/\xC1RBOL--GRANDE-%ESCALA%;/d/[obras]/OBRA7"
                            "\r\n%RESE\xD1"
                            "A%|1.5,2.5\r\n"));

        // Line breaks of a template edited with bare line feeds reach the script as CR LF.
        pruebas::EscribirFichero(RutaPlantilla(), "A\n[%RESE\xD1"
                                                  "A%]\nC\n");
        QVERIFY(Exportar(mensajes, QStringLiteral("0.5"), QStringLiteral("OBRA7")));
        QCOMPARE(pruebas::LeerFichero(RutaScript()), QByteArray("A\r\n2/15/\xC1RBOL--GRANDE-%ESCALA%\r\nC\r\n\r\n"));
    }

    void escalaGuardadaSoloAlCambiar()
    {
        Escena escena;
        auto& [entorno, lanzador, mensajes] = escena;
        InsertarEjemplo();
        pruebas::EscribirFichero(RutaPlantilla(), "[%CoorX%]");

        QVERIFY(Exportar(mensajes, QStringLiteral("0.01"), QStringLiteral("A")));
        QCOMPARE(mensajes.propuestas, QStringList({QStringLiteral("0.01"), QString()}));
        QCOMPARE(EscalaEnElFichero(), QString());

        QVERIFY(Exportar(mensajes, QStringLiteral("0,02"), QStringLiteral("A")));
        QCOMPARE(EscalaEnElFichero(), QStringLiteral("0.02"));
        mensajes.propuestas.clear();
        QVERIFY(Exportar(mensajes, QStringLiteral("0.02"), QStringLiteral("A")));
        QCOMPARE(mensajes.propuestas.first(), QStringLiteral("0.02"));
    }

    void cancelarNoCambiaNada()
    {
        Escena escena;
        auto& [entorno, lanzador, mensajes] = escena;
        pruebas::EscribirFichero(RutaPlantilla(), "[%CoorX%]");
        pruebas::EscribirFichero(RutaScript(), "anterior");
        CrearObra();
        {
            Transaccion transaccion;
            for (int punto = 1; punto <= 5000; ++punto)
                InsertarPunto(1, punto, punto, 0.0, 0.0);
            QVERIFY(transaccion.Confirmar());
        }
        const QByteArray ini = pruebas::LeerFichero(IniGeneral);

        mensajes.Teclear(std::nullopt);
        QVERIFY(!GenerarAutoCad(kObra));
        QVERIFY(!Exportar(mensajes, QStringLiteral("0.5"), QString()));
        mensajes.Teclear(QStringLiteral("0.5"));
        mensajes.Teclear(std::nullopt);
        QVERIFY(!GenerarAutoCad(kObra));
        mensajes.Teclear(QStringLiteral("  "));
        QVERIFY(!GenerarAutoCad(kObra));

        pruebas::ProgresoQueCancela progreso;
        mensajes.Olvidar();
        QVERIFY(!Exportar(mensajes, QStringLiteral("0.5"), QStringLiteral("A"), &progreso));
        QCOMPARE(progreso.avisos.size(), 1);
        QCOMPARE(progreso.avisos.first(), qMakePair(qint64(4096), qint64(5000)));

        QVERIFY(mensajes.Mensajes().isEmpty());
        QVERIFY(lanzador.llamadas.isEmpty());
        QCOMPARE(pruebas::LeerFichero(RutaScript()), QByteArray("anterior"));
        QCOMPARE(pruebas::LeerFichero(IniGeneral), ini);
        QCOMPARE(QDir(entorno.Carpeta()).entryList({QStringLiteral("SCRIPT.SCR*")}, QDir::Files),
                 QStringList({QStringLiteral("SCRIPT.SCR")}));
    }

    void fallosSeExplicanSinEscribir()
    {
        Escena escena;
        auto& [entorno, lanzador, mensajes] = escena;
        pruebas::EscribirFichero(RutaScript(), "anterior");
        InsertarEjemplo();
        auto fallaCon = [&](const QString& obra, const QString& aviso) {
            mensajes.Olvidar();
            mensajes.Responder(Respuesta::Aceptar);
            QVERIFY(!GenerarAutoCad(obra));
            QCOMPARE(mensajes.Mensajes().size(), 1);
            QVERIFY2(mensajes.UltimoTexto().contains(aviso), qPrintable(mensajes.UltimoTexto()));
            QCOMPARE(mensajes.Mensajes().first().icono, Icono::Exclamacion);
            QVERIFY(mensajes.Preguntas().isEmpty());
        };

        fallaCon(QString(), QStringLiteral("Busque antes la OBRA"));
        fallaCon(QStringLiteral("abc"), QStringLiteral("Busque antes la OBRA"));
        fallaCon(QStringLiteral("9"), QStringLiteral("La OBRA 9 no tiene puntos"));

        pruebas::EscribirFichero(RutaPlantilla(), "sin ] bloque [");
        fallaCon(kObra, QStringLiteral("no tiene el bloque del punto"));

        QFile::remove(RutaPlantilla());
        QTemporaryDir sinRecursos;
        CarpetaRecursos = sinRecursos.path();
        fallaCon(kObra, QStringLiteral("No se encuentra la plantilla"));

        QVERIFY(lanzador.llamadas.isEmpty());
        QCOMPARE(pruebas::LeerFichero(RutaScript()), QByteArray("anterior"));
    }

    void plantillaPropiaDibujaCadaPunto()
    {
        Escena escena;
        auto& [entorno, lanzador, mensajes] = escena;
        GrabarParametro(QStringLiteral("DESTINO"), QStringLiteral("/dibujos/"));
        CrearObra();
        InsertarPunto(1, 1, 1.0, 2.0, 3.0, QStringLiteral("PK 1"));
        InsertarPunto(1, 2, 4.0, 5.0, 6.0);

        QVERIFY(Exportar(mensajes, QStringLiteral("0,5"), QStringLiteral("OBRA7")));
        QCOMPARE(pruebas::LeerFichero(RutaPlantilla()),
                 pruebas::LeerFichero(RutaRecurso(QStringLiteral("plantillas/ScriptAutoCad.Ini"))));
        const QByteArray script = pruebas::LeerFichero(RutaScript());
        QVERIFY(script.contains("; Limites de los puntos: 1,2 a 4,5\r\n"));
        QVERIFY(script.contains("_.POINT\r\n_non\r\n1.000,2.000,3.000\r\n_.TEXT\r\n_non\r\n1.000,2.000,3.000\r\n"
                                "0.5\r\n0\r\n1/1/PK-1\r\n_.POINT\r\n"));
        QVERIFY(script.contains("0.5\r\n0\r\n1/2\r\n_.ZOOM\r\n"));
        QVERIFY(script.endsWith("\r\n\"/dibujos/OBRA7\"\r\n"));
        QVERIFY(!script.contains("%"));
    }

    void rutasDeConfiguracion()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;

        mensajes.ElegirRuta(QStringLiteral("/opt/mi cad/acad"));
        QVERIFY(ElegirProgramaCad());
        mensajes.ElegirRuta(std::nullopt);
        QVERIFY(!ElegirProgramaCad());
        QCOMPARE(mensajes.Preguntas().first(), QStringLiteral("Configuracion Corvela Geoda"));
        QCOMPARE(mensajes.propuestas, QStringList({QString(), QStringLiteral("/opt/mi cad/acad")}));
        QCOMPARE(LeerParametro(QStringLiteral("AutoCad")), QStringLiteral("/opt/mi cad/acad"));

        mensajes.propuestas.clear();
        mensajes.ElegirRuta(QStringLiteral("/tmp/DIBUJOS"));
        QVERIFY(ElegirDestinoCad());
        QCOMPARE(LeerParametro(QStringLiteral("Destino")), QStringLiteral("/tmp/DIBUJOS/"));
        mensajes.ElegirRuta(QStringLiteral("/tmp/OTRA/"));
        QVERIFY(ElegirDestinoCad());
        mensajes.ElegirRuta(std::nullopt);
        QVERIFY(!ElegirDestinoCad());
        QCOMPARE(LeerParametro(QStringLiteral("Destino")), QStringLiteral("/tmp/OTRA/"));
        QCOMPARE(mensajes.propuestas,
                 QStringList({QString(), QStringLiteral("/tmp/DIBUJOS/"), QStringLiteral("/tmp/OTRA/")}));

        QPushButton programa, destino;
        MostrarRutas(&programa, &destino);
        QCOMPARE(programa.toolTip(), QStringLiteral("/opt/mi cad/acad"));
        QCOMPARE(destino.toolTip(), QStringLiteral("/tmp/OTRA/"));

        pruebas::LanzadorGrabado lanzador;
        InsertarEjemplo();
        pruebas::EscribirFichero(RutaPlantilla(), "%NombreDibujo%[]");
        QVERIFY(Exportar(mensajes, QStringLiteral("1"), QStringLiteral("OBRA7")));
        QVERIFY(pruebas::LeerFichero(RutaScript()).startsWith("/tmp/OTRA/OBRA7"));
    }

    void discoLlenoConservaElScriptAnterior_data()
    {
        QTest::addColumn<qint64>("cabe");
        QTest::newRow("nada") << qint64(0);
        QTest::newRow("una parte") << qint64(5); // the disk takes the first bytes, then refuses
    }

    void discoLlenoConservaElScriptAnterior()
    {
        QFETCH(qint64, cabe);
        pruebas::EntornoPrueba entorno;
        pruebas::LanzadorGrabado lanzador;
        GrabarParametro(QStringLiteral("AUTOCAD"), QStringLiteral("/opt/cad/acad"));
        InsertarEjemplo();
        pruebas::EscribirFichero(RutaPlantilla(), "[%CoorX%]");
        pruebas::EscribirFichero(RutaScript(), "anterior");
        const QByteArray ini = pruebas::LeerFichero(IniGeneral);

        const auto salida = pruebas::ConDiscoLleno(cabe, [&lanzador] {
            pruebas::MensajesGrabados mensajes;
            mensajes.Responder(Respuesta::Aceptar);
            const bool generado = Exportar(mensajes, QStringLiteral("0.5"), QStringLiteral("A"));
            return QByteArray(generado ? "1" : "0") + QByteArray::number(lanzador.llamadas.size()) +
                   mensajes.UltimoTexto().toUtf8();
        });
        QVERIFY(salida);
        QCOMPARE(salida->left(2), QByteArray("00"));
        const QString aviso = QString::fromUtf8(salida->mid(2));
        QVERIFY2(aviso.startsWith(QStringLiteral("No se pudo escribir el script de AUTOCAD:")) &&
                     aviso.contains(qt_error_string(EFBIG)),
                 qPrintable(aviso));
        QCOMPARE(pruebas::LeerFichero(RutaScript()), QByteArray("anterior"));
        QCOMPARE(pruebas::LeerFichero(IniGeneral), ini);
        QCOMPARE(QDir(entorno.Carpeta()).entryList({QStringLiteral("SCRIPT.SCR*")}, QDir::Files),
                 QStringList({QStringLiteral("SCRIPT.SCR")}));
    }

    void plantillaEnUtf8OEnWindows1252_data()
    {
        QTest::addColumn<QByteArray>("plantilla");
        const QString texto = QStringLiteral("Año\r\n[%CoorX% %RESEÑA%]\r\nFin");
        QTest::newRow("UTF-8") << texto.toUtf8();
        QTest::newRow("UTF-8 con BOM") << QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
        QTest::newRow("Windows-1252") << texto.toLatin1();
    }

    void plantillaEnUtf8OEnWindows1252()
    {
        QFETCH(QByteArray, plantilla);
        Escena escena;
        auto& [entorno, lanzador, mensajes] = escena;
        CrearObra();
        InsertarPunto(2, 15, 1.5, 2.5, 0.0, QStringLiteral("ÁRBOL"));
        pruebas::EscribirFichero(RutaPlantilla(), plantilla);
        QVERIFY(Exportar(mensajes, QStringLiteral("1"), QStringLiteral("A")));
        QCOMPARE(pruebas::LeerFichero(RutaScript()), QByteArray("A\xF1o\r\n1.500 2/15/\xC1RBOL\r\nFin\r\n"));
    }

    void saltosDeLineaNoLleganALosParametros()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::LanzadorGrabado lanzador;
        pruebas::MensajesGrabados mensajes;
        // Keys before AUTOCAD, where a planted line would be found first.
        GrabarParametro(QStringLiteral("Escala"), QStringLiteral("0.01"));
        GrabarParametro(QStringLiteral("DESTINO"), QStringLiteral("/d/"));
        GrabarParametro(QStringLiteral("AUTOCAD"), QStringLiteral("/opt/cad/acad"));
        InsertarEjemplo();
        pruebas::EscribirFichero(RutaPlantilla(), "%NombreDibujo%[]");

        // A pasted answer brings its line breaks along.
        QVERIFY(Exportar(mensajes, QStringLiteral("0.5\r[OTRA]\r\nAUTOCAD=/bin/evil"), QStringLiteral("OB\nRA7\r")));
        QCOMPARE(pruebas::LeerFichero(RutaScript()), QByteArray("/d/OBRA7\r\n\r\n"));
        QCOMPARE(EscalaEnElFichero(), QStringLiteral("0.5[OTRA]AUTOCAD=/bin/evil"));
        QCOMPARE(LeerParametro(QStringLiteral("AUTOCAD")), QStringLiteral("/opt/cad/acad"));

        // A folder name may hold one too (legal on Linux): it is not stored.
        mensajes.ElegirRuta(QStringLiteral("/tmp/a\n[OTRA]\nAUTOCAD=/bin/evil"));
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!ElegirDestinoCad());
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("salto de línea")), qPrintable(mensajes.UltimoTexto()));
        QCOMPARE(LeerParametro(QStringLiteral("DESTINO")), QStringLiteral("/d/"));
        QCOMPARE(LeerParametro(QStringLiteral("AUTOCAD")), QStringLiteral("/opt/cad/acad"));
        QCOMPARE(lanzador.llamadas.size(), 1);
        QCOMPARE(lanzador.llamadas.first().programa, QStringLiteral("/opt/cad/acad"));
    }

    void programaCadOPortapapeles()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::LanzadorGrabado lanzador;
        pruebas::MensajesGrabados mensajes;
        InsertarEjemplo();
        pruebas::EscribirFichero(RutaPlantilla(), "[%CoorX%]");
        const QString script = QDir::toNativeSeparators(entorno.Ruta(QStringLiteral("SCRIPT.SCR")));

        GrabarParametro(QStringLiteral("AUTOCAD"), QStringLiteral("/opt/mi cad/acad"));
        QVERIFY(Exportar(mensajes, QStringLiteral("1"), QStringLiteral("A")));
        QCOMPARE(lanzador.llamadas.size(), 1);
        QCOMPARE(lanzador.llamadas.first().programa, QStringLiteral("/opt/mi cad/acad"));
        QCOMPARE(lanzador.llamadas.first().argumentos, QStringList({script}));
        QVERIFY(mensajes.Mensajes().isEmpty());

        lanzador.resultado = false;
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!Exportar(mensajes, QStringLiteral("1"), QStringLiteral("A")));
        QVERIFY(mensajes.UltimoTexto().startsWith(QStringLiteral("No se pudo iniciar AUTOCAD:")));

        GrabarParametro(QStringLiteral("AUTOCAD"), QString());
        mensajes.Olvidar();
        mensajes.Responder(Respuesta::Aceptar);
        QGuiApplication::clipboard()->setText(QStringLiteral("otra cosa"));
        QVERIFY(Exportar(mensajes, QStringLiteral("1"), QStringLiteral("A")));
        QCOMPARE(lanzador.llamadas.size(), 2);
        QCOMPARE(QGuiApplication::clipboard()->text(), script);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Ejecute desde Autocad el 'SCRIPT':") + script);
        QCOMPARE(mensajes.Mensajes().first().icono, Icono::Informacion);
    }
};

QTEST_MAIN(TstExportacionCad)
#include "tst_ExportacionCad.moc"
