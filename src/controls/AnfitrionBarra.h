#pragma once

#include "records/FormularioEnlazado.h"

namespace corvela {

// What the record toolbar needs from the window that carries it: the bound
// fields (through FormularioEnlazado), the delete rule and the toolbar's events.
// Events answer through their by-reference arguments.
class AnfitrionBarra : public FormularioEnlazado
{
public:
    // Asked before a delete; a refusal shows the host's own message.
    virtual bool SePuedeBorrar() = 0;
    // 0 new entry, 1 open, 2 before save, 99 after save, 3 after search,
    // 11 records found or deleted, 4 print, 9 clear screen, 10 back.
    virtual void BarraFilesEvento(int& CodigoEvento) = 0;
    // A button's action left a database or program error with this number.
    virtual void ErrorDetectado(int& Error);
    // The toolbar is about to set its buttons; Estado is the new state of "Guardar".
    virtual void Edicion(bool& Estado);
    // The toolbar is clearing the screen.
    virtual void LimpiaPantalla();
};

}  // namespace corvela
