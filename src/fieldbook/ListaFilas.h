#pragma once

#include <QTableView>

namespace corvela {

// A list of one line per row over a table model: whole rows selected one at a
// time, no grid, every row as high as one line of its font, so that adding a
// row lays out nothing else. Its keys move as a list's do: Home and End to the
// first and last row, Left and Right scroll the columns sideways. The focus
// frame goes round the whole current row, not round one of its cells.
class ListaFilas : public QTableView
{
    Q_OBJECT
public:
    explicit ListaFilas(QWidget* padre = nullptr);

protected:
    QModelIndex moveCursor(CursorAction accion, Qt::KeyboardModifiers modificadores) override;
    void changeEvent(QEvent* evento) override;
    void paintEvent(QPaintEvent* evento) override;

private:
    void FijarAltoFila();
    QModelIndex EnFila(int fila) const;
};

} // namespace corvela
