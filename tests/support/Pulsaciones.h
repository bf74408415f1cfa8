#pragma once

#include <QEvent>
#include <QString>

class QAction;
class QMenu;
class QAbstractItemView;
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

// Types the text key by key as a keyboard would, accented letters included
// (QTest::keyClicks takes plain ASCII only).
void TeclasDe(QWidget* destino, const QString& texto);

// Clicks a row of a list in its first column; a right click then asks for the
// context menu, as the desktop does when the button is released.
void PulsarFila(QAbstractItemView* lista, int fila, Qt::MouseButton boton = Qt::LeftButton);

// Clicks an entry of a pop-up menu once it is on screen; false when the menu never showed.
bool ElegirEnMenu(QMenu* menu, QAction* entrada);

} // namespace corvela::pruebas
