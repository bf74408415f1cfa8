#include "app/Arranque.h"

#include "core/Globales.h"
#include "core/frmArranque.h"
#include "records/BaseDatos.h"
#include "works/frmFicha.h"

namespace corvela {

bool Main(const QString& carpetaDatos, const QString& carpetaRecursos)
{
    IniciarGlobales(carpetaDatos, carpetaRecursos);

    frmArranque::FijarPrincipal([] { frmFicha::Mostrar(); });
    frmArranque* arranque = frmArranque::Instancia();
    arranque->Mostrar();

    if (AbrirBaseDatos(RutaDatos(QStringLiteral("Corvelax.db"))) != Apertura::Abierta) {
        arranque->close();
        return false;
    }
    // The timer starts once the database is open: the question about creating it
    // runs its own event loop, and the main window must not appear before.
    arranque->IniciarTemporizador();
    return true;
}

} // namespace corvela
