#include "cad/EscritorScript.h"

#include "cad/CodigoLatino.h"
#include "cad/EtiquetaPunto.h"
#include "core/EscrituraSegura.h"
#include "core/Globales.h"

#include <QIODevice>

namespace corvela {

namespace {

using Marcador = PlantillaScript::Marcador;

constexpr std::size_t kTamanoBufer = 1 << 20;
const QByteArray kSalto = QByteArrayLiteral("\r\n");

} // namespace

EscritorScript::EscritorScript(const PlantillaScript& plantilla, const DatosDibujo& datos, QIODevice& destino)
    : datos_(datos), numeros_(FormatoDecimales), destino_(destino)
{
    cabecera_ = Compilar(plantilla.Cabecera(), false);
    bloque_ = Compilar(plantilla.Bloque(), true);
    pie_ = Compilar(plantilla.Pie(), false);
    bufer_.reserve(kTamanoBufer + kTamanoBufer / 4);
}

QVector<EscritorScript::Pieza> EscritorScript::Compilar(const PlantillaScript::Tramos& tramos,
                                                        bool conValoresDePunto) const
{
    QVector<Pieza> piezas;
    auto anadirLiteral = [&piezas](const QString& texto) {
        if (piezas.isEmpty() || piezas.last().valor >= 0)
            piezas.push_back({QByteArray(), -1});
        AnadirEnCodigoLatino(texto, piezas.last().literal);
    };
    for (const PlantillaScript::Tramo& tramo : tramos) {
        if (!tramo.marcador) {
            anadirLiteral(tramo.texto);
            continue;
        }
        // Outside the block a point placeholder is plain text.
        auto anadirValor = [&](int slot) {
            if (conValoresDePunto)
                piezas.push_back({QByteArray(), slot});
            else
                anadirLiteral(PlantillaScript::TextoMarcador(*tramo.marcador));
        };
        switch (*tramo.marcador) {
        case Marcador::LimiteMinimo:
            anadirLiteral(datos_.LimiteMinimo);
            break;
        case Marcador::LimiteMaximo:
            anadirLiteral(datos_.LimiteMaximo);
            break;
        case Marcador::NombreDibujo:
            anadirLiteral(datos_.NombreDibujo);
            break;
        case Marcador::Escala:
            anadirLiteral(datos_.Escala);
            break;
        case Marcador::CoorX:
            anadirValor(kCoorX);
            break;
        case Marcador::CoorY:
            anadirValor(kCoorY);
            break;
        case Marcador::CoorZ:
            anadirValor(kCoorZ);
            break;
        case Marcador::Resena:
            anadirValor(kResena);
            break;
        }
    }
    return piezas;
}

void EscritorScript::EscribirCabecera()
{
    for (const Pieza& pieza : cabecera_)
        Anadir(pieza.literal);
}

void EscritorScript::EscribirPunto(const QVariant& x, const QVariant& y, const QVariant& z, const QVariant& estacion,
                                   const QVariant& punto, const QVariant& resena)
{
    // Each value is worked out once per point, however often the block holds it.
    bool calculado[kValoresDePunto] = {};
    auto valor = [&](int slot) -> const QByteArray& {
        QByteArray& texto = valores_[slot];
        if (!calculado[slot]) {
            calculado[slot] = true;
            texto.resize(0);
            switch (slot) {
            case kCoorX:
                numeros_.Anadir(x, texto);
                break;
            case kCoorY:
                numeros_.Anadir(y, texto);
                break;
            case kCoorZ:
                numeros_.Anadir(z, texto);
                break;
            default:
                AnadirEtiquetaPunto(estacion, punto, resena, texto);
            }
        }
        return texto;
    };

    if (hayPuntos_)
        Anadir(kSalto);
    hayPuntos_ = true;
    for (const Pieza& pieza : bloque_)
        Anadir(pieza.valor >= 0 ? valor(pieza.valor) : pieza.literal);
    if (bufer_.size() >= kTamanoBufer)
        Volcar();
}

bool EscritorScript::Terminar()
{
    for (const Pieza& pieza : pie_)
        Anadir(pieza.literal);
    Anadir(kSalto);
    Volcar();
    return !fallo_;
}

void EscritorScript::Volcar()
{
    const auto tamano = static_cast<qint64>(bufer_.size());
    // After a refused write the rest goes nowhere: the device remembers the failure.
    if (!fallo_ && !EscrituraSegura::EscribirTodo(destino_, bufer_.data(), tamano))
        fallo_ = true;
    bufer_.clear();
}

} // namespace corvela
