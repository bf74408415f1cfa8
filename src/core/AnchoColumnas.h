#pragma once

#include <QString>
#include <QVector>

class QTableView;
class QTreeView;

namespace corvela {

// A column of a list: its designed width in twips and the widest text it is
// expected to show (empty when its texts may be cut, as free notes are).
struct ColumnaLista
{
    int twips;
    QString muestra;
};

// Gives a list its designed column widths, widened in proportion when the list
// is wider than they add up to, and each at least as wide as its header and its
// widest text in the list's font, so that no number shows cut.
void RepartirColumnas(QTreeView* lista, const QVector<ColumnaLista>& columnas);
void RepartirColumnas(QTableView* lista, const QVector<ColumnaLista>& columnas);

} // namespace corvela
