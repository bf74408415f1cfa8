#include "core/AjusteFormulario.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
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

void EscalarFuente(QWidget* control, double fx)
{
    QFont fuente = control->font();
    if (fuente.pointSizeF() > 0)
        fuente.setPointSizeF(fuente.pointSizeF() * fx);
    else
        fuente.setPixelSize(Escalar(fuente.pixelSize(), fx));
    control->setFont(fuente);
}

void AjustarControl(QWidget* control, Factores& f)
{
    const QString nombre = control->objectName();
    if (nombre == QLatin1String("Label5") || nombre == QLatin1String("Label7"))
        return;
    const QString prefijo = nombre.left(4);
    if (prefijo == QLatin1String("List")) {
        Mover(control, f, true);
    } else if (prefijo == QLatin1String("Comb")) {
        Mover(control, f, false);
        EscalarFuente(control, f.fx);
    } else if (prefijo == QLatin1String("Fech") || prefijo == QLatin1String("FFec")
               || prefijo == QLatin1String("FHor")) {
        Mover(control, f, true);
        if (!f.fuenteFechaEscalada)
            EscalarFuente(control, f.fx);
        f.fuenteFechaEscalada = true;
    } else if (prefijo == QLatin1String("Marc") || prefijo == QLatin1String("Cale")
               || prefijo == QLatin1String("Imag") || prefijo == QLatin1String("Pict")
               || prefijo == QLatin1String("Tree") || prefijo == QLatin1String("Iman")) {
        Mover(control, f, true);
    } else {
        Mover(control, f, true);
        EscalarFuente(control, f.fx);
    }
}

bool EsContenedor(const QWidget* w)
{
    const char* clase = w->metaObject()->className();
    return qobject_cast<const QGroupBox*>(w) || qstrcmp(clase, "QFrame") == 0 || qstrcmp(clase, "QWidget") == 0;
}

// The window's controls in creation order: named widgets, looking inside frames
// but not inside composite controls (lists, the navigator, the toolbar).
void AjustarHijos(QWidget* padre, Factores& f)
{
    for (QObject* hijo : padre->children()) {
        auto* control = qobject_cast<QWidget*>(hijo);
        if (!control || control->isWindow() || control->objectName().isEmpty()
            || control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        AjustarControl(control, f);
        if (EsContenedor(control))
            AjustarHijos(control, f);
    }
}

}  // namespace

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
    AjustarHijos(formulario, f);
}

}  // namespace corvela
