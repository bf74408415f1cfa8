#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

namespace corvela {

// The user's CAD template: a header written once, the point block between the
// first "[" and the first "]" written once per point, and a footer written once.
// Placeholders are located here, before any value is put in, so that a value
// never reads as template text (a "[" in a folder name, a description holding
// "%ESCALA%").
class PlantillaScript
{
public:
    enum class Marcador { LimiteMinimo, LimiteMaximo, NombreDibujo, CoorX, CoorY, CoorZ, Resena, Escala };

    // A literal text, or a placeholder when marcador is set.
    struct Tramo
    {
        QString texto;
        std::optional<Marcador> marcador;
    };
    using Tramos = QVector<Tramo>;

    // From the template file's bytes: UTF-8 when they are valid UTF-8 (a byte
    // order mark dropped), else the single-byte Latin code page; every line
    // break becomes CR LF. Empty when there is no "[" before the first "]".
    static std::optional<PlantillaScript> DesdeBytes(const QByteArray& bytes);
    static std::optional<PlantillaScript> DesdeTexto(const QString& texto);

    const Tramos& Cabecera() const { return cabecera_; }
    const Tramos& Bloque() const { return bloque_; }
    const Tramos& Pie() const { return pie_; }

    // The text of a placeholder as written in a template.
    static QString TextoMarcador(Marcador marcador);

private:
    PlantillaScript() = default;

    Tramos cabecera_;
    Tramos bloque_;
    Tramos pie_;
};

} // namespace corvela
