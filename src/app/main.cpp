#include "app/Arranque.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvela-geoda"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvela Geoda"));

    QTranslator traduccionQt;
    if (traduccionQt.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccionQt);

    QCommandLineParser opciones;
    opciones.setApplicationDescription(QStringLiteral("Libreta de campo taquimétrica"));
    opciones.addHelpOption();
    const QCommandLineOption datos(QStringLiteral("datos"),
                                   QStringLiteral("Carpeta de datos (base de datos, parámetros, script CAD)."),
                                   QStringLiteral("carpeta"), QApplication::applicationDirPath());
    opciones.addOption(datos);
    opciones.process(aplicacion);

    // The folder is made with the database, once the user agrees to create it.
    const QString carpetaDatos = QDir(opciones.value(datos)).absolutePath();
    if (!corvela::Main(carpetaDatos, QApplication::applicationDirPath()))
        return 1;
    return QApplication::exec();
}
