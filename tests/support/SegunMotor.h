#pragma once

#include "records/DestinoDatos.h"

#include <QString>

// What a test stages in the database, written for the engine it runs on.
namespace corvela::pruebas {

// Runs a statement that defines something (a table, a sequence...) on the
// program's connection: a server cannot prepare those. Warns with the reason on failure.
bool Definir(const QString& sql);

// A trigger nombre, run momento ("BEFORE UPDATE ON B_PUNTOS") for every row for
// which condicion holds (written with NEW.columna), that refuses the row as
// breaking the database's rules, with the text mensaje.
bool DisparadorQueRechaza(const QString& nombre, const QString& momento, const QString& condicion,
                          const QString& mensaje);
// The same, that runs sentencia (valid on both engines) before the row is written.
bool DisparadorQueEjecuta(const QString& nombre, const QString& momento, const QString& condicion,
                          const QString& sentencia);

// Makes the program's connection refuse every write, or accept them again.
void SoloLectura(bool activa);

// Another instance writing in the database while it lives: it holds the write
// lock, so that the program's writes wait for it and, in the end, give up.
class OtroPuestoGrabando
{
public:
    explicit OtroPuestoGrabando(const DestinoDatos& destino);
    ~OtroPuestoGrabando();
    OtroPuestoGrabando(const OtroPuestoGrabando&) = delete;
    OtroPuestoGrabando& operator=(const OtroPuestoGrabando&) = delete;

    bool Tomado() const { return tomado_; }

private:
    bool tomado_ = false;
};

} // namespace corvela::pruebas
