#pragma once

#include "core/Mensajes.h"

namespace corvela {

// Messages of a run without windows: every text goes to the standard error,
// every question is answered no and every prompt or picker is cancelled, so
// nothing is created, retried or chosen without the user.
class MensajesConsola : public Mensajes
{
public:
    Respuesta MsgBox(const QString& texto, Icono icono, Botones botones) override;
    std::optional<QString> InputBox(const QString& pregunta, const QString& porDefecto) override;
    std::optional<QString> PedirContrasena(const QString& pregunta) override;
    std::optional<QString> ElegirFichero(const QString& titulo, const QString& inicial) override;
    std::optional<QString> ElegirCarpeta(const QString& titulo, const QString& inicial) override;
    std::optional<QString> GuardarFichero(const QString& titulo, const QString& inicial,
                                          const QString& filtro) override;
    bool ElegirImpresora(QPrinter& impresora) override;
};

} // namespace corvela
