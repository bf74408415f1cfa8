#include "Pulsaciones.h"

#include "controls/BarraFiles.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

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

}  // namespace corvela::pruebas
