#include "fieldbook/ModeloPuntos.h"

#include "core/Globales.h"
#include "core/TextoNumerico.h"
#include "records/Esquema.h"

#include <algorithm>

namespace corvela {

namespace {

constexpr int kColumnaResena = esquema::kResena;
constexpr int kColumnaNotas = esquema::kObserv;
constexpr int kPrimeraNumerica = esquema::kLectMed;
static_assert(ModeloPuntos::kColumnas == esquema::kColumnasLista);

bool EsNumerica(int columna)
{
    return columna >= kPrimeraNumerica && columna < kColumnaNotas;
}

Qt::Alignment Alineacion(int columna)
{
    return (EsNumerica(columna) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

int ModeloPuntos::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : static_cast<int>(puntos_.size());
}

int ModeloPuntos::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : kColumnas;
}

QVariant ModeloPuntos::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid())
        return {};
    const int columna = indice.column();
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(Alineacion(columna));
    if (rol != Qt::DisplayRole)
        return {};
    const Punto& p = puntos_[indice.row()];
    if (columna == 0)
        return QString::number(p.Codigo);
    if (columna == kColumnaResena)
        return p.Resena;
    if (columna == kColumnaNotas)
        return p.Notas;
    return FormatearPatron(p.Numeros[columna - kPrimeraNumerica], FormatoDecimales);
}

QVariant ModeloPuntos::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= kColumnas)
        return {};
    if (rol == Qt::DisplayRole)
        return esquema::TituloPunto(seccion);
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(Alineacion(seccion));
    return {};
}

void ModeloPuntos::Cargar(QVector<Punto> puntos)
{
    beginResetModel();
    puntos_ = std::move(puntos);
    endResetModel();
}

void ModeloPuntos::Anadir(const Punto& punto)
{
    const int fila = static_cast<int>(puntos_.size());
    beginInsertRows({}, fila, fila);
    puntos_.push_back(punto);
    endInsertRows();
}

void ModeloPuntos::Reemplazar(int fila, const Punto& punto)
{
    puntos_[fila] = punto;
    emit dataChanged(index(fila, 0), index(fila, kColumnas - 1));
}

void ModeloPuntos::Quitar(int fila)
{
    beginRemoveRows({}, fila, fila);
    puntos_.removeAt(fila);
    endRemoveRows();
}

int ModeloPuntos::FilaDeCodigo(int codigo) const
{
    const auto it =
        std::find_if(puntos_.cbegin(), puntos_.cend(), [codigo](const Punto& p) { return p.Codigo == codigo; });
    return it == puntos_.cend() ? -1 : static_cast<int>(it - puntos_.cbegin());
}

int ModeloPuntos::AnchoColumna(int columna)
{
    if (columna == 0)
        return 600;
    if (columna == kColumnaResena)
        return 825;
    if (columna == kColumnaNotas)
        return 2600;
    return 815;
}

} // namespace corvela
