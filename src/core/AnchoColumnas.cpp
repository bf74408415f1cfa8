#include "core/AnchoColumnas.h"

#include "core/Twips.h"

#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

namespace corvela {

namespace {

// The room a cell takes for its text: the text and the margins the view draws it within.
int AnchoTexto(const QTreeView* lista, const QString& texto)
{
    if (texto.isEmpty())
        return 0;
    const int margen = lista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lista) + 1;
    return lista->fontMetrics().horizontalAdvance(texto) + 2 * margen + 1;
}

} // namespace

void RepartirColumnas(QTreeView* lista, const QVector<ColumnaLista>& columnas)
{
    int diseno = 0;
    for (const ColumnaLista& c : columnas)
        diseno += Pixeles(c.twips);
    const int disponible = lista->width() - 2 * lista->frameWidth() - 2;
    const double escala = diseno > 0 ? std::max(1.0, disponible / static_cast<double>(diseno)) : 1.0;
    for (int i = 0; i < columnas.size(); ++i) {
        const int proporcional = static_cast<int>(Pixeles(columnas[i].twips) * escala);
        const int contenido = std::max(lista->header()->sectionSizeHint(i), AnchoTexto(lista, columnas[i].muestra));
        lista->header()->resizeSection(i, std::max(proporcional, contenido));
    }
}

} // namespace corvela
