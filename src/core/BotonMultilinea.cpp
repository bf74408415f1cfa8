#include "core/BotonMultilinea.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace corvela {

void BotonMultilinea::paintEvent(QPaintEvent*)
{
    QStylePainter pintor(this);
    QStyleOptionButton opcion;
    initStyleOption(&opcion);
    const QString texto = opcion.text;
    opcion.text.clear();
    pintor.drawControl(QStyle::CE_PushButton, opcion);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &opcion, this).adjusted(2, 0, -2, 0);
    pintor.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    pintor.drawText(area, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, texto);
}

} // namespace corvela
