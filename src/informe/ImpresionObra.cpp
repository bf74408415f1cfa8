#include "informe/ImpresionObra.h"

#include "core/Globales.h"
#include "core/Mensajes.h"
#include "core/TextoNumerico.h"
#include "informe/ListadoObra.h"
#include "informe/frmListados.h"
#include "records/ErrorDatos.h"

#include <utility>

namespace corvela {

void ImprimirObra(const QString& codigoObra)
{
    const double codigo = ValorNumerico(codigoObra);
    if (codigo == 0) {
        Dialogos().MsgBox(QStringLiteral("Busque la Obra a Imprimir"), Icono::Informacion);
        return;
    }
    ListadoObra registros;
    if (!registros.Abrir(codigo)) {
        Dialogos().MsgBox(QStringLiteral("No se pudo leer la obra para imprimirla.") + SaltoDoble +
                              ErrorPendiente().Descripcion,
                          Icono::Critico);
        LimpiarError();
        return;
    }
    frmListados::Mostrar(std::move(registros));
}

} // namespace corvela
