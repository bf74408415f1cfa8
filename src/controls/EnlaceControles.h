#pragma once

class QLineEdit;

namespace corvela {

class AnfitrionBarra;
class BarraFiles;
class GestionTablas;
class Moverse;

// Ties a bound window's toolbar, navigator and record object together, as the
// window does at load: the record object and the navigator share a snapshot of
// the window's table, the fields take the sizes of its columns, the first record
// is shown when there is one, and the toolbar is left in its search state.
void EnlazarControles(AnfitrionBarra& anfitrion, BarraFiles& barra, Moverse& navegador, GestionTablas& gestion,
                      QLineEdit* focoPorDefecto);

// The host's answer when a search found records or a record was deleted: a pending
// error is shown, then the navigator takes the new result from its first record.
void MostrarResultado(GestionTablas& gestion, Moverse& navegador);

} // namespace corvela
