#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "core/TextoNumerico.h"
#include "fieldbook/Reduccion.h"

#include <QTest>

using namespace corvela;

namespace {

struct Textos
{
    QString distancia, x, y, z;
};

Textos Reducir(const QString& media, const QString& superior, const QString& inferior, const QString& horizontal,
               const QString& vertical, const DatosEstacion& estacion)
{
    const auto r = ReducirObservacion(ValorNumerico(media), ValorNumerico(superior), ValorNumerico(inferior),
                                      ValorNumerico(horizontal), ValorNumerico(vertical), estacion);
    return {r.Distancia, TextoEntrada(r.X), TextoEntrada(r.Y), TextoEntrada(r.Z)};
}

void CompararTextos(const Textos& obtenido, const Textos& esperado)
{
    QCOMPARE(obtenido.distancia, esperado.distancia);
    QCOMPARE(obtenido.x, esperado.x);
    QCOMPARE(obtenido.y, esperado.y);
    QCOMPARE(obtenido.z, esperado.z);
}

const QString kPregunta = QStringLiteral(
    "El Hilo Medio no coincide con la MEDIA del Superior e Inferior.\r\n\r\nIntroducido:\t%1\r\nCalculado:\t%2"
    "\r\n\r\n¿Aceptar su Valor introducido? (Pulse NO para corregir la lactura)");

}  // namespace

class TstReduccion : public QObject
{
    Q_OBJECT
private slots:
    void ejemplosDeLaLibreta()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        const DatosEstacion estacion{1.55, 1000, 2000, 100};
        CompararTextos(Reducir("1,500", "1,850", "1,150", "50", "95", estacion),
                       {"69,57", "1049,19341876715", "2049,19341876715", "105,525277743789"});
        // Level sight: the cotangent of the converted 100 grads is not exactly 0.
        QVERIFY(Cotangente(GradosARadianes(100)) != 0.0);
        QVERIFY(std::abs(Cotangente(GradosARadianes(100))) < 1e-14);
        CompararTextos(Reducir("1,500", "1,600", "1,400", "0", "100", {1.5, 1000, 2000, 100}),
                       {"20,0", "1000", "2020", "100"});
        CompararTextos(Reducir("", "", "", "", "", estacion), {"0,0", "1000", "2000", "101,55"});
        // Swapped wires give a negative distance; the reduction ignores the check.
        QCOMPARE(Reducir("1,5", "1,150", "1,850", "50", "95", estacion).distancia, QStringLiteral("-69,57"));
        QCOMPARE(Cotangente(0.0), 0.0);

        // Calculated apart: V = 50 grads is 45 degrees: sin^2 = 1/2, cot = 1; Hz = 200 looks down -Y; Hz = 100 along +X.
        CompararTextos(Reducir("1,5", "2", "1", "200", "50", {1.5, 500, 1000, 100}), {"50,0", "500", "950", "150"});
        // The level sight's cotangent (about 1.6E-15 with the stored pi) shows in Z at 50 m.
        CompararTextos(Reducir("1", "1,25", "0,75", "100", "100", {1.6, 0, 1000, 10}),
                       {"50,0", "50", "1000", "10,6000000000001"});
        // Distance rounded half away from zero at two decimals, shown with one at least.
        QCOMPARE(LaDistancia(1.12346, 1, 100), QStringLiteral("12,35"));
        QCOMPARE(GradosARadianes(400), 2 * kPi);
    }

    void textosConComaEnCualquierConfiguracion()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("C"), false);
        CompararTextos(Reducir("1.500", "1,850", "1.150", "50", "95", {1.55, 1000, 2000, 100}),
                       {"69,57", "1049,19341876715", "2049,19341876715", "105,525277743789"});
        QCOMPARE(PatronEntrada(1.5, QStringLiteral("0.000")), QStringLiteral("1,500"));
    }

    void comprobacionDeHilos()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::MensajesGrabados mensajes;
        auto comprobar = [&](const char* m, const char* s, const char* i) {
            mensajes.Olvidar();
            Lectura media = LecturaDeTexto(m);
            bool ok = true;
            MediaLectura(media, LecturaDeTexto(s), LecturaDeTexto(i), ok);
            return ok;
        };
        QVERIFY(comprobar("1,500", "1,850", "1,150"));
        QVERIFY(mensajes.Mensajes().isEmpty());

        // Swapped wires fail the three tests; the last one's text, without the full stop, is shown once.
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!comprobar("1,500", "1,150", "1,850"));
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Lectura de hilos incorrecta"));
        QCOMPARE(mensajes.Mensajes().first().icono, Icono::Informacion);
        QCOMPARE(mensajes.Mensajes().first().botones, Botones::Aceptar);

        // A middle reading on a wire fails, and is not the mean either: the question follows.
        for (auto [m, s, i] : {std::tuple{"1,850", "1,850", "1,150"}, std::tuple{"1,150", "1,850", "1,150"},
                               std::tuple{"1", "1", "1"}}) {
            mensajes.Responder(Respuesta::Aceptar);
            mensajes.Responder(Respuesta::Si);
            QVERIFY(!comprobar(m, s, i));
            QCOMPARE(mensajes.Mensajes().size(), 2);
            QCOMPARE(mensajes.Mensajes().first().texto, QStringLiteral("Lectura de hilos incorrecta"));
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
