#include "core/Twips.h"

#include <QWidget>

namespace corvela {

QRect RectTwips(int izquierda, int arriba, int ancho, int alto)
{
    return QRect(Pixeles(izquierda), Pixeles(arriba), Pixeles(ancho), Pixeles(alto));
}

void ColocarTwips(QWidget* control, int izquierda, int arriba, int ancho, int alto)
{
    control->setGeometry(RectTwips(izquierda, arriba, ancho, alto));
}

} // namespace corvela
