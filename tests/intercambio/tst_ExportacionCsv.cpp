#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "ProgresoQueCancela.h"
#include "SalidaEnAmbosMotores.h"
#include "cad/ProgresoScript.h"
#include "intercambio/ExportacionCsv.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QSqlQuery>
#include <QTest>

using namespace corvela;

namespace {

void InsertarPunto(int estacion, int punto, const QVariant& x, const QVariant& y, const QVariant& z,
                   const QString& resena)
{
    QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, CC1, CC2, CC3, RESENA) "
                                          "VALUES (1, ?, ?, ?, ?, ?, ?)"),
                           {estacion, punto, x, y, z, resena}));
}

// Values that need every rule: the separators, quotes, blanks at the ends, a
// missing number, digits beyond 15, large and small magnitudes.
void InsertarEjemplo()
{
    pruebas::InsertarEstacion(1, 1);
    pruebas::InsertarEstacion(1, 12);
    QVERIFY(EjecutarAccion(QStringLiteral("UPDATE B_ESTACIONES SET DESCEST=?, FECHA=?, ALTAPAR=?, COORDX=? "
                                          "WHERE CODEST=12"),
                           {QStringLiteral("Eje; \"norte\""), QStringLiteral("3/5/2024"), 1.55, 0.1 + 0.2}));
    InsertarPunto(12, 3, 4500000.0, 1049.19341876715, QVariant(), QStringLiteral(" Señal, pozo "));
    InsertarPunto(1, 2, -0.000125, 1e20, 100.0, QStringLiteral("dijo \"aquí\""));
}

} // namespace

class TstExportacionCsv : public QObject
{
    Q_OBJECT
private slots:
    // The same numbers and texts, read from a SQLite file or from a server, give the same files.
    void mismosFicherosEnAmbosMotores()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        const auto salidas =
            pruebas::SalidaEnAmbosMotores(entorno, mensajes, pruebas::LlenarObraExigente, [](const QString& ruta) {
                const QString libreta = ruta + QStringLiteral(".libreta");
                QCOMPARE(ExportarPuntosCsv(1, FormatoCsv{}, ruta, nullptr), ResultadoCsv::Escrito);
                QCOMPARE(ExportarLibretaCsv(1, FormatoCsv{}, libreta, nullptr), ResultadoCsv::Escrito);
                pruebas::EscribirFichero(ruta, pruebas::LeerFichero(ruta) + pruebas::LeerFichero(libreta));
            });
        QVERIFY(salidas.local.contains("0,30000000000000004"));
        QCOMPARE(salidas.destino, salidas.local);
    }

    void ficheroByteAByte_data()
    {
        QTest::addColumn<QChar>("separador");
        QTest::addColumn<QChar>("decimal");
        QTest::addColumn<QByteArray>("pnezd");
        QTest::addColumn<QByteArray>("libreta");
        QTest::newRow("punto y coma, coma decimal")
            << QChar(u';') << QChar(u',')
            << QByteArray("Punto;Norte (Y);Este (X);Cota (Z);Rese\xC3\xB1"
                          "a\r\n"
                          "1-2;1e+20;-0,000125;100;\"dijo \"\"aqu\xC3\xAD\"\"\"\r\n"
                          "12-3;1049,19341876715;4500000;;\" Se\xC3\xB1"
                          "al, pozo \"\r\n")
            << QByteArray("C. Obra;C. Estc.;Descripci\xC3\xB3n;Fecha;Altura;C. X;C. Y;C. Z;Punto;Rese\xC3\xB1"
                          "a;"
                          "Media;Superior;Inferior;Angulo H.;A. Vert.;Distancia;X;Y;Z;Notas\r\n"
                          "1;1;;;;;;;2;\"dijo \"\"aqu\xC3\xAD\"\"\";;;;;;;-0,000125;1e+20;100;\r\n"
                          "1;12;\"Eje; \"\"norte\"\"\";3/5/2024;1,55;0,30000000000000004;;;3;"
                          "\" Se\xC3\xB1"
                          "al, pozo \";;;;;;;4500000;1049,19341876715;;\r\n");
        QTest::newRow("coma, punto decimal")
            << QChar(u',') << QChar(u'.')
            << QByteArray("Punto,Norte (Y),Este (X),Cota (Z),Rese\xC3\xB1"
                          "a\r\n"
                          "1-2,1e+20,-0.000125,100,\"dijo \"\"aqu\xC3\xAD\"\"\"\r\n"
                          "12-3,1049.19341876715,4500000,,\" Se\xC3\xB1"
                          "al, pozo \"\r\n")
            << QByteArray("C. Obra,C. Estc.,Descripci\xC3\xB3n,Fecha,Altura,C. X,C. Y,C. Z,Punto,Rese\xC3\xB1"
                          "a,"
                          "Media,Superior,Inferior,Angulo H.,A. Vert.,Distancia,X,Y,Z,Notas\r\n"
                          "1,1,,,,,,,2,\"dijo \"\"aqu\xC3\xAD\"\"\",,,,,,,-0.000125,1e+20,100,\r\n"
                          "1,12,\"Eje; \"\"norte\"\"\",3/5/2024,1.55,0.30000000000000004,,,3,"
                          "\" Se\xC3\xB1"
                          "al, pozo \",,,,,,,4500000,1049.19341876715,,\r\n");
    }

    void ficheroByteAByte()
    {
        QFETCH(QChar, separador);
        QFETCH(QChar, decimal);
        QFETCH(QByteArray, pnezd);
        QFETCH(QByteArray, libreta);
        pruebas::EntornoPrueba entorno;
        InsertarEjemplo();
        const FormatoCsv formato{separador, decimal};
        const QString ruta = entorno.Ruta(QStringLiteral("puntos.csv"));
        qint64 filas = 0;

        QCOMPARE(ExportarPuntosCsv(1, formato, ruta, nullptr, &filas), ResultadoCsv::Escrito);
        QCOMPARE(filas, 2);
        QCOMPARE(pruebas::LeerFichero(ruta), pnezd);
        QCOMPARE(ExportarLibretaCsv(1, formato, ruta, nullptr, &filas), ResultadoCsv::Escrito);
        QCOMPARE(filas, 2);
        QCOMPARE(pruebas::LeerFichero(ruta), libreta);
    }

    // Whatever stops an export, the file that was there stays as it was.
    void elFicheroAnteriorSobreviveATodoFallo()
    {
        pruebas::EntornoPrueba entorno;
        const QString ruta = entorno.Ruta(QStringLiteral("libreta.csv"));
        pruebas::EscribirFichero(ruta, "anterior");
        pruebas::InsertarEstacion(1, 1);
        pruebas::InsertarEstacion(2, 1);

        QCOMPARE(ExportarLibretaCsv(1, FormatoCsv{}, ruta, nullptr), ResultadoCsv::SinPuntos);
        QCOMPARE(pruebas::LeerFichero(ruta), QByteArray("anterior"));

        {
            Transaccion transaccion;
            for (int p = 1; p <= 5000; ++p)
                InsertarPunto(1, p, p * 1.5, p * 2.5, 1.0, QStringLiteral("p"));
            QVERIFY(transaccion.Confirmar());
        }
        pruebas::ProgresoQueCancela cancela;
        QCOMPARE(ExportarLibretaCsv(1, FormatoCsv{}, ruta, &cancela), ResultadoCsv::Cancelado);
        QCOMPARE(ExportarPuntosCsv(1, FormatoCsv{}, ruta, &cancela), ResultadoCsv::Cancelado);
        QCOMPARE(pruebas::LeerFichero(ruta), QByteArray("anterior"));

        QString detalle;
        QCOMPARE(ExportarPuntosCsv(1, FormatoCsv{}, entorno.Ruta(QStringLiteral("no/hay/carpeta.csv")), nullptr,
                                   nullptr, &detalle),
                 ResultadoCsv::FalloEscritura);
        QVERIFY(!detalle.isEmpty());
        QCOMPARE(ExportarPuntosCsv(2, FormatoCsv{}, ruta, nullptr), ResultadoCsv::SinPuntos);
        QCOMPARE(pruebas::LeerFichero(ruta), QByteArray("anterior"));

        // Points that cannot be read say why, and write nothing.
        QVERIFY(QSqlQuery(BaseDatos()).exec(QStringLiteral("ALTER TABLE B_PUNTOS RENAME COLUMN CC1 TO OTRA")));
        detalle.clear();
        QCOMPARE(ExportarPuntosCsv(1, FormatoCsv{}, ruta, nullptr, nullptr, &detalle), ResultadoCsv::FalloLectura);
        QVERIFY2(detalle.contains(QStringLiteral("CC1"), Qt::CaseInsensitive), qPrintable(detalle));
        QCOMPARE(pruebas::LeerFichero(ruta), QByteArray("anterior"));
        LimpiarError();
    }
};

QTEST_MAIN(TstExportacionCsv)
#include "tst_ExportacionCsv.moc"
