#pragma once

#include "works/Estaciones.h"

#include <QAbstractTableModel>

namespace corvela {

// The rows of the stations list. The stored values are kept; numbers are shown
// with the user's decimals only when drawn.
class ModeloEstaciones : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Columna { CObra, CEstc, Descripcion, Fecha, Altura, CX, CY, CZ, NumeroColumnas };

    using QAbstractTableModel::QAbstractTableModel;

    void Cargar(QVector<Estacion> estaciones);
    void Vaciar();
    const Estacion& EstacionEn(int fila) const { return estaciones_[fila]; }
    int Filas() const { return static_cast<int>(estaciones_.size()); }

    // The width of each column in twips, as designed.
    static int AnchoTwips(int columna);

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;

private:
    QVector<Estacion> estaciones_;
};

} // namespace corvela
