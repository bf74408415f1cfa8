#include "app/Arranque.h"

#include "app/MensajesConsola.h"
#include "core/Globales.h"
#include "core/frmArranque.h"
#include "records/BaseDatos.h"
#include "works/frmFicha.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdio>

namespace corvela {

namespace {

const QString kBaseDatos = QStringLiteral("Corvelax.db");

// Asks the system itself, by making and removing a file: as root, or with
// access lists, the permission bits tell little, and SQLite must be able to
// create its own files beside the database.
bool SePuedeEscribirEn(const QString& carpeta)
{
    QTemporaryFile prueba(QDir(carpeta).filePath(QStringLiteral(".corvela-XXXXXX")));
    return prueba.open();
}

} // namespace

bool Main(const QString& carpetaDatos, const QString& carpetaRecursos)
{
    IniciarGlobales(carpetaDatos, carpetaRecursos);

    frmArranque::FijarPrincipal([] { frmFicha::Mostrar(); });
    frmArranque* arranque = frmArranque::Instancia();
    arranque->Mostrar();

    if (AbrirBaseDatos(RutaDatos(kBaseDatos)) != Apertura::Abierta) {
        arranque->close();
        return false;
    }
    // The timer starts once the database is open: the question about creating it
    // runs its own event loop, and the main window must not appear before.
    arranque->IniciarTemporizador();
    return true;
}

int MainSinVentanas(const QString& carpetaDatos, const QString& carpetaRecursos, const std::function<int()>& orden)
{
    IniciarGlobales(carpetaDatos, carpetaRecursos);
    const QString baseDatos = RutaDatos(kBaseDatos);
    if (!QFileInfo::exists(baseDatos)) {
        std::fprintf(stderr, "No existe la base de datos %s: sin ventanas no se crea ninguna.\n",
                     qPrintable(QDir::toNativeSeparators(baseDatos)));
        return 1;
    }
    MensajesConsola consola;
    InstalarDialogos(&consola);
    int codigo = 1;
    if (AbrirBaseDatos(baseDatos) == Apertura::Abierta) {
        codigo = orden();
        CerrarBaseDatos();
    }
    InstalarDialogos(nullptr);
    return codigo;
}

QString CarpetaDeDatos(const std::optional<QString>& indicada, const QString& carpetaPrograma,
                       const QString& carpetaUsuario)
{
    if (indicada)
        return QDir(*indicada).absolutePath();
    if (QFileInfo::exists(QDir(carpetaPrograma).filePath(kBaseDatos)) && SePuedeEscribirEn(carpetaPrograma))
        return QDir(carpetaPrograma).absolutePath();
    return QDir(carpetaUsuario).absolutePath();
}

void TerminarAlMostrarFicha()
{
    frmArranque::FijarPrincipal([] {
        frmFicha::Mostrar();
        // Once the card has been laid out and shown by the event loop.
        QTimer::singleShot(0, qApp, [] {
            const frmFicha* ficha = frmFicha::Instancia();
            std::printf("%s\ndatos: %s\nrecursos: %s\n", qPrintable(ficha->windowTitle()), qPrintable(CarpetaDatos),
                        qPrintable(CarpetaRecursos));
            std::fflush(stdout);
            QCoreApplication::exit(ficha->isVisible() ? 0 : 1);
        });
    });
}

} // namespace corvela
