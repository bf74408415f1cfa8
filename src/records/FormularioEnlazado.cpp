#include "records/FormularioEnlazado.h"

namespace corvela {

QLineEdit* FormularioEnlazado::txtFields(int indice) const
{
    return CamposEnlazados().value(indice).Campo;
}

QString FormularioEnlazado::ColumnaClave() const
{
    return CamposEnlazados().value(0).Columna;
}

} // namespace corvela
