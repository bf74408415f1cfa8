#pragma once

#include "fieldbook/PuntosEstacion.h"

#include <QAbstractTableModel>
#include <QVector>

namespace corvela {

// The field book's list: one row per point, the code first, then the texts and
// numbers in the order of the entry row. Rows keep the stored values; numbers are
// laid out in the user's decimals only when shown.
class ModeloPuntos : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kColumnas = 12;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

    void Cargar(QVector<Punto> puntos);
    void Anadir(const Punto& punto);
    void Reemplazar(int fila, const Punto& punto);
    void Quitar(int fila);
    // The list follows the station's codes without reading its points again, as
    // long as it holds the codes antes, which the station held, in that order;
    // false, the list untouched, when it does not. Renumerar gives the rows codes
    // 1 to n; AbrirLinea puts a blank point at fila and moves it and every later
    // code up by one.
    bool Renumerar(const QVector<qint64>& antes);
    bool AbrirLinea(int fila, const QVector<qint64>& antes);

    const Punto& PuntoEn(int fila) const { return puntos_[fila]; }
    // The row of the point with this code, -1 when there is none.
    int FilaDeCodigo(int codigo) const;

    // Width of each column in twips, as the list was designed.
    static int AnchoColumna(int columna);

private:
    bool TieneCodigos(const QVector<qint64>& codigos) const;
    void CodigosCambiados(int desde);

    QVector<Punto> puntos_;
};

} // namespace corvela
