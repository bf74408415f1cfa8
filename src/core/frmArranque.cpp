#include "core/frmArranque.h"

#include "core/Globales.h"
#include "core/Twips.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace corvela {

namespace {

std::function<void()> principal;

} // namespace

void frmArranque::FijarPrincipal(std::function<void()> mostrarPrincipal)
{
    principal = std::move(mostrarPrincipal);
}

frmArranque::frmArranque() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen)
{
    setObjectName(QStringLiteral("frmArranque"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(RectTwips(0, 0, 6600, 3390).size());

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(RectTwips(0, 0, 6585, 3375));
    Image1->setScaledContents(true);
    Image1->installEventFilter(this);

    const std::array<QPoint, 2> posiciones{QPoint(1335, 1200), QPoint(1365, 1170)};
    const std::array<QPalette::ColorRole, 2> colores{QPalette::WindowText, QPalette::Highlight};
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(QStringLiteral("CORVELA GEODA"), this);
        Label1[i]->setObjectName(QStringLiteral("Label1"));
        Label1[i]->setGeometry(RectTwips(posiciones[i].x(), posiciones[i].y(), 4635, 465));
        QFont fuente = Label1[i]->font();
        fuente.setPointSize(18);
        fuente.setBold(true);
        Label1[i]->setFont(fuente);
        QPalette paleta = Label1[i]->palette();
        paleta.setColor(QPalette::WindowText, palette().color(colores[i]));
        Label1[i]->setPalette(paleta);
        Label1[i]->hide();
    }

    const QPixmap imagen(RutaRecurso(QStringLiteral("imagen/CORVELAX.JPG")));
    if (imagen.isNull()) {
        for (QLabel* titulo : Label1)
            titulo->show();
        Image1->hide();
    } else {
        Image1->setPixmap(imagen);
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmArranque::MostrarPrincipal);
}

bool frmArranque::ImagenVisible() const
{
    return !Image1->isHidden();
}

void frmArranque::Mostrar()
{
    if (const QScreen* pantalla = QGuiApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
}

void frmArranque::IniciarTemporizador()
{
    Timer1->start();
}

void frmArranque::MostrarPrincipal()
{
    if (principal)
        principal();
}

void frmArranque::Esperar(int segundos)
{
    QElapsedTimer reloj;
    reloj.start();
    const qint64 fin = 1000LL * segundos;
    QApplication::processEvents();
    while (reloj.elapsed() <= fin && !pulsada_)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void frmArranque::Descargar()
{
    QPointer<frmArranque> arranque = SiExiste();
    if (!arranque || arranque->descargando_)
        return;
    arranque->descargando_ = true;
    arranque->Timer1->stop();
    arranque->Esperar(1);
    if (arranque) // the linger pumps events: the splash may have gone meanwhile
        arranque->close();
}

bool frmArranque::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == Image1 && evento->type() == QEvent::MouseButtonPress) {
        pulsada_ = true;
        MostrarPrincipal();
        return true;
    }
    return QWidget::eventFilter(objeto, evento);
}

} // namespace corvela
