#include "controls/AnfitrionBarra.h"

namespace corvela {

void AnfitrionBarra::ErrorDetectado(int&) {}

void AnfitrionBarra::Edicion(bool&) {}

void AnfitrionBarra::LimpiaPantalla() {}

} // namespace corvela
