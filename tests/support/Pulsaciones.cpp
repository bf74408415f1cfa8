#include "Pulsaciones.h"

#include "controls/BarraFiles.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

namespace corvela::pruebas {

void Raton(QWidget* destino, QEvent::Type tipo)
{
    const QPointF centro = QRectF(destino->rect()).center();
    const Qt::MouseButton boton = tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons pulsados =
        tipo == QEvent::MouseButtonRelease || tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent evento(tipo, centro, destino->mapToGlobal(centro), boton, pulsados, Qt::NoModifier);
    QApplication::sendEvent(destino, &evento);
}

void ClicBarra(BarraFiles* barra, int boton)
{
    auto* imagen = barra->findChild<QLabel*>(QStringLiteral("Picture10_%1").arg(boton));
    Raton(imagen, QEvent::MouseButtonPress);
    Raton(imagen, QEvent::MouseButtonRelease);
}

void TeclasDe(QWidget* destino, const QString& texto)
{
    for (const QChar c : texto) {
        if (c.unicode() < 128) {
            QTest::keyClick(destino, c.toLatin1());
        } else {
            // Latin-1 letters have their capital's code point as key code.
            const auto tecla = static_cast<Qt::Key>(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, destino, tecla, QString(c), Qt::NoModifier);
        }
    }
}

void PulsarFila(QAbstractItemView* lista, int fila, Qt::MouseButton boton)
{
    const QPoint centro = lista->visualRect(lista->model()->index(fila, 0)).center();
    QTest::mouseClick(lista->viewport(), boton, {}, centro);
    if (boton != Qt::RightButton)
        return;
    QContextMenuEvent menu(QContextMenuEvent::Mouse, centro, lista->viewport()->mapToGlobal(centro));
    QApplication::sendEvent(lista->viewport(), &menu);
}

bool ElegirEnMenu(QMenu* menu, QAction* entrada)
{
    if (!QTest::qWaitForWindowExposed(menu))
        return false;
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entrada).center());
    return true;
}

} // namespace corvela::pruebas
