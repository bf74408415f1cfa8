#include "core/Mensajes.h"

#include "core/Instalado.h"
#include "core/MensajesQt.h"

namespace corvela {

Mensajes& Dialogos()
{
    return Instalado<Mensajes, MensajesQt>::Actual();
}

void InstalarDialogos(Mensajes* mensajes)
{
    Instalado<Mensajes, MensajesQt>::Instalar(mensajes);
}

} // namespace corvela
