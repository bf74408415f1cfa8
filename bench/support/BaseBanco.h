#pragma once

#include "core/Mensajes.h"

#include <QTemporaryDir>

namespace corvela::banco {

// Answers Yes to creating the benchmark's database; any other message means the
// benchmark went wrong, and it ends.
class MensajesBanco : public Mensajes
{
public:
    MensajesBanco() { InstalarDialogos(this); }
    ~MensajesBanco() override { InstalarDialogos(nullptr); }

    Respuesta MsgBox(const QString& texto, Icono icono, Botones botones) override;
    std::optional<QString> InputBox(const QString& pregunta, const QString& porDefecto) override;
    std::optional<QString> PedirContrasena(const QString& pregunta) override;
    std::optional<QString> ElegirFichero(const QString& titulo, const QString& inicial) override;
    std::optional<QString> ElegirCarpeta(const QString& titulo, const QString& inicial) override;
    std::optional<QString> GuardarFichero(const QString& titulo, const QString& inicial,
                                          const QString& filtro) override;
    bool ElegirImpresora(QPrinter& impresora) override;
};

// The program's start-up on a throw-away data folder with a new, open database
// (resources from CORVELA_RECURSOS, else the build folder); ends the program
// when the database cannot be made. Needs the application object.
class BaseBanco
{
public:
    BaseBanco();

private:
    MensajesBanco mensajes_;
    QTemporaryDir carpeta_;
};

} // namespace corvela::banco
