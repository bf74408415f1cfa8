#include "core/MensajesQt.h"

#include "core/AjusteFormulario.h"
#include "core/DialogoFicheros.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>

namespace corvela {

namespace {

QWidget* VentanaActiva()
{
    return QApplication::activeWindow();
}

// The path the user chose in a picker; nothing when cancelled.
std::optional<QString> Elegido(const QString& titulo, const QString& inicial, QFileDialog::FileMode modo,
                               QFileDialog::AcceptMode uso, const QString& filtro = QString())
{
    const auto dialogo = DialogoFicheros(VentanaActiva(), titulo, inicial, modo, uso, filtro);
    if (dialogo->exec() != QDialog::Accepted || dialogo->selectedFiles().isEmpty())
        return std::nullopt;
    return dialogo->selectedFiles().constFirst();
}

QMessageBox::Icon IconoQt(Icono icono)
{
    switch (icono) {
    case Icono::Informacion:
        return QMessageBox::Information;
    case Icono::Exclamacion:
        return QMessageBox::Warning;
    case Icono::Pregunta:
        return QMessageBox::Question;
    case Icono::Critico:
        return QMessageBox::Critical;
    case Icono::Ninguno:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BotonesQt(Botones botones)
{
    switch (botones) {
    case Botones::AceptarCancelar:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Botones::SiNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Botones::Aceptar:
        break;
    }
    return QMessageBox::Ok;
}

Respuesta RespuestaDe(int boton)
{
    switch (boton) {
    case QMessageBox::Cancel:
        return Respuesta::Cancelar;
    case QMessageBox::Yes:
        return Respuesta::Si;
    case QMessageBox::No:
        return Respuesta::No;
    default:
        return Respuesta::Aceptar;
    }
}

} // namespace

Respuesta MensajesQt::MsgBox(const QString& texto, Icono icono, Botones botones)
{
    QMessageBox caja(IconoQt(icono), QApplication::applicationDisplayName(), texto, BotonesQt(botones),
                     VentanaActiva());
    caja.setWindowFlag(Qt::WindowStaysOnTopHint);
    caja.setFont(FuenteAjustada());
    return RespuestaDe(caja.exec());
}

std::optional<QString> MensajesQt::InputBox(const QString& pregunta, const QString& porDefecto)
{
    QInputDialog dialogo(VentanaActiva());
    dialogo.setWindowTitle(QApplication::applicationDisplayName());
    dialogo.setLabelText(pregunta);
    dialogo.setTextValue(porDefecto);
    dialogo.setFont(FuenteAjustada());
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogo.textValue();
}

std::optional<QString> MensajesQt::PedirContrasena(const QString& pregunta)
{
    QInputDialog dialogo(VentanaActiva());
    dialogo.setWindowTitle(QApplication::applicationDisplayName());
    dialogo.setLabelText(pregunta);
    dialogo.setTextEchoMode(QLineEdit::Password);
    // Asked at start-up, while the splash picture stays on top of everything.
    dialogo.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialogo.setFont(FuenteAjustada());
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogo.textValue();
}

std::optional<QString> MensajesQt::ElegirFichero(const QString& titulo, const QString& inicial)
{
    return Elegido(titulo, inicial, QFileDialog::ExistingFile, QFileDialog::AcceptOpen);
}

std::optional<QString> MensajesQt::ElegirCarpeta(const QString& titulo, const QString& inicial)
{
    return Elegido(titulo, inicial, QFileDialog::Directory, QFileDialog::AcceptOpen);
}

std::optional<QString> MensajesQt::GuardarFichero(const QString& titulo, const QString& inicial, const QString& filtro)
{
    return Elegido(titulo, inicial, QFileDialog::AnyFile, QFileDialog::AcceptSave, filtro);
}

bool MensajesQt::ElegirImpresora(QPrinter& impresora)
{
    QPrintDialog dialogo(&impresora, VentanaActiva());
    return dialogo.exec() == QDialog::Accepted;
}

} // namespace corvela
