#include "works/EscritorScript.h"

#include "core/TextoNumerico.h"
#include "works/CodigoLatino.h"

#include <QIODevice>

namespace corvela {

namespace {

using Marcador = PlantillaScript::Marcador;

constexpr qsizetype kTamanoBufer = 1 << 20;
const QByteArray kSalto = QByteArrayLiteral("\r\n");

// Slot of a per-point value, or -1 for a value fixed for the whole script.
int ValorDePunto(Marcador marcador)
{
    switch (marcador) {
    case Marcador::CoorX: return 0;
    case Marcador::CoorY: return 1;
    case Marcador::CoorZ: return 2;
    case Marcador::Resena: return 3;
    default: return -1;
    }
}

}  // namespace

EscritorScript::EscritorScript(const PlantillaScript& plantilla, const DatosDibujo& datos, QIODevice& destino)
    : datos_(datos), destino_(destino)
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
        if (piezas.isEmpty() || piezas.last().marcador)
            piezas.push_back({QByteArray(), std::nullopt});
        AnadirEnCodigoLatino(texto, piezas.last().literal);
    };
    for (const PlantillaScript::Tramo& tramo : tramos) {
        if (!tramo.marcador) {
            anadirLiteral(tramo.texto);
            continue;
        }
        switch (*tramo.marcador) {
        case Marcador::LimiteMinimo: anadirLiteral(datos_.LimiteMinimo); break;
        case Marcador::LimiteMaximo: anadirLiteral(datos_.LimiteMaximo); break;
        case Marcador::NombreDibujo: anadirLiteral(datos_.NombreDibujo); break;
        case Marcador::Escala: anadirLiteral(datos_.Escala); break;
        default:
            if (conValoresDePunto)
                piezas.push_back({QByteArray(), tramo.marcador});
            else
                anadirLiteral(PlantillaScript::TextoMarcador(*tramo.marcador));
        }
    }
    return piezas;
}

void EscritorScript::EscribirCabecera()
{
    for (const Pieza& pieza : cabecera_)
        bufer_ += pieza.literal;
}

void EscritorScript::EscribirPunto(const QVariant& x, const QVariant& y, const QVariant& z, const QVariant& estacion,
                                   const QVariant& punto, const QVariant& resena)
{
    bool calculado[4] = {false, false, false, false};
    auto valor = [&](int slot) -> const QByteArray& {
        if (!calculado[slot]) {
            calculado[slot] = true;
            QByteArray& texto = valores_[slot];
            texto.clear();
            switch (slot) {
            case 0: AnadirEnCodigoLatino(Coordenada(x), texto); break;
            case 1: AnadirEnCodigoLatino(Coordenada(y), texto); break;
            case 2: AnadirEnCodigoLatino(Coordenada(z), texto); break;
            default: AnadirEnCodigoLatino(Resena(estacion, punto, resena), texto);
            }
        }
        return valores_[slot];
    };

    if (hayPuntos_)
        bufer_ += kSalto;
    hayPuntos_ = true;
    for (const Pieza& pieza : bloque_)
        bufer_ += pieza.marcador ? valor(ValorDePunto(*pieza.marcador)) : pieza.literal;
    if (bufer_.size() >= kTamanoBufer)
        Volcar();
}

bool EscritorScript::Terminar()
{
    for (const Pieza& pieza : pie_)
        bufer_ += pieza.literal;
    bufer_ += kSalto;
    Volcar();
    return !fallo_;
}

void EscritorScript::Volcar()
{
    if (!fallo_ && destino_.write(bufer_) != bufer_.size())
        fallo_ = true;
    bufer_.resize(0);
}

QString EscritorScript::Resena(const QVariant& estacion, const QVariant& punto, const QVariant& resena)
{
    QString texto = QString::number(ValorCampo(estacion, QMetaType::Int).toLongLong()) + u'/'
                    + QString::number(ValorCampo(punto, QMetaType::Int).toLongLong());
    const QString descripcion = ValorCampo(resena, QMetaType::QString).toString();
    if (descripcion.isEmpty())
        return texto;
    texto += u'/';
    // Any blank would end the answer early in the CAD program's script reader.
    for (const QChar c : descripcion)
        texto += c.isSpace() ? QChar(u'-') : c;
    return texto;
}

QString EscritorScript::Coordenada(const QVariant& valor)
{
    return ComaAPunto(FormatearNumero(ValorCampo(valor, QMetaType::Double)));
}

}  // namespace corvela
