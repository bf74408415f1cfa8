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

bool ModeloPuntos::TieneCodigos(const QVector<qint64>& codigos) const
{
    return std::equal(puntos_.cbegin(), puntos_.cend(), codigos.cbegin(), codigos.cend(),
                      [](const Punto& p, qint64 codigo) { return p.Codigo == codigo; });
}

// Only the code column of these rows changed: the view repaints what it shows of it.
void ModeloPuntos::CodigosCambiados(int desde)
{
    if (desde < puntos_.size())
        emit dataChanged(index(desde, 0), index(static_cast<int>(puntos_.size()) - 1, 0));
}

bool ModeloPuntos::Renumerar(const QVector<qint64>& antes)
{
    if (!TieneCodigos(antes))
        return false;
    int codigo = 0;
    for (Punto& p : puntos_)
        p.Codigo = ++codigo;
    CodigosCambiados(0);
    return true;
}

bool ModeloPuntos::AbrirLinea(int fila, const QVector<qint64>& antes)
{
    if (!TieneCodigos(antes) || fila < 0 || fila >= puntos_.size())
        return false;
    Punto blanco;
    blanco.Codigo = puntos_[fila].Codigo;
    for (auto p = puntos_.begin() + fila; p != puntos_.end(); ++p)
        ++p->Codigo;
    beginInsertRows({}, fila, fila);
    puntos_.insert(fila, blanco);
    endInsertRows();
    CodigosCambiados(fila + 1);
    return true;
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
