#pragma once

#include <QVector>

class QTreeView;

namespace corvela {

// Gives a list its designed column widths (twips), widened in proportion when the
// list is wider than they add up to, so a scaled window shows whole numbers.
void RepartirColumnas(QTreeView* lista, const QVector<int>& anchosTwips);

} // namespace corvela
