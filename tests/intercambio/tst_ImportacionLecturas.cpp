#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "core/TextoNumerico.h"
#include "fieldbook/PuntosEstacion.h"
#include "fieldbook/Reduccion.h"
#include "intercambio/ExportacionCsv.h"
#include "intercambio/ImportacionLecturas.h"
#include "records/AccesoDatos.h"
#include "records/ErrorDatos.h"

#include <QTest>
#include <cstring>

using namespace corvela;

namespace {

const QByteArray kCabecera = "Punto;Rese\xC3\xB1"
                             "a;Media;Superior;Inferior;Angulo H.;A. Vert.;Notas\r\n";
const QByteArray kFilaBuena = "1;poste;1,500;1,850;1,150;50;95;\r\n";
const DatosEstacion kEstacion{1.55, 1000.0, 2000.0, 100.0};

// Work 1, station 1 at kEstacion, holding point 5.
void CrearEstacion(int estacion = 1, const DatosEstacion& datos = kEstacion)
{
    pruebas::InsertarEstacion(1, estacion);
    QVERIFY(EjecutarAccion(QStringLiteral("UPDATE B_ESTACIONES SET ALTAPAR=?, COORDX=?, COORDY=?, COORDZ=? "
                                          "WHERE CODOBRA=1 AND CODEST=?"),
                           {datos.Altura, datos.X, datos.Y, datos.Z, estacion}));
}

qint64 PuntosDe(int estacion)
{
    return pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM B_PUNTOS WHERE CODOBRA=1 AND CODEST=?"), {estacion})
        .toLongLong();
}

bool MismoDouble(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A point as the field book stores it when typed: readings and angles as typed,
// the distance as shown, the coordinates from it.
Punto PuntoTecleado(int codigo, double media, double superior, double inferior, double hz, double v,
                    const DatosEstacion& estacion)
{
    const ResultadoReduccion r = ReducirObservacion(media, superior, inferior, hz, v, estacion);
    Punto p;
    p.Codigo = codigo;
    p.Numeros = {media, superior, inferior, hz, v, ValorNumerico(r.Distancia), r.X, r.Y, r.Z};
    return p;
}

struct Escena
{
    Escena()
    {
        CrearEstacion();
        Punto cinco = PuntoTecleado(5, 1.5, 1.6, 1.4, 0, 100, kEstacion);
        PuntosEstacion(1, 1).Insertar(cinco);
    }
    QString Escribir(const QByteArray& bytes)
    {
        const QString ruta = entorno.Ruta(QStringLiteral("lecturas.csv"));
        pruebas::EscribirFichero(ruta, bytes);
        return ruta;
    }
    pruebas::EntornoPrueba entorno;
};

} // namespace

class TstImportacionLecturas : public QObject
{
    Q_OBJECT
private slots:
    // Each bad row is reported with its line and reason, and nothing is written.
    void filasErroneas_data()
    {
        QTest::addColumn<QByteArray>("fila");
        QTest::addColumn<QString>("motivo");
        const QByteArray largo(10000, '1');
        QTest::newRow("número ilegible") << QByteArray("7;;1,500;1,85x;1,150;50;95;")
                                         << QStringLiteral("número ilegible en Superior");
        QTest::newRow("número de 10.000 cifras")
            << "7;;" + largo + ";1,850;1,150;50;95;" << QStringLiteral("número ilegible en Media");
        QTest::newRow("código con decimales") << QByteArray("\"7,5\";;1,500;1,850;1,150;50;95;")
                                              << QStringLiteral("Punto «7,5» no es un número entero mayor que cero");
        QTest::newRow("código cero") << QByteArray("0;;1,500;1,850;1,150;50;95;")
                                     << QStringLiteral("Punto «0» no es un número entero mayor que cero");
        QTest::newRow("repetido en el fichero")
            << QByteArray("1;;1,500;1,850;1,150;50;95;") << QStringLiteral("el punto 1 ya está en la línea 2");
        QTest::newRow("ya en la estación")
            << QByteArray("5;;1,500;1,850;1,150;50;95;") << QStringLiteral("el punto 5 ya existe en la estación");
        QTest::newRow("hilos desordenados")
            << QByteArray("7;;1,500;1,150;1,850;50;95;")
            << QStringLiteral("lectura de hilos incorrecta: ha de ser Inferior < Media < Superior");
        QTest::newRow("medio que no es la media")
            << QByteArray("7;;1,5;1,850;1,148;50;95;")
            << QStringLiteral("el hilo medio 1,500 no coincide con la media del superior e inferior, 1,499");
        QTest::newRow("las dos faltas de los hilos")
            << QByteArray("7;;2;1,850;1,150;50;95;")
            << QStringLiteral("lectura de hilos incorrecta: ha de ser Inferior < Media < Superior; "
                              "el hilo medio 2,000 no coincide con la media del superior e inferior, 1,500");
        QTest::newRow("reseña de 10.000 caracteres")
            << "7;" + QByteArray(10000, 'x') + ";1,500;1,850;1,150;50;95;"
            << QStringLiteral("Reseña tiene 10000 caracteres y la base de datos admite 50");
        QTest::newRow("salto de línea entre comillas")
            << QByteArray("7;\"dos\r\nlíneas\";1,500;1,850;1,150;50;95;") << QStringLiteral("salto de línea en Reseña");
        QTest::newRow("campos de menos") << QByteArray("7;;1,500")
                                         << QStringLiteral("la fila tiene 3 campos y la cabecera 8");
        QTest::newRow("comillas sin cerrar")
            << QByteArray("7;\"abierta;1,500;1,850;1,150;50;95;")
            << QStringLiteral("comillas sin cerrar desde esta línea hasta el final del fichero");
    }

    void filasErroneas()
    {
        QFETCH(QByteArray, fila);
        QFETCH(QString, motivo);
        Escena escena;
        const QString ruta = escena.Escribir(kCabecera + kFilaBuena + fila + "\r\n8;;1,500;1,850;1,150;50;95;\r\n");

        const AnalisisLecturas a = AnalizarLecturas(ruta, 1, 1);
        QVERIFY(a.ErrorFichero.isEmpty());
        QVERIFY(!a.Aceptable());
        QCOMPARE(a.Erroneas.size(), 1);
        QCOMPARE(a.Erroneas[0].Linea, 3);
        QCOMPARE(a.Erroneas[0].Motivo, motivo);
        QCOMPARE(a.Buenos.first().Codigo, 1);

        QVERIFY(!ImportarLecturas(a, 1, 1));
        QCOMPARE(ErrorPendiente().Numero, kErrorLecturasNoAceptables);
        LimpiarError();
        QCOMPARE(PuntosDe(1), 1);
    }

    void ficherosInservibles_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QString>("error");
        const QString columnas = QStringLiteral(". Ha de llevar los títulos Punto, Reseña, Media, Superior, Inferior, "
                                                "Angulo H., A. Vert. y Notas, separados por «;» o por «,».");
        QTest::newRow("vacío") << QByteArray() << QStringLiteral("El fichero «lecturas.csv» está vacío.");
        QTest::newRow("líneas en blanco")
            << QByteArray("\r\n \r\n") << QStringLiteral("El fichero «lecturas.csv» está vacío.");
        QTest::newRow("binario") << QByteArray("PK\x03\x04\x00\x00\x08\x00", 8)
                                 << QStringLiteral("El fichero «lecturas.csv» no es un fichero de texto.");
        QTest::newRow("otras columnas")
            << QByteArray("Punto;Descripcion;X;Y;Z\r\n1;a;1;2;3\r\n")
            << QStringLiteral("La primera línea del fichero «lecturas.csv» no nombra las columnas Reseña, Media, "
                              "Superior, Inferior, Angulo H., A. Vert., Notas") +
                   columnas;
        QTest::newRow("sin cabecera") << kFilaBuena
                                      << QStringLiteral("La primera línea del fichero «lecturas.csv» no nombra las "
                                                        "columnas Punto, Reseña, Media, Superior, Inferior, "
                                                        "Angulo H., A. Vert., Notas") +
                                             columnas;
        QTest::newRow("columna repetida")
            << QByteArray("Punto;Media;Reseña;Media;Superior;Inferior;Angulo H.;A. Vert.;Notas\r\n")
            << QStringLiteral("La columna «Media» aparece dos veces en la cabecera (línea 1) del fichero "
                              "«lecturas.csv».");
        QTest::newRow("solo la cabecera") << kCabecera + "\r\n;;;;;;;\r\n"
                                          << QStringLiteral("El fichero «lecturas.csv» no tiene ninguna lectura bajo "
                                                            "la cabecera.");
    }

    void ficherosInservibles()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, error);
        Escena escena;
        const AnalisisLecturas a = AnalizarLecturas(escena.Escribir(contenido), 1, 1);
        QCOMPARE(a.ErrorFichero, error);
        QVERIFY(a.Buenos.isEmpty() && a.Erroneas.isEmpty());
        QVERIFY(!ImportarLecturas(a, 1, 1));
        LimpiarError();
        QCOMPARE(PuntosDe(1), 1);
    }

    void sinFicheroNiEstacion()
    {
        Escena escena;
        QCOMPARE(AnalizarLecturas(escena.entorno.Ruta(QStringLiteral("no.csv")), 1, 1).ErrorFichero,
                 QStringLiteral("No existe el fichero «no.csv»."));
        QCOMPARE(AnalizarLecturas(escena.Escribir(kCabecera + kFilaBuena), 1, 9).ErrorFichero,
                 QStringLiteral("La ESTACIÓN 9 de la OBRA 1 no existe."));
    }

    // What spreadsheets and other programs write is read alike.
    void variantesLegibles_data()
    {
        QTest::addColumn<QByteArray>("contenido");
        QTest::addColumn<QString>("resena");
        QTest::addColumn<bool>("windows1252");
        QTest::newRow("marca de orden, CRLF") << "\xEF\xBB\xBF" + kCabecera + kFilaBuena + "2;;1,5;1,6;1,4;0;100;\r\n"
                                              << QStringLiteral("poste") << false;
        QTest::newRow("coma y punto decimal, LF, sin fin de línea")
            << QByteArray("Punto,Rese\xC3\xB1"
                          "a,Media,Superior,Inferior,Angulo H.,A. Vert.,Notas\n"
                          "1,\"poste, bajo\",1.500,1.850,1.150,50,95,\n2,,1.5,1.6,1.4,0,100,")
            << QStringLiteral("poste, bajo") << false;
        QTest::newRow("títulos en otro orden, mayúsculas, acentos, columnas de más")
            << QByteArray(" \xC3\x81ngulo h. ;PUNTO;X;rese\xC3\xB1"
                          "a;MEDIA;superior;inferior; A. VERT.;Notas\r\n"
                          "50;1;9;poste;1,500;1,850;1,150;95;\r\n0;2;9;;1,5;1,6;1,4;100;\r\n")
            << QStringLiteral("poste") << false;
        QTest::newRow("Windows-1252") << QByteArray("Punto;Rese\xF1"
                                                    "a;Media;Superior;Inferior;Angulo H.;A. Vert.;"
                                                    "Notas\r\n1;Se\xF1"
                                                    "al \x80;1.500;1,850;1,150;50;95;\r\n"
                                                    "2;;1,5;1,6;1,4;0;100;\r\n")
                                      << QStringLiteral("Señal €") << true;
        QTest::newRow("medio vacío, completado con la media") << kCabecera + "1;poste;;1,850;1,150;50;95;\r\n"
                                                                             "2;;;1,6;1,4;0;100;\r\n"
                                                              << QStringLiteral("poste") << false;
        QTest::newRow("filas en blanco al final") << kCabecera + kFilaBuena + "2;;1,5;1,6;1,4;0;100;\r\n;;;;;;;\r\n\r\n"
                                                  << QStringLiteral("poste") << false;
    }

    void variantesLegibles()
    {
        QFETCH(QByteArray, contenido);
        QFETCH(QString, resena);
        QFETCH(bool, windows1252);
        Escena escena;
        const AnalisisLecturas a = AnalizarLecturas(escena.Escribir(contenido), 1, 1);
        QVERIFY2(a.Aceptable(), qPrintable(a.ErrorFichero + (a.Erroneas.isEmpty() ? QString() : a.Erroneas[0].Motivo)));
        QCOMPARE(a.Windows1252, windows1252);
        QCOMPARE(a.Buenos.size(), 2);
        QCOMPARE(a.Buenos[0].Resena, resena);
        const Punto tecleado = PuntoTecleado(1, 1.5, 1.85, 1.15, 50, 95, kEstacion);
        for (int i = 0; i < kNumerosPunto; ++i)
            QVERIFY2(MismoDouble(a.Buenos[0].Numeros[i], tecleado.Numeros[i]), qPrintable(QString::number(i)));
        QCOMPARE(a.Buenos[0].Numeros[kDistancia], 69.57);

        QVERIFY(ImportarLecturas(a, 1, 1));
        QCOMPARE(PuntosDe(1), 3);
    }

    // Export of the field book, import into an empty station at the same place:
    // every stored value comes back the same, to the last bit.
    void idaYVueltaExacta_data()
    {
        QTest::addColumn<QChar>("separador");
        QTest::addColumn<QChar>("decimal");
        QTest::newRow("punto y coma") << QChar(u';') << QChar(u',');
        QTest::newRow("coma") << QChar(u',') << QChar(u'.');
    }

    void idaYVueltaExacta()
    {
        QFETCH(QChar, separador);
        QFETCH(QChar, decimal);
        pruebas::EntornoPrueba entorno;
        QRandomGenerator azar = pruebas::AzarSembrado();
        const DatosEstacion estacion{1 + azar.generateDouble(), 400000 + azar.generateDouble() * 1e5,
                                     4e6 + azar.generateDouble() * 1e5, azar.generateDouble() * 900};
        CrearEstacion(1, estacion);
        CrearEstacion(2, estacion);
        const QStringList textos{QStringLiteral(""), QStringLiteral("a;b,c"), QStringLiteral("\"citado\""),
                                 QStringLiteral(" borde "), QStringLiteral("Señal Ñ ü €")};
        const PuntosEstacion origen(1, 1);
        for (int codigo = 1; codigo <= 300; codigo += 1 + azar.bounded(3)) {
            const double inferior = azar.generateDouble() * 3;
            const double superior = inferior + 0.01 + azar.generateDouble() * 2;
            Punto p = PuntoTecleado(codigo, (inferior + superior) / 2, superior, inferior, azar.generateDouble() * 400,
                                    50 + azar.generateDouble() * 100, estacion);
            p.Resena = textos[azar.bounded(textos.size())];
            p.Notas = textos[azar.bounded(textos.size())];
            QVERIFY(origen.Insertar(p));
        }
        // A number beyond plain digits is written with its exponent, and read back.
        QVERIFY(origen.Insertar(PuntoTecleado(999, 1.5, 1.6, 1.4, 3.1473440334790796e+247, 100, estacion)));

        const QString ruta = entorno.Ruta(QStringLiteral("libreta.csv"));
        QCOMPARE(ExportarLibretaCsv(1, FormatoCsv{separador, decimal}, ruta, nullptr), ResultadoCsv::Escrito);
        const AnalisisLecturas a = AnalizarLecturas(ruta, 1, 2);
        QVERIFY2(a.Aceptable(), qPrintable(a.ErrorFichero + (a.Erroneas.isEmpty() ? QString() : a.Erroneas[0].Motivo)));
        QVERIFY(ImportarLecturas(a, 1, 2));

        const QVector<Punto> antes = *origen.Leer();
        const QVector<Punto> despues = *PuntosEstacion(1, 2).Leer();
        QCOMPARE(despues.size(), antes.size());
        for (int i = 0; i < antes.size(); ++i) {
            QCOMPARE(despues[i].Codigo, antes[i].Codigo);
            QCOMPARE(despues[i].Resena, antes[i].Resena);
            QCOMPARE(despues[i].Notas, antes[i].Notas);
            for (int n = 0; n < kNumerosPunto; ++n)
                QVERIFY2(MismoDouble(despues[i].Numeros[n], antes[i].Numeros[n]),
                         qPrintable(QStringLiteral("punto %1, número %2").arg(antes[i].Codigo).arg(n)));
        }
    }

    // A point that appears in the station after the analysis makes the whole import fail.
    void todoONada()
    {
        Escena escena;
        const AnalisisLecturas a =
            AnalizarLecturas(escena.Escribir(kCabecera + kFilaBuena + "2;;1,5;1,6;1,4;0;100;\r\n"), 1, 1);
        QVERIFY(a.Aceptable());
        Punto dos = PuntoTecleado(2, 1.5, 1.6, 1.4, 0, 100, kEstacion);
        QVERIFY(PuntosEstacion(1, 1).Insertar(dos));

        // Nor does the failed import leave its statement behind on a server.
        const QString preparadas = QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements");
        const int antes = pruebas::EnServidor() ? pruebas::Consultar(preparadas).toInt() : 0;
        QVERIFY(!ImportarLecturas(a, 1, 1));
        QVERIFY(ErrorPendiente().Hay());
        LimpiarError();
        QCOMPARE(PuntosDe(1), 2);
        if (pruebas::EnServidor())
            QCOMPARE(pruebas::Consultar(preparadas).toInt(), antes);
    }
};

QTEST_MAIN(TstImportacionLecturas)
#include "tst_ImportacionLecturas.moc"
