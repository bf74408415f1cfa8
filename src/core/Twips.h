#pragma once

#include <QRect>

class QWidget;

// Windows are designed in twips (1440 an inch, 15 a pixel) for a 640 by 480
// screen; Ajustar_Form scales them to the actual screen afterwards.
namespace corvela {

constexpr int kTwipsPorPixel = 15;

constexpr int Pixeles(int twips)
{
    return (twips + kTwipsPorPixel / 2) / kTwipsPorPixel;
}

QRect RectTwips(int izquierda, int arriba, int ancho, int alto);
void ColocarTwips(QWidget* control, int izquierda, int arriba, int ancho, int alto);

} // namespace corvela
