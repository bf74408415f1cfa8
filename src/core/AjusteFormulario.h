#pragma once

#include <QSize>

class QWidget;

namespace corvela {

// Stretches a window designed for 640 by 480 pixels, and every control in it, in
// proportion to the screen: positions and sizes by the width and height factors,
// fonts by the width factor. List views keep their font; the controls named
// "Label5" and "Label7" are left alone. Each call scales again from the current
// geometry.
void Ajustar_Form(QWidget* formulario);
void Ajustar_Form(QWidget* formulario, const QSize& pantalla);

} // namespace corvela
