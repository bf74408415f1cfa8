#include "app/MensajesConsola.h"

#include <cstdio>

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
