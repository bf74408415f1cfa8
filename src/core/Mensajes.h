#pragma once

#include <QString>
#include <optional>

class QPrinter;

namespace corvela {

enum class Icono { Ninguno, Informacion, Exclamacion, Pregunta, Critico };
enum class Botones { Aceptar, AceptarCancelar, SiNo };
enum class Respuesta { Aceptar, Cancelar, Si, No };

// Every interaction that blocks the user goes through here, so that tests can
// record the messages and script the answers instead of showing dialogs.
class Mensajes
{
public:
    virtual ~Mensajes() = default;

    virtual Respuesta MsgBox(const QString& texto, Icono icono = Icono::Ninguno,
                             Botones botones = Botones::Aceptar) = 0;
    // Empty optional when the user cancels.
    virtual std::optional<QString> InputBox(const QString& pregunta, const QString& porDefecto) = 0;
    // A password, typed without being shown; empty optional when the user cancels.
    virtual std::optional<QString> PedirContrasena(const QString& pregunta) = 0;
    virtual std::optional<QString> ElegirFichero(const QString& titulo, const QString& inicial) = 0;
    virtual std::optional<QString> ElegirCarpeta(const QString& titulo, const QString& inicial) = 0;
    // A file to write (it may not exist yet), among the files the name filter
    // lists ("Documentos PDF (*.pdf)"); empty optional when cancelled.
    virtual std::optional<QString> GuardarFichero(const QString& titulo, const QString& inicial,
                                                  const QString& filtro) = 0;
    // The print dialog: the user sets up the printer; false when cancelled.
    virtual bool ElegirImpresora(QPrinter& impresora) = 0;
};

// The implementation in use; the program installs the Qt one, tests a recorder.
Mensajes& Dialogos();
void InstalarDialogos(Mensajes* mensajes);

} // namespace corvela
