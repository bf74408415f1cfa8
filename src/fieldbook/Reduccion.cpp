#include "fieldbook/Reduccion.h"

#include "core/Globales.h"
#include "core/Mensajes.h"
#include "core/TextoNumerico.h"

#include <cmath>

namespace corvela {

namespace {

const QString kPatronMedia = QStringLiteral("0.000");
const QString kPatronMediaCompletada = QStringLiteral("##0.0##");

QString PreguntaMedia(const QString& introducido, const QString& calculado)
{
    return QStringLiteral("El Hilo Medio no coincide con la MEDIA del Superior e Inferior.") + SaltoDoble +
           QStringLiteral("Introducido:\t") + introducido + QStringLiteral("\r\n") + QStringLiteral("Calculado:\t") +
           calculado + SaltoDoble +
           QStringLiteral("¿Aceptar su Valor introducido? (Pulse NO para corregir la lactura)");
}

// The middle reading as compared with the mean: what was typed, or a stored
// value in the mean's own pattern, so that the display decimals never raise the
// question on their own.
QString MediaComparable(const Lectura& media)
{
    return media.Guardada ? PatronEntrada(media.Valor, kPatronMedia) : media.Texto;
}

} // namespace

QString SeparadorEntrada()
{
    return QStringLiteral(",");
}

QString TextoEntrada(double valor)
{
    return TextoGeneral(valor, SeparadorEntrada());
}

QString PatronEntrada(double valor, const QString& patron)
{
    QString texto = FormatearPatron(valor, patron);
    return texto.replace(SeparadorDecimal(), SeparadorEntrada());
}

double GradosARadianes(double grados)
{
    const double porGrado = kPi / 180.0;
    const double sexagesimales = (grados * 360.0) / 400.0;
    return porGrado * sexagesimales;
}

double CoordenadaX(double angulo, double distancia, double base)
{
    return base + distancia * std::sin(GradosARadianes(angulo));
}

double CoordenadaY(double angulo, double distancia, double base)
{
    return base + distancia * std::cos(GradosARadianes(angulo));
}

double Cotangente(double x)
{
    const double t = std::tan(x);
    return t == 0.0 ? 0.0 : 1.0 / t;
}

double CoordenadaZ(double altura, double media, double angulo, double distancia, double base)
{
    return ((Cotangente(GradosARadianes(angulo)) * distancia + altura) - media) + base;
}

QString LaDistancia(double superior, double inferior, double vertical)
{
    const double seno = std::sin(GradosARadianes(vertical));
    const double distancia = std::pow(seno, 2) * ((superior - inferior) * kMultiplicadorEstadimetrico);
    return PatronEntrada(distancia, FormatoDistancia);
}

ResultadoReduccion ReducirObservacion(double media, double superior, double inferior, double horizontal,
                                      double vertical, const DatosEstacion& estacion)
{
    ResultadoReduccion r;
    r.Distancia = LaDistancia(superior, inferior, vertical);
    const double d = ValorNumerico(r.Distancia);
    r.X = CoordenadaX(horizontal, d, estacion.X);
    r.Y = CoordenadaY(horizontal, d, estacion.Y);
    r.Z = CoordenadaZ(estacion.Altura, media, vertical, d, estacion.Z);
    return r;
}

Lectura LecturaDeTexto(const QString& texto)
{
    return Lectura{texto, ValorNumerico(texto), false};
}

QString MediaLectura(Lectura& media, const Lectura& superior, const Lectura& inferior, bool& ok)
{
    ok = true;
    QString mensaje;
    if (inferior.Valor > superior.Valor) {
        mensaje = QStringLiteral("Lectura de hilos incorrecta.");
        ok = false;
    }
    if (superior.Valor <= media.Valor) {
        mensaje = QStringLiteral("Lectura de hilos incorrecta");
        ok = false;
    }
    if (inferior.Valor >= media.Valor) {
        mensaje = QStringLiteral("Lectura de hilos incorrecta");
        ok = false;
    }
    if (!mensaje.isEmpty())
        Dialogos().MsgBox(mensaje, Icono::Informacion, Botones::Aceptar);

    const QString textoMedia = PatronEntrada((inferior.Valor + superior.Valor) / 2.0, kPatronMedia);
    if (MediaComparable(media) != textoMedia) {
        const Respuesta r = Dialogos().MsgBox(PreguntaMedia(media.Texto, textoMedia), Icono::Pregunta, Botones::SiNo);
        if (r == Respuesta::No)
            media = LecturaDeTexto(textoMedia);
    }
    return textoMedia;
}

void CompletarLecturaMedia(Lectura& media, const Lectura& superior, const Lectura& inferior)
{
    bool ok = false;
    const QString textoMedia = MediaLectura(media, superior, inferior, ok);
    if (media.Texto.isEmpty())
        media = LecturaDeTexto(PatronEntrada(ValorNumerico(textoMedia), kPatronMediaCompletada));
}

} // namespace corvela
