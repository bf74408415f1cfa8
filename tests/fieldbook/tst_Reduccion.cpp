#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "core/TextoNumerico.h"
#include "fieldbook/Reduccion.h"

#include <QTest>

using namespace corvela;

namespace {

// Distance, X, Y and Z as the field book shows them, for the five typed readings
// (middle, upper, lower, horizontal, vertical) taken from a station.
QStringList Reducir(const QStringList& lecturas, const DatosEstacion& estacion)
{
    const auto r =
        ReducirObservacion(ValorNumerico(lecturas[0]), ValorNumerico(lecturas[1]), ValorNumerico(lecturas[2]),
                           ValorNumerico(lecturas[3]), ValorNumerico(lecturas[4]), estacion);
    return {r.Distancia, TextoEntrada(r.X), TextoEntrada(r.Y), TextoEntrada(r.Z)};
}

const QString kPregunta = QStringLiteral(
    "El Hilo Medio no coincide con la MEDIA del Superior e Inferior.\r\n\r\nIntroducido:\t%1\r\nCalculado:\t%2"
    "\r\n\r\n¿Aceptar su Valor introducido? (Pulse NO para corregir la lactura)");

} // namespace

class TstReduccion : public QObject
{
    Q_OBJECT
private slots:
    void ejemplosDeLaLibreta_data()
    {
        QTest::addColumn<QString>("configuracion");
        QTest::addColumn<QStringList>("lecturas");
        QTest::addColumn<QList<double>>("estacion"); // height, X, Y, Z
        QTest::addColumn<QStringList>("esperado");   // distance, X, Y, Z
        const QStringList inclinada{"69,57", "1049,19341876715", "2049,19341876715", "105,525277743789"};
        QTest::newRow("visual inclinada") << "es_ES" << QStringList{"1,500", "1,850", "1,150", "50", "95"}
                                          << QList<double>{1.55, 1000, 2000, 100} << inclinada;
        // The typed texts are read with a comma or a point, and shown with a comma, in any configuration.
        QTest::newRow("configuración C") << "C" << QStringList{"1.500", "1,850", "1.150", "50", "95"}
                                         << QList<double>{1.55, 1000, 2000, 100} << inclinada;
        // Level sight: the cotangent of the converted 100 grads is not exactly 0.
        QTest::newRow("visual horizontal")
            << "es_ES" << QStringList{"1,500", "1,600", "1,400", "0", "100"} << QList<double>{1.5, 1000, 2000, 100}
            << QStringList{"20,0", "1000", "2020", "100"};
        QTest::newRow("sin lecturas") << "es_ES" << QStringList{"", "", "", "", ""}
                                      << QList<double>{1.55, 1000, 2000, 100}
                                      << QStringList{"0,0", "1000", "2000", "101,55"};
        // Calculated apart: V = 50 grads is 45 degrees: sin^2 = 1/2, cot = 1; Hz = 200 looks down -Y.
        QTest::newRow("45 grados hacia -Y")
            << "es_ES" << QStringList{"1,5", "2", "1", "200", "50"} << QList<double>{1.5, 500, 1000, 100}
            << QStringList{"50,0", "500", "950", "150"};
        // Hz = 100 along +X; the level sight's cotangent (about 1.6E-15 with the stored pi) shows in Z at 50 m.
        QTest::newRow("horizontal hacia +X")
            << "es_ES" << QStringList{"1", "1,25", "0,75", "100", "100"} << QList<double>{1.6, 0, 1000, 10}
            << QStringList{"50,0", "50", "1000", "10,6000000000001"};
    }

    void ejemplosDeLaLibreta()
    {
        QFETCH(QString, configuracion);
        QFETCH(QStringList, lecturas);
        QFETCH(QList<double>, estacion);
        QFETCH(QStringList, esperado);
        pruebas::EntornoPrueba entorno(configuracion, false);
        QCOMPARE(Reducir(lecturas, {estacion[0], estacion[1], estacion[2], estacion[3]}), esperado);
    }

    void piezasDeLaReduccion()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        QVERIFY(Cotangente(GradosARadianes(100)) != 0.0);
        QVERIFY(std::abs(Cotangente(GradosARadianes(100))) < 1e-14);
        QCOMPARE(Cotangente(0.0), 0.0);
        // Swapped wires give a negative distance; the reduction ignores the check.
        QCOMPARE(Reducir({"1,5", "1,150", "1,850", "50", "95"}, {1.55, 1000, 2000, 100}).first(),
                 QStringLiteral("-69,57"));
        // Distance rounded half away from zero at two decimals, shown with one at least.
        QCOMPARE(LaDistancia(1.12346, 1, 100), QStringLiteral("12,35"));

        // Typed texts take the comma whatever the configuration.
        pruebas::EntornoPrueba enC(QStringLiteral("C"), false);
        QCOMPARE(PatronEntrada(1.5, QStringLiteral("0.000")), QStringLiteral("1,500"));
        QCOMPARE(LaDistancia(1.12346, 1, 100), QStringLiteral("12,35"));
    }

    void comprobacionDeHilos_data()
    {
        QTest::addColumn<QString>("media");
        QTest::addColumn<QString>("superior");
        QTest::addColumn<QString>("inferior");
        QTest::addColumn<bool>("correcta");
        QTest::addColumn<int>("mensajes");
        QTest::newRow("media entre los hilos") << "1,500"
                                               << "1,850"
                                               << "1,150" << true << 0;
        // Swapped wires fail the three tests; the last one's text, without the full stop, is shown once.
        QTest::newRow("hilos cambiados") << "1,500"
                                         << "1,150"
                                         << "1,850" << false << 1;
        // A middle reading on a wire fails, and is not the mean either: the question follows.
        QTest::newRow("en el hilo superior") << "1,850"
                                             << "1,850"
                                             << "1,150" << false << 2;
        QTest::newRow("en el hilo inferior") << "1,150"
                                             << "1,850"
                                             << "1,150" << false << 2;
        QTest::newRow("tres lecturas iguales") << "1"
                                               << "1"
                                               << "1" << false << 2;
    }

    void comprobacionDeHilos()
    {
        QFETCH(QString, media);
        QFETCH(QString, superior);
        QFETCH(QString, inferior);
        QFETCH(bool, correcta);
        QFETCH(int, mensajes);
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::MensajesGrabados grabados;
        if (mensajes > 0)
            grabados.Responder(Respuesta::Aceptar);
        if (mensajes > 1)
            grabados.Responder(Respuesta::Si);
        Lectura lectura = LecturaDeTexto(media);
        bool ok = true;
        MediaLectura(lectura, LecturaDeTexto(superior), LecturaDeTexto(inferior), ok);
        QCOMPARE(ok, correcta);
        QCOMPARE(grabados.Mensajes().size(), mensajes);
        if (!correcta) {
            const auto& aviso = grabados.Mensajes().first();
            QCOMPARE(aviso.texto, QStringLiteral("Lectura de hilos incorrecta"));
            QVERIFY(aviso.icono == Icono::Informacion && aviso.botones == Botones::Aceptar);
        }
    }

    void preguntaPorLaMedia()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::MensajesGrabados mensajes;
        const Lectura superior = LecturaDeTexto("1,600");
        const Lectura inferior = LecturaDeTexto("1,400");

        // 1,5 is not the text 1,500: the readings pass but the question is asked.
        Lectura media = LecturaDeTexto("1,5");
        bool ok = false;
        mensajes.Responder(Respuesta::Si);
        QCOMPARE(MediaLectura(media, superior, inferior, ok), QStringLiteral("1,500"));
        QVERIFY(ok);
        QCOMPARE(mensajes.UltimoTexto(), kPregunta.arg("1,5", "1,500"));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Pregunta);
        QCOMPARE(mensajes.Mensajes().last().botones, Botones::SiNo);
        QCOMPARE(media.Texto, QStringLiteral("1,5"));

        mensajes.Responder(Respuesta::No);
        MediaLectura(media, superior, inferior, ok);
        QCOMPARE(media.Texto, QStringLiteral("1,500"));
        QCOMPARE(media.Valor, 1.5);

        // The answer never changes the verdict on the wires.
        media = LecturaDeTexto("1,7");
        mensajes.Responder(Respuesta::Aceptar);
        mensajes.Responder(Respuesta::No);
        MediaLectura(media, superior, inferior, ok);
        QVERIFY(!ok);
        QCOMPARE(media.Texto, QStringLiteral("1,500"));

        // A stored reading shown with one decimal is compared by its value, not by its rounded text.
        mensajes.Olvidar();
        media = Lectura{QStringLiteral("1,5"), 1.5, true};
        MediaLectura(media, Lectura{QStringLiteral("1,6"), 1.6, true}, Lectura{QStringLiteral("1,4"), 1.4, true}, ok);
        QVERIFY(ok);
        QVERIFY(mensajes.Mensajes().isEmpty());
    }

    void mediaVaciaCompletada()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::MensajesGrabados mensajes;
        const Lectura superior = LecturaDeTexto("1,600");
        const Lectura inferior = LecturaDeTexto("1,400");
        for (auto [respuesta, esperado] : {std::pair{Respuesta::No, "1,500"}, std::pair{Respuesta::Si, "1,5"}}) {
            mensajes.Olvidar();
            mensajes.Responder(Respuesta::Aceptar);
            mensajes.Responder(respuesta);
            Lectura media = LecturaDeTexto("");
            CompletarLecturaMedia(media, superior, inferior);
            QCOMPARE(mensajes.Mensajes().first().texto, QStringLiteral("Lectura de hilos incorrecta"));
            QCOMPARE(mensajes.UltimoTexto(), kPregunta.arg("", "1,500"));
            QCOMPARE(media.Texto, QString::fromLatin1(esperado));
            QCOMPARE(media.Valor, 1.5);
        }
        // "##0.0##" keeps up to three decimals of the mean.
        mensajes.Olvidar();
        mensajes.Responder(Respuesta::Aceptar);
        mensajes.Responder(Respuesta::Si);
        Lectura media = LecturaDeTexto("");
        CompletarLecturaMedia(media, LecturaDeTexto("1,853"), LecturaDeTexto("1,150"));
        QCOMPARE(media.Texto, QStringLiteral("1,502"));
    }
};

QTEST_GUILESS_MAIN(TstReduccion)
#include "tst_Reduccion.moc"
