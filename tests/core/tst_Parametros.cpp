#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "MensajesGrabados.h"
#include "core/ArchivoIni.h"
#include "core/Globales.h"
#include "core/Parametros.h"

#include <QFile>
#include <QTest>

using namespace corvela;

class TstParametros : public QObject
{
    Q_OBJECT
private slots:
    void decimalesPorDefectoYRedondeo()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        QCOMPARE(NumDecimales, 3);
        QCOMPARE(FormatoDecimales, QStringLiteral("###0.000"));
        QVERIFY(!QFile::exists(FicheroIni));

        const QList<QPair<QString, int>> casos{{QStringLiteral("2,5"), 2}, {QStringLiteral("3,5"), 4},
                                               {QStringLiteral("letras"), 0}, {QString(), 3},
                                               {QStringLiteral("999999"), 15}};
        for (const auto& [texto, decimales] : casos) {
            QVERIFY(GrabarParametro(QStringLiteral("Decimales"), texto));
            CargarDecimales();
            QCOMPARE(NumDecimales, decimales);
        }
        QCOMPARE(FormatoDecimales, QStringLiteral("###0.") + QString(15, u'0'));
        QVERIFY(pruebas::LeerFichero(FicheroIni).startsWith("[PARAMETROS]\r\nDecimales="));
    }

    void clavesSinMayusculasYOtrasLineasIntactas()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::EscribirFichero(FicheroIni, "; notas\r\n[Otra]\r\nAutoCad=no\r\n[parametros]\r\nautocad = /opt/Cad/bin/cad \r\n"
                             "basura sin igual\r\n\r\n[Fin]\r\nx=1\r\n");
        QCOMPARE(LeerParametro(QStringLiteral("AUTOCAD")), QStringLiteral("/opt/Cad/bin/cad"));
        QCOMPARE(LeerParametro(QStringLiteral("Escala"), QStringLiteral("0.01")), QStringLiteral("0.01"));
        QString origen;
        LeerParametro(QStringLiteral("AutoCad"), 4, QString(), origen);
        QCOMPARE(origen, QStringLiteral("S"));
        QCOMPARE(LeerParametro(QStringLiteral("AutoCad"), 4, QString(), origen), QStringLiteral("/opt"));

        QVERIFY(GrabarParametro(QStringLiteral("Escala"), QStringLiteral("0,5")));
        QVERIFY(GrabarParametro(QStringLiteral("AUTOCAD"), QStringLiteral("/usr/bin/librecad")));
        QCOMPARE(pruebas::LeerFichero(FicheroIni), QByteArray("; notas\r\n[Otra]\r\nAutoCad=no\r\n[parametros]\r\nAUTOCAD=/usr/bin/librecad\r\n"
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
};

QTEST_MAIN(TstParametros)
#include "tst_Parametros.moc"
