#pragma once

#include <QEvent>

class QWidget;

namespace corvela {
class BarraFiles;
}

namespace corvela::pruebas {

// Sends one mouse event with the left button to the centre of a widget.
void Raton(QWidget* destino, QEvent::Type tipo);

// Presses and releases a toolbar button: 0 new, 1 open, 2 save, 3 search,
// 4 print, 5 delete, 6 clear, 7 word processor, 8 back.
void ClicBarra(BarraFiles* barra, int boton);

}  // namespace corvela::pruebas
