#include "app/Arranque.h"
#include "app/LineaOrdenes.h"
#include "core/Globales.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

namespace {

// The name gives the user's data folder (~/.local/share/CorvelaGeoda) and the window class.
void NombrarAplicacion()
{
    QCoreApplication::setApplicationName(QStringLiteral("CorvelaGeoda"));
}

QString CarpetaDatos(const corvela::LineaOrdenes& linea)
{
    return corvela::CarpetaDeDatos(linea.CarpetaIndicada(), QCoreApplication::applicationDirPath(),
                                   QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

// An export or an import from the command line: no display is needed.
int SinVentanas(int argc, char* argv[])
{
    QCoreApplication aplicacion(argc, argv);
    NombrarAplicacion();
    corvela::LineaOrdenes linea;
    linea.Procesar(aplicacion);
    const QString recursos = corvela::BuscarCarpetaRecursos(QCoreApplication::applicationDirPath());
    return corvela::MainSinVentanas(CarpetaDatos(linea), recursos, [&linea] { return linea.Ejecutar(); });
}

} // namespace

int main(int argc, char* argv[])
{
    if (corvela::PideSinVentanas(argc, argv))
        return SinVentanas(argc, argv);

    QApplication aplicacion(argc, argv);
    NombrarAplicacion();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Corvela Geoda"));
    QGuiApplication::setDesktopFileName(QStringLiteral("corvela-geoda"));

    QTranslator traduccionQt;
    if (traduccionQt.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduccionQt);

    corvela::LineaOrdenes linea;
    linea.Procesar(aplicacion);

    const QString carpetaRecursos = corvela::BuscarCarpetaRecursos(QApplication::applicationDirPath());
    QApplication::setWindowIcon(QIcon(QDir(carpetaRecursos).filePath(QStringLiteral("icono/corvela-geoda-256.png"))));
    if (!corvela::Main(CarpetaDatos(linea), carpetaRecursos))
        return 1;
    if (linea.Comprobar())
        corvela::TerminarAlMostrarFicha();
    return QApplication::exec();
}
