#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "MensajesGrabados.h"
#include "ProcesoHijo.h"
#include "core/ArchivoIni.h"
#include "core/Globales.h"
#include "core/Parametros.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cerrno>

using namespace corvela;

namespace {

const QByteArray kAjustes = "[PARAMETROS]\r\nDESTINO=/dibujos/\r\nAUTOCAD=/opt/cad\r\nEscala=0.5\r\n";

} // namespace

class TstParametros : public QObject
{
    Q_OBJECT
private slots:
    void decimalesAlArrancar()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        QCOMPARE(NumDecimales, 3);
        QCOMPARE(FormatoDecimales, QStringLiteral("###0.000"));
        QVERIFY(!QFile::exists(FicheroIni));

        // The settings file of the data folder is read at start-up; the local level stays unused.
        pruebas::EscribirFichero(entorno.Ruta(QStringLiteral("Corvelax.INI")), "[PARAMETROS]\r\nDecimales=5\r\n");
        IniLocal = entorno.Ruta(QStringLiteral("local.INI"));
        IniciarGlobales(entorno.Carpeta(), CarpetaRecursos);
        QCOMPARE(NumDecimales, 5);
        QCOMPARE(FormatoDecimales, QStringLiteral("###0.00000"));
        QCOMPARE(IniGeneral, entorno.Ruta(QStringLiteral("Corvelax.INI")));
        QVERIFY(IniLocal.isEmpty());
    }

    void decimalesRedondeados_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("decimales");
        QTest::newRow("mitad hacia el par de abajo") << "2,5" << 2;
        QTest::newRow("mitad hacia el par de arriba") << "3,5" << 4;
        QTest::newRow("letras") << "letras" << 0;
        QTest::newRow("vacío") << "" << 3;
        QTest::newRow("demasiados") << "999999" << 15;
    }

    void decimalesRedondeados()
    {
        QFETCH(QString, texto);
        QFETCH(int, decimales);
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        QVERIFY(GrabarParametro(QStringLiteral("Decimales"), texto));
        QVERIFY(pruebas::LeerFichero(FicheroIni).startsWith("[PARAMETROS]\r\nDecimales="));
        CargarDecimales();
        QCOMPARE(NumDecimales, decimales);
        QCOMPARE(FormatoDecimales, QStringLiteral("###0.") + QString(decimales, u'0'));
    }

    void clavesSinMayusculasYOtrasLineasIntactas()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::EscribirFichero(FicheroIni,
                                 "; notas\r\n[Otra]\r\nAutoCad=no\r\n[parametros]\r\nautocad = /opt/Cad/bin/cad \r\n"
                                 "basura sin igual\r\n\r\n[Fin]\r\nx=1\r\n");
        QCOMPARE(LeerParametro(QStringLiteral("AUTOCAD")), QStringLiteral("/opt/Cad/bin/cad"));
        QCOMPARE(LeerParametro(QStringLiteral("Escala"), QStringLiteral("0.01")), QStringLiteral("0.01"));
        QString origen;
        LeerParametro(QStringLiteral("AutoCad"), 4, QString(), origen);
        QCOMPARE(origen, QStringLiteral("S"));
        QCOMPARE(LeerParametro(QStringLiteral("AutoCad"), 4, QString(), origen), QStringLiteral("/opt"));

        QVERIFY(GrabarParametro(QStringLiteral("Escala"), QStringLiteral("0,5")));
        QVERIFY(GrabarParametro(QStringLiteral("AUTOCAD"), QStringLiteral("/usr/bin/librecad")));
        QCOMPARE(pruebas::LeerFichero(FicheroIni),
                 QByteArray("; notas\r\n[Otra]\r\nAutoCad=no\r\n[parametros]\r\nAUTOCAD=/usr/bin/librecad\r\n"
                            "basura sin igual\r\nEscala=0,5\r\n\r\n[Fin]\r\nx=1\r\n"));
    }

    void valoresLargosYEspacios()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::EscribirFichero(FicheroIni, "[PARAMETROS]\nDestino=" + QByteArray(5000, 'a') + "\nEscala=   \n");
        QCOMPARE(LeerParametro(QStringLiteral("Destino")).size(), ArchivoIni::kLongitudMaxima);
        QCOMPARE(LeerParametro(QStringLiteral("Escala"), QStringLiteral("0.01")), QStringLiteral("0.01"));
    }

    void escrituraFallidaSeAvisa()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        IniGeneral = entorno.Ruta(QStringLiteral("no/existe/Corvelax.INI"));
        pruebas::MensajesGrabados mensajes;
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!GrabarParametro(QStringLiteral("Escala"), QStringLiteral("1")));
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QVERIFY(mensajes.UltimoTexto().contains(QStringLiteral("Escala")));
    }

    void discoLlenoDejaElFicheroComoEstaba_data()
    {
        QTest::addColumn<qint64>("cabe");
        QTest::newRow("nada") << qint64(0);
        QTest::newRow("una parte") << qint64(20); // the disk takes the first bytes, then refuses
    }

    void discoLlenoDejaElFicheroComoEstaba()
    {
        QFETCH(qint64, cabe);
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::EscribirFichero(FicheroIni, kAjustes);
        const auto salida = pruebas::ConDiscoLleno(cabe, [] {
            pruebas::MensajesGrabados mensajes;
            mensajes.Responder(Respuesta::Aceptar);
            const bool grabado = GrabarParametro(QStringLiteral("Decimales"), QStringLiteral("5"));
            return QByteArray(grabado ? "1" : "0") + mensajes.UltimoTexto().toUtf8();
        });
        QVERIFY(salida);
        QCOMPARE(salida->left(1), QByteArray("0"));
        const QString aviso = QString::fromUtf8(salida->mid(1));
        QVERIFY2(aviso.contains(QStringLiteral("Decimales")) && aviso.contains(qt_error_string(EFBIG)),
                 qPrintable(aviso));
        QCOMPARE(pruebas::LeerFichero(FicheroIni), kAjustes);
        QCOMPARE(QDir(entorno.Carpeta()).entryList(QDir::Files), QStringList({QStringLiteral("Corvelax.INI")}));
    }

    void valoresQueElFicheroNoAdmite_data()
    {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<QString>("motivo");
        const QString salto = QStringLiteral("salto de línea");
        QTest::newRow("CR LF con otra sección")
            << kAjustes << QStringLiteral("a\r[OTRA]\r\nAUTOCAD=/bin/evil") << salto;
        QTest::newRow("LF") << kAjustes << QStringLiteral("a\nAUTOCAD=/bin/evil") << salto;
        QTest::newRow("CR") << kAjustes << QStringLiteral("a\rAUTOCAD=/bin/evil") << salto;
        QTest::newRow("euro en fichero Latin-1") << QByteArray("; Configuraci\xF3n\r\n") + kAjustes
                                                 << QStringLiteral("/d/5€/") << QStringLiteral("codificación");
        QTest::newRow("Latin-1 que se leería como UTF-8")
            << QByteArray("[PARAMETROS]\r\nDESTINO=/Mu\xF1oz/\r\nAUTOCAD=/opt/cad\r\n")
            << QStringLiteral("/Mu\u00C3\u00B1oz/") << QStringLiteral("codificación");
    }

    void valoresQueElFicheroNoAdmite()
    {
        QFETCH(QByteArray, antes);
        QFETCH(QString, valor);
        QFETCH(QString, motivo);
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::EscribirFichero(FicheroIni, antes);
        pruebas::MensajesGrabados mensajes;
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!GrabarParametro(QStringLiteral("DESTINO"), valor));
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("DESTINO")) && mensajes.UltimoTexto().contains(motivo),
                 qPrintable(mensajes.UltimoTexto()));
        QCOMPARE(pruebas::LeerFichero(FicheroIni), antes);
        QCOMPARE(LeerParametro(QStringLiteral("AUTOCAD")), QStringLiteral("/opt/cad"));
    }

    void codificacionDelFicheroSeConserva_data()
    {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<QByteArray>("anadido"); // the new line, in the file's own encoding
        const QByteArray latino = "AUTOCAD=/Dise\xF1o\r\n", utf8 = "AUTOCAD=/Dise\xC3\xB1o\r\n";
        QTest::newRow("Latin-1") << QByteArray("; C\xF3"
                                               "digo\r\n[PARAMETROS]\r\nDESTINO=/Mu\xF1oz/\r\n")
                                 << latino;
        QTest::newRow("UTF-8") << QByteArray("; C\xC3\xB3"
                                             "digo\r\n[PARAMETROS]\r\nDESTINO=/Mu\xC3\xB1oz/\r\n")
                               << utf8;
        QTest::newRow("retorno suelto antes de U+FEFF")
            << QByteArray("\r\xEF\xBB\xBF[PARAMETROS]\r\nDESTINO=/x\r\n[PARAMETROS]\r\nDESTINO=/Mu\xC3\xB1oz/\r\n")
            << utf8;
        QTest::newRow("UTF-8 con BOM") << QByteArray("\xEF\xBB\xBF[PARAMETROS]\r\nDESTINO=/Mu\xC3\xB1oz/\r\n") << utf8;
    }

    void codificacionDelFicheroSeConserva()
    {
        QFETCH(QByteArray, antes);
        QFETCH(QByteArray, anadido);
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::EscribirFichero(FicheroIni, antes);
        pruebas::MensajesGrabados mensajes;
        QCOMPARE(LeerParametro(QStringLiteral("DESTINO")), QStringLiteral("/Muñoz/"));
        QVERIFY(GrabarParametro(QStringLiteral("AUTOCAD"), QStringLiteral("/Diseño")));
        QVERIFY2(mensajes.Mensajes().isEmpty(), qPrintable(mensajes.UltimoTexto()));
        QCOMPARE(pruebas::LeerFichero(FicheroIni), antes + anadido);
        QCOMPARE(LeerParametro(QStringLiteral("AUTOCAD")), QStringLiteral("/Diseño"));
    }

    void ficheroGrandeNuncaPierdeLineas()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        const QByteArray relleno = "; " + QByteArray(5 * 1024 * 1024, 'x') + "\r\n";
        pruebas::EscribirFichero(FicheroIni, relleno + kAjustes + "[Fin]\r\nx=1\r\n");
        QCOMPARE(LeerParametro(QStringLiteral("AUTOCAD")), QStringLiteral("/opt/cad"));
        QVERIFY(GrabarParametro(QStringLiteral("Decimales"), QStringLiteral("4")));
        QCOMPARE(pruebas::LeerFichero(FicheroIni), relleno + kAjustes + "Decimales=4\r\n[Fin]\r\nx=1\r\n");

        // Too large to be a settings file: refused whole, not cut.
        QFile fichero(FicheroIni);
        QVERIFY(fichero.resize(ArchivoIni::kTamanoMaximo + 1));
        const QByteArray enorme = pruebas::LeerFichero(FicheroIni);
        pruebas::MensajesGrabados mensajes;
        mensajes.Responder(Respuesta::Aceptar);
        QCOMPARE(LeerParametro(QStringLiteral("AUTOCAD")), QString());
        QVERIFY(mensajes.UltimoTexto().startsWith(QStringLiteral("Error al leer el parámetro.")));
        // The write first looks the key up, and says so again.
        mensajes.Responder(Respuesta::Aceptar);
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!GrabarParametro(QStringLiteral("Decimales"), QStringLiteral("2")));
        QCOMPARE(mensajes.Mensajes().size(), 3);
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("demasiado grande")),
                 qPrintable(mensajes.UltimoTexto()));
        QVERIFY(pruebas::LeerFichero(FicheroIni) == enorme);
    }
};

QTEST_MAIN(TstParametros)
#include "tst_Parametros.moc"
