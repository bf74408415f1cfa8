// Start-up: from the moment the event loop starts, with the splash clicked at
// once, until the works card has been painted. Every run is a new process, so
// that each one pays what a real start pays (fonts, styles, first queries).

#include "BaseBanco.h"
#include "Medida.h"
#include "app/Arranque.h"
#include "core/frmArranque.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace corvela;

namespace {

const QString kUnaVez = QStringLiteral("--una-vez");
constexpr int kVeces = 5;

void PulsarImagen()
{
    auto* imagen = frmArranque::Instancia()->findChild<QLabel*>(QStringLiteral("Image1"));
    banco::Comprobar(imagen != nullptr, "la ventana de presentación no tiene imagen");
    QMouseEvent pulsacion(QEvent::MouseButtonPress, QPointF(10, 10), imagen->mapToGlobal(QPointF(10, 10)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(imagen, &pulsacion);
}

// One start in this process: prints the milliseconds on the standard output.
int UnArranque(QApplication& aplicacion, const QString& carpetaDatos)
{
    banco::MensajesBanco mensajes;
    const QString recursos = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(".."));
    if (!Main(carpetaDatos, qEnvironmentVariable("CORVELA_RECURSOS", recursos)))
        return 1;
    QTimer::singleShot(0, &aplicacion, [] {
        const double ms = banco::Mediana(1, [] { banco::HastaPintado(QStringLiteral("frmFicha"), PulsarImagen); });
        std::printf("%.3f\n", ms);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

double UnHijo(const QString& carpetaDatos)
{
    QProcess hijo;
    hijo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    hijo.start(QCoreApplication::applicationFilePath(), {kUnaVez, carpetaDatos});
    if (!hijo.waitForFinished(60000) || hijo.exitCode() != 0)
        banco::Fallo(QStringLiteral("el arranque no llegó a la ficha"));
    bool correcto = false;
    const double ms = hijo.readAllStandardOutput().trimmed().toDouble(&correcto);
    banco::Comprobar(correcto, "el arranque no dio su tiempo");
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    const QStringList argumentos = QCoreApplication::arguments();
    if (argumentos.size() == 3 && argumentos[1] == kUnaVez)
        return UnArranque(aplicacion, argumentos[2]);

    QTemporaryDir carpeta;
    // The first start creates the database and warms the disk cache; it is not counted.
    UnHijo(carpeta.path());
    std::vector<double> tiempos;
    for (int i = 0; i < kVeces; ++i)
        tiempos.push_back(UnHijo(carpeta.path()));
    std::sort(tiempos.begin(), tiempos.end());

    banco::Resultados resultados;
    resultados.Figura(QStringLiteral("arranque hasta la ficha pintada (pulsada)"), tiempos[kVeces / 2], 0, 50);
    return resultados.Final();
}
