#include "core/AnchoColumnas.h"

#include "core/Twips.h"

#include <QHeaderView>
#include <QTreeView>
#include <algorithm>

namespace corvela {

void RepartirColumnas(QTreeView* lista, const QVector<int>& anchosTwips)
{
    int diseno = 0;
    for (int twips : anchosTwips)
        diseno += Pixeles(twips);
    const int disponible = lista->width() - 2 * lista->frameWidth() - 2;
    const double escala = diseno > 0 ? std::max(1.0, disponible / static_cast<double>(diseno)) : 1.0;
    for (int i = 0; i < anchosTwips.size(); ++i)
        lista->header()->resizeSection(i, static_cast<int>(Pixeles(anchosTwips[i]) * escala));
}

} // namespace corvela
