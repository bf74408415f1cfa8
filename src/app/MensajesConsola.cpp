#include "app/MensajesConsola.h"

#include <cstdio>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace corvela {

namespace {

void Escribir(const QString& texto)
{
    QString linea = texto;
    linea.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", qPrintable(linea));
    std::fflush(stderr);
}

} // namespace

Respuesta MensajesConsola::MsgBox(const QString& texto, Icono, Botones botones)
{
    Escribir(texto);
    switch (botones) {
    case Botones::SiNo:
        return Respuesta::No;
    case Botones::AceptarCancelar:
        return Respuesta::Cancelar;
    case Botones::Aceptar:
        break;
    }
    return Respuesta::Aceptar;
}

std::optional<QString> MensajesConsola::InputBox(const QString& pregunta, const QString&)
{
    Escribir(pregunta);
    return std::nullopt;
}

// Read from the terminal with its echo off; without a terminal nobody can answer.
std::optional<QString> MensajesConsola::PedirContrasena(const QString& pregunta)
{
    termios antes{};
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &antes) != 0) {
        Escribir(pregunta);
        return std::nullopt;
    }
    std::fprintf(stderr, "%s ", qPrintable(pregunta));
    std::fflush(stderr);
    termios sinEco = antes;
    sinEco.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &sinEco);
    std::string linea;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
        linea += static_cast<char>(c);
    tcsetattr(STDIN_FILENO, TCSANOW, &antes);
    std::fputc('\n', stderr);
    return QString::fromStdString(linea);
}

std::optional<QString> MensajesConsola::ElegirFichero(const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> MensajesConsola::ElegirCarpeta(const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> MensajesConsola::GuardarFichero(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

bool MensajesConsola::ElegirImpresora(QPrinter&)
{
    return false;
}

} // namespace corvela
