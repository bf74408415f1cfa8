#include "core/AjusteFormulario.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QVector>
#include <QWidget>
#include <cmath>

namespace corvela {

namespace {

constexpr double kAnchoDiseno = 640.0;
constexpr double kAltoDiseno = 480.0;

struct Factores
{
    double fx;
    double fy;
    bool fuenteFechaEscalada = false;
};

int Escalar(int valor, double factor)
{
    return static_cast<int>(std::lround(valor * factor));
}

void Mover(QWidget* control, const Factores& f, bool conAlto)
{
    const QRect g = control->geometry();
    control->setGeometry(Escalar(g.x(), f.fx), Escalar(g.y(), f.fy), Escalar(g.width(), f.fx),
                         conAlto ? Escalar(g.height(), f.fy) : g.height());
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
    double factorFuente = f.fx;
    if (prefijo == QLatin1String("List")) {
        Mover(control, f, true);
        factorFuente = 1.0;
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

} // namespace

void Ajustar_Form(QWidget* formulario)
{
    const QScreen* pantalla = formulario->screen() ? formulario->screen() : QGuiApplication::primaryScreen();
    Ajustar_Form(formulario, pantalla ? pantalla->size() : QSize(640, 480));
}

void Ajustar_Form(QWidget* formulario, const QSize& pantalla)
{
    Factores f{pantalla.width() / kAnchoDiseno, pantalla.height() / kAltoDiseno};
    const QRect g = formulario->geometry();
    formulario->setGeometry(Escalar(g.x(), f.fx), Escalar(g.y(), f.fy), Escalar(g.width(), f.fx),
                            Escalar(g.height(), f.fy));
    QVector<Control> controles;
    ReunirControles(formulario, controles);
    for (const Control& control : controles)
        AjustarControl(control, f);
}

} // namespace corvela
