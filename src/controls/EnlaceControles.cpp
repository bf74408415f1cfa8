#include "controls/EnlaceControles.h"

#include "controls/AnfitrionBarra.h"
#include "controls/BarraFiles.h"
#include "controls/Moverse.h"
#include "records/GestionTablas.h"

namespace corvela {

void EnlazarControles(AnfitrionBarra& anfitrion, BarraFiles& barra, Moverse& navegador, GestionTablas& gestion,
                      QLineEdit* focoPorDefecto)
{
    gestion.RS = std::make_shared<RecordSet>(RecordSet::Abrir(QStringLiteral("SELECT * FROM ") + anfitrion.Tabla()));
    gestion.MaximaLongitud(gestion.RS.get(), &anfitrion);
    navegador.RSUsado = gestion.RS;
    navegador.FrmEnTrabajo = &anfitrion;
    navegador.BarraFiles1 = &barra;
    // An empty table is no error: a first start must not greet the user with one.
    if (gestion.RS->RecordCount() > 0)
        navegador.Registros();
    gestion.Formulario = &anfitrion;
    barra.FrmActivo = &anfitrion;
    barra.ctlMoverse = &navegador;
    barra.GesTablas = &gestion;
    barra.FocoPorDefecto = focoPorDefecto;
    barra.TxtCod = anfitrion.txtFields(0);
    gestion.Where.clear();
    barra.LimpiarPantalla();
}

void MostrarResultado(GestionTablas& gestion, Moverse& navegador)
{
    gestion.VerPosibleError();
    navegador.RSUsado = gestion.RS;
    navegador.Registros();
    navegador.VisibleCtl(true);
}

} // namespace corvela
