#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace corvela {

// The point size the windows' controls are designed in, for a 640 by 480 screen.
inline constexpr double kPuntosDiseno = 8.0;

// Room left around a window for the frame the window manager adds: borders and title bar.
inline constexpr QSize kMarcoVentana{16, 40};

// Stretches a window designed for 640 by 480 pixels, and every control in it, in
// proportion to the screen: positions and sizes by the width and height factors,
// fonts (lists and their menus included) by the smaller of the two, so that text
// grows no faster than the room made for it. The controls named "Label5" and
// "Label7" are left alone. A window that would not fit the screen's free area
// with its frame is scaled less, and it is moved inside that area. Each call
// scales again from the current geometry.
void Ajustar_Form(QWidget* formulario);
void Ajustar_Form(QWidget* formulario, const QSize& pantalla);
void Ajustar_Form(QWidget* formulario, const QSize& pantalla, const QRect& disponible);

// The application's font at the size the adjusted windows give their fields on
// the primary screen, for the dialogs that stand beside them.
QFont FuenteAjustada();

} // namespace corvela
