#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace corvela {

// The parts of a record control are designed in twips for the control's designed
// size; when the window's layout adjustment stretches the control, its parts
// stretch with it, so that the larger font still fits in them.
QRect RectProporcional(const QRect& twips, const QSize& disenoTwips, const QSize& actual);
void ColocarProporcional(QWidget* parte, const QRect& twips, const QSize& disenoTwips, const QSize& actual);

} // namespace corvela
