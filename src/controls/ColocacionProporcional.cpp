#include "controls/ColocacionProporcional.h"

#include <QWidget>
#include <cmath>

namespace corvela {

namespace {

int Escalar(int twips, int disenoTwips, int actual)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) * actual / disenoTwips));
}

} // namespace

QRect RectProporcional(const QRect& twips, const QSize& disenoTwips, const QSize& actual)
{
    const int x1 = Escalar(twips.x(), disenoTwips.width(), actual.width());
    const int y1 = Escalar(twips.y(), disenoTwips.height(), actual.height());
    const int x2 = Escalar(twips.x() + twips.width(), disenoTwips.width(), actual.width());
    const int y2 = Escalar(twips.y() + twips.height(), disenoTwips.height(), actual.height());
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

void ColocarProporcional(QWidget* parte, const QRect& twips, const QSize& disenoTwips, const QSize& actual)
{
    parte->setGeometry(RectProporcional(twips, disenoTwips, actual));
}

} // namespace corvela
