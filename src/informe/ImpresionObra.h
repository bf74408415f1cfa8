#pragma once

#include "informe/ListadoObra.h"

#include <QString>

namespace corvela {

// The rows of the field book last asked for; the report window reads them when it loads.
extern ListadoObra RegistrosListado;

// "Imprimir" of the works card: reads the field book of the work whose code text
// is given into RegistrosListado and shows it in the report window (reloading the
// window when it is already open). An empty or zero code only asks for a work.
void ImprimirObra(const QString& codigoObra);

}  // namespace corvela
