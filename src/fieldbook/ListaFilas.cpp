#include "fieldbook/ListaFilas.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>
#include <algorithm>

namespace corvela {

namespace {

// Cells draw no focus frame of their own: the list draws one round the row.
// Their text is one line, set straight, without the general text layout that
// wrapping would need.
class CeldaLinea : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override
    {
        QStyleOptionViewItem celda = opcion;
        initStyleOption(&celda, indice);
        const QString texto = celda.text;
        celda.text.clear();
        celda.features &= ~QStyleOptionViewItem::HasDisplay;
        const QWidget* lista = celda.widget;
        QStyle* estilo = lista ? lista->style() : QApplication::style();
        estilo->drawControl(QStyle::CE_ItemViewItem, &celda, pintor, lista);
        if (texto.isEmpty())
            return;
        const int margen = estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lista) + 1;
        const QRect caja = celda.rect.adjusted(margen, 0, -margen, 0);
        QPalette::ColorGroup grupo = celda.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        if (grupo == QPalette::Normal && !(celda.state & QStyle::State_Active))
            grupo = QPalette::Inactive;
        pintor->save();
        pintor->setFont(celda.font);
        pintor->setPen(celda.palette.color(grupo, celda.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                       : QPalette::Text));
        pintor->drawText(caja, QStyle::visualAlignment(celda.direction, celda.displayAlignment) | Qt::TextSingleLine,
                         celda.fontMetrics.elidedText(texto, celda.textElideMode, caja.width()));
        pintor->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& indice) const override
    {
        QStyledItemDelegate::initStyleOption(opcion, indice);
        opcion->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

ListaFilas::ListaFilas(QWidget* padre) : QTableView(padre)
{
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegate(new CeldaLinea(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* cabecera = horizontalHeader();
    cabecera->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cabecera->setHighlightSections(false);
    cabecera->setSectionsClickable(false);
    cabecera->setSectionsMovable(false);
    cabecera->setStretchLastSection(false);
    FijarAltoFila();
}

// The height a line of text takes in a cell, margins included.
void ListaFilas::FijarAltoFila()
{
    QStyleOptionViewItem opcion;
    initViewItemOption(&opcion);
    opcion.features |= QStyleOptionViewItem::HasDisplay;
    opcion.text = QStringLiteral("Ág");
    const QSize tamano = style()->sizeFromContents(QStyle::CT_ItemViewItem, &opcion, QSize(), this);
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(tamano.height());
}

void ListaFilas::changeEvent(QEvent* evento)
{
    QTableView::changeEvent(evento);
    if (evento->type() == QEvent::FontChange) {
        // The header reads in the list's font, as a list's header does.
        horizontalHeader()->setFont(font());
        FijarAltoFila();
    } else if (evento->type() == QEvent::StyleChange) {
        FijarAltoFila();
    }
}

void ListaFilas::paintEvent(QPaintEvent* evento)
{
    QTableView::paintEvent(evento);
    const QModelIndex actual = currentIndex();
    if (!hasFocus() || !actual.isValid())
        return;
    QStyleOptionFocusRect foco;
    foco.initFrom(this);
    foco.state |= QStyle::State_KeyboardFocusChange;
    const bool elegida = selectionModel() && selectionModel()->isSelected(actual);
    foco.backgroundColor = palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled,
                                           elegida ? QPalette::Highlight : QPalette::Window);
    const QRect celda = visualRect(actual);
    const QRect fila(-horizontalHeader()->offset(), celda.top(), horizontalHeader()->length(), celda.height());
    foco.rect = style()->visualRect(layoutDirection(), viewport()->rect(), fila);
    QPainter pintor(viewport());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &foco, &pintor, this);
}

QModelIndex ListaFilas::EnFila(int fila) const
{
    if (!model() || model()->rowCount(rootIndex()) == 0)
        return {};
    return model()->index(fila, std::max(0, currentIndex().column()), rootIndex());
}

QModelIndex ListaFilas::moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores)
{
    switch (accion) {
    case MoveHome:
        return EnFila(0);
    case MoveEnd:
        return model() ? EnFila(model()->rowCount(rootIndex()) - 1) : QModelIndex();
    case MovePageDown:
    case MovePageUp: {
        // The row one viewport below or above the top of the current one, else the last or the first.
        const int arriba = visualRect(currentIndex()).top();
        const int fila = rowAt(accion == MovePageDown ? arriba + viewport()->height() : arriba - viewport()->height());
        if (fila >= 0)
            return EnFila(fila);
        return moveCursor(accion == MovePageDown ? MoveEnd : MoveHome, modificadores);
    }
    case MoveLeft:
    case MoveRight: {
        QScrollBar* barra = horizontalScrollBar();
        barra->setValue(barra->value() + (accion == MoveLeft ? -barra->singleStep() : barra->singleStep()));
        return currentIndex();
    }
    default:
        return QTableView::moveCursor(accion, modificadores);
    }
}

} // namespace corvela
