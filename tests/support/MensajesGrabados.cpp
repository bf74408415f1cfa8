#include "MensajesGrabados.h"

#include <QTest>

namespace corvela::pruebas {

MensajesGrabados::MensajesGrabados()
{
    InstalarDialogos(this);
}

MensajesGrabados::~MensajesGrabados()
{
    InstalarDialogos(nullptr);
    // An answer nobody asked for: the test scripts a dialog the program no longer shows.
    if (!SinRespuestasPendientes() && QTest::currentTestFunction() && !QTest::currentTestFailed())
        QTest::qFail("respuestas preparadas que ningún diálogo ha usado", __FILE__, __LINE__);
}

Respuesta MensajesGrabados::MsgBox(const QString& texto, Icono icono, Botones botones)
{
    mensajes_.push_back({texto, icono, botones});
    if (!respuestas_.isEmpty())
        return respuestas_.dequeue();
    QTest::qFail(qPrintable(QStringLiteral("mensaje inesperado: ") + texto), __FILE__, __LINE__);
    return botones == Botones::SiNo ? Respuesta::No : Respuesta::Aceptar;
}

namespace {

// The next scripted answer of a queue; fails the running test when there is none.
template <typename T> T Siguiente(QQueue<T>& cola, const QString& pregunta, T sinRespuesta = {})
{
    if (!cola.isEmpty())
        return cola.dequeue();
    QTest::qFail(qPrintable(QStringLiteral("diálogo inesperado: ") + pregunta), __FILE__, __LINE__);
    return sinRespuesta;
}

} // namespace

std::optional<QString> MensajesGrabados::InputBox(const QString& pregunta, const QString& porDefecto)
{
    preguntas_ << pregunta;
    propuestas << porDefecto;
    return Siguiente(textos_, pregunta);
}

std::optional<QString> MensajesGrabados::PedirContrasena(const QString& pregunta)
{
    return InputBox(pregunta, QString());
}

std::optional<QString> MensajesGrabados::ElegirFichero(const QString& titulo, const QString& inicial)
{
    preguntas_ << titulo;
    propuestas << inicial;
    return Siguiente(rutas_, titulo);
}

std::optional<QString> MensajesGrabados::ElegirCarpeta(const QString& titulo, const QString& inicial)
{
    return ElegirFichero(titulo, inicial);
}

std::optional<QString> MensajesGrabados::GuardarFichero(const QString& titulo, const QString& inicial,
                                                        const QString& filtro)
{
    filtros << filtro;
    return ElegirFichero(titulo, inicial);
}

bool MensajesGrabados::ElegirImpresora(QPrinter&)
{
    preguntas_ << QStringLiteral("Imprimir");
    return Siguiente(impresiones_, QStringLiteral("Imprimir"), false);
}

} // namespace corvela::pruebas
