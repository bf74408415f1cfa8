#include "records/FormularioEnlazado.h"

namespace corvela {

QLineEdit* FormularioEnlazado::txtFields(int indice) const
{
    return CamposEnlazados().value(indice).Campo;
}

}  // namespace corvela
