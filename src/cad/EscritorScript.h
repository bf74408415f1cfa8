#pragma once

#include "cad/NumeroScript.h"
#include "cad/PlantillaScript.h"

#include <QByteArray>
#include <QVariant>
#include <QVector>
#include <string>

class QIODevice;

namespace corvela {

// The work-wide values of one script, as they go into it.
struct DatosDibujo
{
    QString LimiteMinimo; // lowest X "," lowest Y, decimal points
    QString LimiteMaximo; // highest X "," highest Y
    QString NombreDibujo; // destination folder followed by the drawing name
    QString Escala;       // the scale, decimal point
};

// Streams a CAD script to a device: the header, one copy of the point block per
// point (CR LF between copies), the footer and a final CR LF, in the single-byte
// Latin code page of CAD scripts, whatever the template's encoding. Output is
// gathered in a bounded buffer, so memory does not grow with the number of points.
class EscritorScript
{
public:
    EscritorScript(const PlantillaScript& plantilla, const DatosDibujo& datos, QIODevice& destino);

    void EscribirCabecera();
    // Values as read from B_PUNTOS: CC1, CC2, CC3, CODEST, CODPUNTO, RESENA; a
    // missing coordinate counts as 0.
    void EscribirPunto(const QVariant& x, const QVariant& y, const QVariant& z, const QVariant& estacion,
                       const QVariant& punto, const QVariant& resena);
    // Footer and final line break. False when the device refused a write (its
    // error says why); nothing more is written after it.
    bool Terminar();

private:
    // Per-point values, in the order of their slots.
    enum ValorDePunto { kCoorX, kCoorY, kCoorZ, kResena, kValoresDePunto };

    // A literal in the code page, or the slot of a per-point value.
    struct Pieza
    {
        QByteArray literal;
        int valor = -1;
    };

    QVector<Pieza> Compilar(const PlantillaScript::Tramos& tramos, bool conValoresDePunto) const;
    void Anadir(const QByteArray& bytes) { bufer_.append(bytes.constData(), static_cast<std::size_t>(bytes.size())); }
    void Volcar();

    const DatosDibujo datos_;
    const NumeroScript numeros_;
    QIODevice& destino_;
    QVector<Pieza> cabecera_;
    QVector<Pieza> bloque_;
    QVector<Pieza> pie_;
    std::string bufer_;
    QByteArray valores_[kValoresDePunto];
    bool hayPuntos_ = false;
    bool fallo_ = false;
};

} // namespace corvela
