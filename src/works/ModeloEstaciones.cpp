#include "works/ModeloEstaciones.h"

#include "core/TextoNumerico.h"

namespace corvela {

namespace {

struct Cabecera
{
    const char* titulo;
    int anchoTwips;
    Qt::Alignment alineacion;
};

const std::array<Cabecera, ModeloEstaciones::NumeroColumnas> kCabeceras{{
    {"C. Obra", 1000, Qt::AlignLeft},
    {"C. Estc.", 1000, Qt::AlignLeft},
    {"Descripción", 2700, Qt::AlignLeft},
    {"Fecha", 1100, Qt::AlignLeft},
    {"Altura", 900, Qt::AlignRight},
    {"C. X", 800, Qt::AlignRight},
    {"C. Y", 800, Qt::AlignRight},
    {"C. Z", 800, Qt::AlignRight},
}};

QString TextoDe(const Estacion& e, int columna)
{
    switch (columna) {
    case ModeloEstaciones::CObra:
        return QString::number(e.CodObra);
    case ModeloEstaciones::CEstc:
        return QString::number(e.CodEst);
    case ModeloEstaciones::Descripcion:
        return e.Descripcion;
    case ModeloEstaciones::Fecha:
        return e.Fecha;
    default:
        return FormatearNumero(e.Valores[columna - ModeloEstaciones::Altura]);
    }
}

} // namespace

void ModeloEstaciones::Cargar(QVector<Estacion> estaciones)
{
    beginResetModel();
    estaciones_ = std::move(estaciones);
    endResetModel();
}

void ModeloEstaciones::Vaciar()
{
    Cargar({});
}

int ModeloEstaciones::AnchoTwips(int columna)
{
    return kCabeceras[columna].anchoTwips;
}

int ModeloEstaciones::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : Filas();
}

int ModeloEstaciones::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : NumeroColumnas;
}

QVariant ModeloEstaciones::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid())
        return {};
    if (rol == Qt::DisplayRole)
        return TextoDe(estaciones_[indice.row()], indice.column());
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(kCabeceras[indice.column()].alineacion | Qt::AlignVCenter);
    return {};
}

QVariant ModeloEstaciones::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal)
        return {};
    if (rol == Qt::DisplayRole)
        return QString::fromUtf8(kCabeceras[seccion].titulo);
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(kCabeceras[seccion].alineacion | Qt::AlignVCenter);
    return {};
}

} // namespace corvela
