#pragma once

#include "core/Mensajes.h"

namespace corvela {

// Real dialogs with the application's title, on top of the splash window, in
// the font of the adjusted windows' fields.
class MensajesQt : public Mensajes
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
