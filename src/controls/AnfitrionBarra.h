#pragma once

#include "records/FormularioEnlazado.h"

namespace corvela {

// What the record toolbar tells its host, with the code each moment is known by.
enum class EventoBarra : int {
    NuevaEntrada = 0,        // "Nueva Entrada" pressed, the card prepared
    Abrir = 1,               // "Abrir" pressed, the editing state set
    AntesDeGuardar = 2,      // "Guardar" pressed, before saving: the host may veto through bfEventoOk
    Buscado = 3,             // "Buscar" pressed, after the search, found or not
    Imprimir = 4,            // "Imprimir" pressed
    PantallaLimpia = 9,      // "Limpiar Pantalla" pressed, after the screen was cleared
    Retroceder = 10,         // "Retroceder" pressed
    RegistrosCambiados = 11, // a search found records or a record was deleted: the host re-binds its navigator
    Guardado = 99,           // "Guardar" finished: saved, failed or vetoed
};

// What the record toolbar needs from the window that carries it: the bound
// fields (through FormularioEnlazado), the delete rule and the toolbar's events.
// Events answer through their by-reference arguments.
class AnfitrionBarra : public FormularioEnlazado
{
public:
    // Asked before a delete; a refusal shows the host's own message.
    virtual bool SePuedeBorrar() = 0;
    virtual void BarraFilesEvento(EventoBarra& CodigoEvento) = 0;
    // A button's action left a database or program error with this number.
    virtual void ErrorDetectado(int& Error);
    // The toolbar is about to set its buttons; Estado is the new state of "Guardar".
    virtual void Edicion(bool& Estado);
    // The toolbar is clearing the screen.
    virtual void LimpiaPantalla();
};

} // namespace corvela
