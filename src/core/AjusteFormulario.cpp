#include "core/AjusteFormulario.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QVector>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace corvela {

namespace {

constexpr double kAnchoDiseno = 640.0;
constexpr double kAltoDiseno = 480.0;
constexpr int kMarcoAncho = kMarcoVentana.width();
constexpr int kMarcoAlto = kMarcoVentana.height();

struct Factores
{
    double fx;
    double fy;
    double fuente;
    bool fuenteFechaEscalada = false;
};

double FactorFuente(double fx, double fy)
{
    return std::min(fx, fy);
}

// The screen's factors, made smaller where the window with its frame would not
// fit in the free area.
Factores FactoresDe(const QSize& ventana, const QSize& pantalla, const QRect& disponible)
{
    double fx = pantalla.width() / kAnchoDiseno;
    double fy = pantalla.height() / kAltoDiseno;
    if (ventana.width() > 0)
        fx = std::min(fx, (disponible.width() - kMarcoAncho) / static_cast<double>(ventana.width()));
    if (ventana.height() > 0)
        fy = std::min(fy, (disponible.height() - kMarcoAlto) / static_cast<double>(ventana.height()));
    return Factores{fx, fy, FactorFuente(fx, fy)};
}

// Within the free area, frame included, keeping the place it was given where it fits.
QPoint DentroDe(const QRect& ventana, const QRect& disponible)
{
    const int x =
        std::max(disponible.left(), std::min(ventana.x(), disponible.right() + 1 - ventana.width() - kMarcoAncho));
    const int y =
        std::max(disponible.top(), std::min(ventana.y(), disponible.bottom() + 1 - ventana.height() - kMarcoAlto));
    return QPoint(x, y);
}

int Escalar(int valor, double factor)
{
    return static_cast<int>(std::lround(valor * factor));
}

// Edges are scaled, not sizes, so that controls that meet do not come to overlap by rounding.
void Mover(QWidget* control, const Factores& f, bool conAlto)
{
    const QRect g = control->geometry();
    const int x = Escalar(g.x(), f.fx);
    const int y = Escalar(g.y(), f.fy);
    const int ancho = Escalar(g.x() + g.width(), f.fx) - x;
    const int alto = conAlto ? Escalar(g.y() + g.height(), f.fy) - y : g.height();
    control->setGeometry(x, y, ancho, alto);
}

// Sets the control's own font size from the size it had before the window was
// touched. Qt hands a container's font down to the controls inside it, so every
// size is read first and set explicitly, also where it does not change.
void FijarFuente(QWidget* control, const QFont& original, double factor)
{
    QFont fuente = original;
    if (original.pointSizeF() > 0)
        fuente.setPointSizeF(original.pointSizeF() * factor);
    else
        fuente.setPixelSize(Escalar(original.pixelSize(), factor));
    control->setFont(fuente);
}

struct Control
{
    QWidget* widget;
    QFont fuente;
};

void AjustarControl(const Control& c, Factores& f)
{
    QWidget* control = c.widget;
    const QString nombre = control->objectName();
    if (nombre == QLatin1String("Label5") || nombre == QLatin1String("Label7")) {
        FijarFuente(control, c.fuente, 1.0);
        return;
    }
    const QString prefijo = nombre.left(4);
    double factorFuente = f.fuente;
    if (prefijo == QLatin1String("List")) {
        // Lists read with the fields beside them, unlike the designed 8 points.
        Mover(control, f, true);
    } else if (prefijo == QLatin1String("Comb")) {
        Mover(control, f, false);
    } else if (prefijo == QLatin1String("Fech") || prefijo == QLatin1String("FFec") ||
               prefijo == QLatin1String("FHor")) {
        Mover(control, f, true);
        if (f.fuenteFechaEscalada)
            factorFuente = 1.0;
        f.fuenteFechaEscalada = true;
    } else if (prefijo == QLatin1String("Marc") || prefijo == QLatin1String("Cale") ||
               prefijo == QLatin1String("Imag") || prefijo == QLatin1String("Pict") ||
               prefijo == QLatin1String("Tree") || prefijo == QLatin1String("Iman")) {
        Mover(control, f, true);
        factorFuente = 1.0;
    } else {
        Mover(control, f, true);
    }
    FijarFuente(control, c.fuente, factorFuente);
}

bool EsContenedor(const QWidget* w)
{
    const char* clase = w->metaObject()->className();
    return qobject_cast<const QGroupBox*>(w) || qstrcmp(clase, "QFrame") == 0 || qstrcmp(clase, "QWidget") == 0;
}

// The window's controls in creation order: named widgets, looking inside frames
// but not inside composite controls (lists, the navigator, the toolbar).
void ReunirControles(QWidget* padre, QVector<Control>& controles)
{
    for (QObject* hijo : padre->children()) {
        auto* control = qobject_cast<QWidget*>(hijo);
        if (!control || control->isWindow() || control->objectName().isEmpty() ||
            control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        controles.push_back({control, control->font()});
        if (EsContenedor(control))
            ReunirControles(control, controles);
    }
}

// Pop-up menus are windows of their own: they take the window's font, scaled.
void AjustarMenus(QWidget* formulario, const Factores& f)
{
    for (QMenu* menu : formulario->findChildren<QMenu*>())
        FijarFuente(menu, formulario->font(), f.fuente);
}

} // namespace

void Ajustar_Form(QWidget* formulario)
{
    const QScreen* pantalla = formulario->screen() ? formulario->screen() : QGuiApplication::primaryScreen();
    if (!pantalla) {
        Ajustar_Form(formulario, QSize(640, 480));
        return;
    }
    Ajustar_Form(formulario, pantalla->size(), pantalla->availableGeometry());
}

void Ajustar_Form(QWidget* formulario, const QSize& pantalla)
{
    Ajustar_Form(formulario, pantalla, QRect(QPoint(0, 0), pantalla + kMarcoVentana));
}

void Ajustar_Form(QWidget* formulario, const QSize& pantalla, const QRect& disponible)
{
    const QRect g = formulario->geometry();
    Factores f = FactoresDe(g.size(), pantalla, disponible);
    const QRect escalada(Escalar(g.x(), f.fx), Escalar(g.y(), f.fy), Escalar(g.width(), f.fx),
                         Escalar(g.height(), f.fy));
    formulario->setGeometry(QRect(DentroDe(escalada, disponible), escalada.size()));
    QVector<Control> controles;
    ReunirControles(formulario, controles);
    for (const Control& control : controles)
        AjustarControl(control, f);
    AjustarMenus(formulario, f);
}

QFont FuenteAjustada()
{
    QFont fuente = QGuiApplication::font();
    const QScreen* pantalla = QGuiApplication::primaryScreen();
    const QSize tamano = pantalla ? pantalla->size() : QSize(640, 480);
    fuente.setPointSizeF(kPuntosDiseno * FactorFuente(tamano.width() / kAnchoDiseno, tamano.height() / kAltoDiseno));
    return fuente;
}

} // namespace corvela
