#pragma once

#include "core/Mensajes.h"

#include <QQueue>
#include <QString>
#include <QVector>
#include <optional>

namespace corvela::pruebas {

// Records every message the program shows and plays the answers a test scripts.
// A message, prompt or picker with no scripted answer fails the running test.
class MensajesGrabados : public Mensajes
{
public:
    struct Mensaje
    {
        QString texto;
        Icono icono;
        Botones botones;
    };

    MensajesGrabados();
    ~MensajesGrabados() override;

    // Answers, in order, for the next message boxes, prompts and pickers.
    void Responder(Respuesta respuesta) { respuestas_.enqueue(respuesta); }
    void Teclear(std::optional<QString> texto) { textos_.enqueue(std::move(texto)); }
    void ElegirRuta(std::optional<QString> ruta) { rutas_.enqueue(std::move(ruta)); }
    // Answer for the next print dialog: true prints.
    void ConfirmarImpresion(bool imprimir) { impresiones_.enqueue(imprimir); }

    Respuesta MsgBox(const QString& texto, Icono icono, Botones botones) override;
    std::optional<QString> InputBox(const QString& pregunta, const QString& porDefecto) override;
    // Takes its answer from the same queue as InputBox.
    std::optional<QString> PedirContrasena(const QString& pregunta) override;
    std::optional<QString> ElegirFichero(const QString& titulo, const QString& inicial) override;
    std::optional<QString> ElegirCarpeta(const QString& titulo, const QString& inicial) override;
    std::optional<QString> GuardarFichero(const QString& titulo, const QString& inicial,
                                          const QString& filtro) override;
    bool ElegirImpresora(QPrinter& impresora) override;

    const QVector<Mensaje>& Mensajes() const { return mensajes_; }
    const QStringList& Preguntas() const { return preguntas_; }
    // What each prompt and picker offered: the default answer or the starting path.
    QStringList propuestas;
    // The name filter of each save picker.
    QStringList filtros;
    QString UltimoTexto() const { return mensajes_.isEmpty() ? QString() : mensajes_.last().texto; }
    void Olvidar()
    {
        mensajes_.clear();
        preguntas_.clear();
    }
    bool SinRespuestasPendientes() const
    {
        return respuestas_.isEmpty() && textos_.isEmpty() && rutas_.isEmpty() && impresiones_.isEmpty();
    }

private:
    QVector<Mensaje> mensajes_;
    QStringList preguntas_;
    QQueue<Respuesta> respuestas_;
    QQueue<std::optional<QString>> textos_;
    QQueue<std::optional<QString>> rutas_;
    QQueue<bool> impresiones_;
};

} // namespace corvela::pruebas
