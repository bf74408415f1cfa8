#include "core/Mensajes.h"

#include "core/MensajesQt.h"

namespace corvela {

namespace {
Mensajes* instalados = nullptr;
}

Mensajes& Dialogos()
{
    if (!instalados) {
        static MensajesQt porDefecto;
        return porDefecto;
    }
    return *instalados;
}

void InstalarDialogos(Mensajes* mensajes)
{
    instalados = mensajes;
}

}  // namespace corvela
