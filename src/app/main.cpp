#include "app/Arranque.h"
#include "app/LineaOrdenes.h"
#include "core/Globales.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>

namespace {

// The name gives the user's data folder (~/.local/share/CorvelaGeoda) and the window class.
void NombrarAplicacion()
{
    QCoreApplication::setApplicationName(QStringLiteral("CorvelaGeoda"));
}

// Qt's own texts (dialog buttons, the command line's help) in Spanish.
void Traducir(QTranslator& traduccion)
{
    if (traduccion.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traduccion);
}

QString CarpetaDatos(const corvela::LineaOrdenes& linea)
{
    return corvela::CarpetaDeDatos(linea.CarpetaIndicada(), QCoreApplication::applicationDirPath(),
                                   QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QStringList Argumentos(int argc, char* argv[])
{
    QStringList argumentos;
    for (int i = 0; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    return argumentos;
}

// The command line as Qt left it; false, with the reason on the standard error, when it is wrong.
bool LeerArgumentos(corvela::LineaOrdenes& linea)
{
    if (linea.Leer(QCoreApplication::arguments()))
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(linea.ErrorLectura()));
    return false;
}

// The help, a wrong command line, an export, an import or the copy to the
// server: no window, so no display is needed.
int SinVentanas(int argc, char* argv[])
{
    QCoreApplication aplicacion(argc, argv);
    NombrarAplicacion();
    QTranslator traduccion;
    Traducir(traduccion);
    corvela::LineaOrdenes linea;
    if (!LeerArgumentos(linea))
        return 1;
    if (linea.PideAyuda()) {
        std::printf("%s", qPrintable(linea.Ayuda()));
        return 0;
    }
    const QString recursos = corvela::BuscarCarpetaRecursos(QCoreApplication::applicationDirPath());
    if (linea.CopiarAlServidor())
        return corvela::CopiarAlServidor(CarpetaDatos(linea), recursos, linea.BaseIndicada());
    return corvela::MainSinVentanas(CarpetaDatos(linea), recursos, linea.BaseIndicada(),
                                    [&linea] { return linea.Ejecutar(); });
}

} // namespace

int main(int argc, char* argv[])
{
    if (corvela::LineaOrdenes::PideSinVentanas(Argumentos(argc, argv)))
        return SinVentanas(argc, argv);

    // Qt takes its own options (-platform, -style, -session...) out of the arguments first.
    QApplication aplicacion(argc, argv);
    NombrarAplicacion();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Corvela Geoda"));
    QGuiApplication::setDesktopFileName(QStringLiteral("corvela-geoda"));
    QTranslator traduccion;
    Traducir(traduccion);
    corvela::LineaOrdenes linea;
    if (!LeerArgumentos(linea))
        return 1;

    const QString carpetaRecursos = corvela::BuscarCarpetaRecursos(QApplication::applicationDirPath());
    QApplication::setWindowIcon(QIcon(QDir(carpetaRecursos).filePath(QStringLiteral("icono/corvela-geoda-256.png"))));
    if (!corvela::Main(CarpetaDatos(linea), carpetaRecursos, linea.BaseIndicada()))
        return 1;
    if (linea.Comprobar())
        corvela::TerminarAlMostrarFicha();
    return QApplication::exec();
}
