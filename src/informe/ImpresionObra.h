#pragma once

#include <QString>

namespace corvela {

// "Imprimir" of the works card: reads the field book of the work whose code text
// is given and hands it to the report window, which shows it (laying the window
// out again when it is already open). An empty or zero code only asks for a work.
void ImprimirObra(const QString& codigoObra);

} // namespace corvela
