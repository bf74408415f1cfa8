#include "app/Arranque.h"

#include "app/MensajesConsola.h"
#include "core/Globales.h"
#include "core/frmArranque.h"
#include "records/BaseDatos.h"
#include "records/CopiaBaseDatos.h"
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

// The SQLite file is always the data folder's, whatever named the engine.
DestinoDatos DestinoElegido(const std::optional<DestinoDatos>& indicada)
{
    DestinoDatos destino = indicada ? *indicada : DestinoSegunParametros(RutaDatos(kBaseDatos));
    destino.ruta = RutaDatos(kBaseDatos);
    return destino;
}

int Fallo(const QString& texto)
{
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    return 1;
}

// Runs orden with every message on the standard error and every question answered no.
int EnConsola(const std::function<int()>& orden)
{
    MensajesConsola consola;
    InstalarDialogos(&consola);
    const int codigo = orden();
    CerrarBaseDatos();
    InstalarDialogos(nullptr);
    return codigo;
}

// "1 obra", "3 obras".
QString Cuantos(qint64 n, const char* uno, const char* varios)
{
    return QString::number(n) + u' ' + QString::fromUtf8(n == 1 ? uno : varios);
}

int Copiar(const QString& origen, const DestinoDatos& destino)
{
    if (AbrirBaseDatos(destino, true) != Apertura::Abierta)
        return 1;
    QString motivo;
    const std::optional<CopiaHecha> copia = CopiarBaseLocal(origen, motivo);
    if (!copia)
        return Fallo(motivo);
    std::printf("%s\n", qPrintable(QStringLiteral("Copiados: %1, %2 y %3, de %4 a %5.")
                                       .arg(Cuantos(copia->obras, "obra", "obras"),
                                            Cuantos(copia->estaciones, "estación", "estaciones"),
                                            Cuantos(copia->puntos, "punto", "puntos"), QDir::toNativeSeparators(origen),
                                            DescripcionBaseDatos())));
    return 0;
}

} // namespace

bool Main(const QString& carpetaDatos, const QString& carpetaRecursos, const std::optional<DestinoDatos>& indicada)
{
    IniciarGlobales(carpetaDatos, carpetaRecursos);

    frmArranque::FijarPrincipal([] { frmFicha::Mostrar(); });
    frmArranque* arranque = frmArranque::Instancia();
    arranque->Mostrar();

    if (AbrirBaseDatos(DestinoElegido(indicada)) != Apertura::Abierta) {
        arranque->close();
        return false;
    }
    // The timer starts once the database is open: the question about creating it
    // runs its own event loop, and the main window must not appear before.
    arranque->IniciarTemporizador();
    return true;
}

int MainSinVentanas(const QString& carpetaDatos, const QString& carpetaRecursos,
                    const std::optional<DestinoDatos>& indicada, const std::function<int()>& orden)
{
    IniciarGlobales(carpetaDatos, carpetaRecursos);
    const DestinoDatos destino = DestinoElegido(indicada);
    if (destino.motor == Motor::Sqlite && !QFileInfo::exists(destino.ruta))
        return Fallo(QStringLiteral("No existe la base de datos %1: sin ventanas no se crea ninguna.")
                         .arg(QDir::toNativeSeparators(destino.ruta)));
    // On a server the question about making the tables is answered no.
    return EnConsola([&destino, &orden] { return AbrirBaseDatos(destino) == Apertura::Abierta ? orden() : 1; });
}

int CopiarAlServidor(const QString& carpetaDatos, const QString& carpetaRecursos,
                     const std::optional<DestinoDatos>& indicada)
{
    IniciarGlobales(carpetaDatos, carpetaRecursos);
    const QString origen = QFileInfo(RutaDatos(kBaseDatos)).absoluteFilePath();
    if (!QFileInfo::exists(origen))
        return Fallo(QStringLiteral("No existe la base de datos local %1: no hay nada que copiar.")
                         .arg(QDir::toNativeSeparators(origen)));
    const DestinoDatos destino = DestinoElegido(indicada);
    if (destino.motor != Motor::PostgreSql)
        return Fallo(QStringLiteral("La copia va a un servidor PostgreSQL: indíquelo con --base-datos "
                                    "postgresql://... o con MotorBD=PostgreSQL en los parámetros."));
    return EnConsola([&origen, &destino] { return Copiar(origen, destino); });
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
            std::printf("%s\ndatos: %s\nrecursos: %s\nbase de datos: %s\n", qPrintable(ficha->windowTitle()),
                        qPrintable(CarpetaDatos), qPrintable(CarpetaRecursos), qPrintable(DescripcionBaseDatos()));
            std::fflush(stdout);
            QCoreApplication::exit(ficha->isVisible() ? 0 : 1);
        });
    });
}

} // namespace corvela
