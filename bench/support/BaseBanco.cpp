#include "BaseBanco.h"

#include "core/Globales.h"
#include "records/BaseDatos.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace corvela::banco {

namespace {

[[noreturn]] void Inesperado(const QString& que)
{
    std::fprintf(stderr, "diálogo inesperado: %s\n", qPrintable(que));
    std::exit(1);
}

} // namespace

Respuesta MensajesBanco::MsgBox(const QString& texto, Icono, Botones botones)
{
    if (botones != Botones::SiNo || !texto.contains(QStringLiteral("crear")))
        Inesperado(texto);
    return Respuesta::Si;
}

std::optional<QString> MensajesBanco::InputBox(const QString& pregunta, const QString&)
{
    Inesperado(pregunta);
}

std::optional<QString> MensajesBanco::PedirContrasena(const QString& pregunta)
{
    Inesperado(pregunta);
}

std::optional<QString> MensajesBanco::ElegirFichero(const QString& titulo, const QString&)
{
    Inesperado(titulo);
}

std::optional<QString> MensajesBanco::ElegirCarpeta(const QString& titulo, const QString&)
{
    Inesperado(titulo);
}

std::optional<QString> MensajesBanco::GuardarFichero(const QString& titulo, const QString&, const QString&)
{
    Inesperado(titulo);
}

bool MensajesBanco::ElegirImpresora(QPrinter&)
{
    Inesperado(QStringLiteral("impresora"));
}

BaseBanco::BaseBanco()
{
    // The benchmarks run from the build's bench folder, the resources sit one level up.
    const QString recursos = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(".."));
    IniciarGlobales(carpeta_.path(), qEnvironmentVariable("CORVELA_RECURSOS", recursos));
    if (AbrirBaseDatos(RutaDatos(QStringLiteral("Corvelax.db"))) != Apertura::Abierta) {
        std::fprintf(stderr, "no se pudo crear la base de datos\n");
        std::exit(1);
    }
}

} // namespace corvela::banco
