#include "cad/PlantillaScript.h"

#include "cad/CodigoLatino.h"

#include <QStringDecoder>
#include <array>

namespace corvela {

namespace {

using Marcador = PlantillaScript::Marcador;

// The work-wide placeholders stand anywhere; the point ones only in the block.
constexpr std::array<Marcador, 3> kMarcadoresObra = {Marcador::LimiteMinimo, Marcador::LimiteMaximo,
                                                     Marcador::NombreDibujo};
constexpr std::array<Marcador, 8> kMarcadoresBloque = {
    Marcador::LimiteMinimo, Marcador::LimiteMaximo, Marcador::NombreDibujo, Marcador::CoorX,
    Marcador::CoorY,        Marcador::CoorZ,        Marcador::Resena,       Marcador::Escala};

template <std::size_t N> PlantillaScript::Tramos Trocear(QStringView texto, const std::array<Marcador, N>& marcadores)
{
    PlantillaScript::Tramos tramos;
    qsizetype desde = 0;
    while (desde < texto.size()) {
        qsizetype primero = -1;
        Marcador hallado = marcadores.front();
        for (const Marcador m : marcadores) {
            const qsizetype donde = texto.indexOf(PlantillaScript::TextoMarcador(m), desde);
            if (donde >= 0 && (primero < 0 || donde < primero)) {
                primero = donde;
                hallado = m;
            }
        }
        if (primero < 0)
            break;
        if (primero > desde)
            tramos.push_back({texto.mid(desde, primero - desde).toString(), std::nullopt});
        tramos.push_back({QString(), hallado});
        desde = primero + PlantillaScript::TextoMarcador(hallado).size();
    }
    if (desde < texto.size())
        tramos.push_back({texto.mid(desde).toString(), std::nullopt});
    return tramos;
}

// Linux editors save UTF-8, which read byte by byte would no longer hold
// "%RESEÑA%". Windows-1252 text is almost never valid UTF-8 once it has an
// accented letter, and plain ASCII reads the same either way.
QString TextoPlantilla(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString texto = utf8.decode(bytes);
    return utf8.hasError() ? TextoDeCodigoLatino(bytes) : texto;
}

QString SaltosCrLf(QString texto)
{
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(u'\n', QStringLiteral("\r\n"));
    return texto;
}

} // namespace

std::optional<PlantillaScript> PlantillaScript::DesdeBytes(const QByteArray& bytes)
{
    return DesdeTexto(SaltosCrLf(TextoPlantilla(bytes)));
}

std::optional<PlantillaScript> PlantillaScript::DesdeTexto(const QString& texto)
{
    const qsizetype abre = texto.indexOf(u'[');
    const qsizetype cierra = texto.indexOf(u']');
    if (abre < 0 || cierra < abre)
        return std::nullopt;
    const QStringView vista(texto);
    PlantillaScript plantilla;
    plantilla.cabecera_ = Trocear(vista.left(abre), kMarcadoresObra);
    plantilla.bloque_ = Trocear(vista.mid(abre + 1, cierra - abre - 1), kMarcadoresBloque);
    plantilla.pie_ = Trocear(vista.mid(cierra + 1), kMarcadoresObra);
    return plantilla;
}

QString PlantillaScript::TextoMarcador(Marcador marcador)
{
    switch (marcador) {
    case Marcador::LimiteMinimo:
        return QStringLiteral("%LIMITE_MINIMO%");
    case Marcador::LimiteMaximo:
        return QStringLiteral("%LIMITE_MAX%");
    case Marcador::NombreDibujo:
        return QStringLiteral("%NombreDibujo%");
    case Marcador::CoorX:
        return QStringLiteral("%CoorX%");
    case Marcador::CoorY:
        return QStringLiteral("%CoorY%");
    case Marcador::CoorZ:
        return QStringLiteral("%CoorZ%");
    case Marcador::Resena:
        return QStringLiteral("%RESEÑA%");
    case Marcador::Escala:
        return QStringLiteral("%ESCALA%");
    }
    return QString();
}

} // namespace corvela
