#pragma once

#include "works/PlantillaScript.h"

#include <QByteArray>
#include <QVariant>
#include <QVector>

class QIODevice;

namespace corvela {

// The work-wide values of one script, as they go into it.
struct DatosDibujo
{
    QString LimiteMinimo;  // lowest X "," lowest Y, decimal points
    QString LimiteMaximo;  // highest X "," highest Y
    QString NombreDibujo;  // destination folder followed by the drawing name
    QString Escala;        // the scale, decimal point
};

// Streams a CAD script to a device: the header, one copy of the point block per
// point (CR LF between copies), the footer and a final CR LF, in the template's
// code page. Output is gathered in a bounded buffer, so memory does not grow with
// the number of points.
class EscritorScript
{
public:
    EscritorScript(const PlantillaScript& plantilla, const DatosDibujo& datos, QIODevice& destino);

    void EscribirCabecera();
    // Values as read from B_PUNTOS: CC1, CC2, CC3, CODEST, CODPUNTO, RESENA; a
    // missing coordinate counts as 0.
    void EscribirPunto(const QVariant& x, const QVariant& y, const QVariant& z, const QVariant& estacion,
                       const QVariant& punto, const QVariant& resena);
    // Footer and final line break; false when the device refused a write.
    bool Terminar();

    // The label of a point: station "/" point, then "/" and the description with
    // its blanks turned into "-" when there is one.
    static QString Resena(const QVariant& estacion, const QVariant& punto, const QVariant& resena);
    // A coordinate in the user's display decimals with a decimal point.
    static QString Coordenada(const QVariant& valor);

private:
    // A literal in the code page, or a per-point placeholder.
    struct Pieza
    {
        QByteArray literal;
        std::optional<PlantillaScript::Marcador> marcador;
    };

    QVector<Pieza> Compilar(const PlantillaScript::Tramos& tramos, bool conValoresDePunto) const;
    void Volcar();

    const DatosDibujo datos_;
    QIODevice& destino_;
    QVector<Pieza> cabecera_;
    QVector<Pieza> bloque_;
    QVector<Pieza> pie_;
    QByteArray bufer_;
    QByteArray valores_[4];
    bool hayPuntos_ = false;
    bool fallo_ = false;
};

}  // namespace corvela
