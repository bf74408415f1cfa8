#include "app/Arranque.h"
#include "core/Globales.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    // The name gives the user's data folder (~/.local/share/CorvelaGeoda) and the window class.
    QApplication::setApplicationName(QStringLiteral("CorvelaGeoda"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvela Geoda"));
    QApplication::setDesktopFileName(QStringLiteral("corvela-geoda"));

    QTranslator traduccionQt;
    if (traduccionQt.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccionQt);

    QCommandLineParser opciones;
    opciones.setApplicationDescription(QStringLiteral("Libreta de campo taquimétrica"));
    opciones.addHelpOption();
    const QCommandLineOption datos(QStringLiteral("datos"),
                                   QStringLiteral("Carpeta de datos (base de datos, parámetros, script CAD)."),
                                   QStringLiteral("carpeta"));
    const QCommandLineOption comprobar(
        QStringLiteral("comprobar"),
        QStringLiteral("Arranca hasta la ficha de obras, escribe las carpetas en uso y termina."));
    opciones.addOption(datos);
    opciones.addOption(comprobar);
    opciones.process(aplicacion);

    const QString carpetaPrograma = QApplication::applicationDirPath();
    const QString carpetaRecursos = corvela::BuscarCarpetaRecursos(carpetaPrograma);
    QApplication::setWindowIcon(QIcon(QDir(carpetaRecursos).filePath(QStringLiteral("icono/corvela-geoda-256.png"))));
    const QString carpetaDatos =
        corvela::CarpetaDeDatos(opciones.isSet(datos) ? std::optional<QString>(opciones.value(datos)) : std::nullopt,
                                carpetaPrograma, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (!corvela::Main(carpetaDatos, carpetaRecursos))
        return 1;
    if (opciones.isSet(comprobar))
        corvela::TerminarAlMostrarFicha();
    return QApplication::exec();
}
