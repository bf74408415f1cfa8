#include "informe/ImpresionObra.h"

#include "core/CursorEspera.h"
#include "core/Globales.h"
#include "core/Mensajes.h"
#include "core/TextoNumerico.h"
#include "informe/ListadoObra.h"
#include "informe/frmListados.h"
#include "records/ErrorDatos.h"

#include <optional>
#include <utility>

namespace corvela {

void ImprimirObra(const QString& codigoObra)
{
    const double codigo = ValorNumerico(codigoObra);
    if (codigo == 0) {
        Dialogos().MsgBox(QStringLiteral("Busque la Obra a Imprimir"), Icono::Informacion);
        return;
    }
    // A large work takes a while to read and to lay out.
    std::optional<CursorEspera> espera(std::in_place);
    ListadoObra registros;
    if (!registros.Abrir(codigo)) {
        espera.reset();
        Dialogos().MsgBox(QStringLiteral("No se pudo leer la obra para imprimirla.") + SaltoDoble +
                              ErrorPendiente().Descripcion,
                          Icono::Critico);
        LimpiarError();
        return;
    }
    frmListados::Mostrar(std::move(registros));
}

} // namespace corvela
