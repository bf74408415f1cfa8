#include "core/AnchoColumnas.h"

#include "core/Twips.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <QTreeView>
#include <algorithm>
#include <cmath>

namespace corvela {

namespace {

// The room a cell takes for its text: the text and the margins the view draws it within.
int AnchoTexto(const QAbstractItemView* lista, const QString& texto)
{
    if (texto.isEmpty())
        return 0;
    const int margen = lista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lista) + 1;
    return lista->fontMetrics().horizontalAdvance(texto) + 2 * margen + 1;
}

// The designed widths, widened to fill the list, then columns too narrow for
// their text take the room from those with room to spare, in proportion to it;
// only when no room is left does the list grow wider than it is.
void Repartir(QAbstractItemView* lista, QHeaderView* cabecera, const QVector<ColumnaLista>& columnas)
{
    int diseno = 0;
    for (const ColumnaLista& c : columnas)
        diseno += Pixeles(c.twips);
    const int disponible = lista->width() - 2 * lista->frameWidth() - 2;
    const double escala = diseno > 0 ? std::max(1.0, disponible / static_cast<double>(diseno)) : 1.0;
    QVector<int> anchos;
    QVector<int> necesarios;
    int falta = 0;
    int sobra = 0;
    for (int i = 0; i < columnas.size(); ++i) {
        anchos << static_cast<int>(Pixeles(columnas[i].twips) * escala);
        necesarios << std::max(cabecera->sectionSizeHint(i), AnchoTexto(lista, columnas[i].muestra));
        falta += std::max(0, necesarios[i] - anchos[i]);
        sobra += std::max(0, anchos[i] - necesarios[i]);
    }
    const double cedido = sobra > 0 ? std::min(1.0, falta / static_cast<double>(sobra)) : 0.0;
    for (int i = 0; i < columnas.size(); ++i) {
        const int holgura = std::max(0, anchos[i] - necesarios[i]);
        const int ancho = std::max(necesarios[i], anchos[i] - static_cast<int>(std::ceil(holgura * cedido)));
        cabecera->resizeSection(i, ancho);
    }
}

} // namespace

void RepartirColumnas(QTreeView* lista, const QVector<ColumnaLista>& columnas)
{
    Repartir(lista, lista->header(), columnas);
}

void RepartirColumnas(QTableView* lista, const QVector<ColumnaLista>& columnas)
{
    Repartir(lista, lista->horizontalHeader(), columnas);
}

} // namespace corvela
