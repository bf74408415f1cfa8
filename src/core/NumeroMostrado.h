#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace corvela {

// A stored number written into an entry field with fewer decimals than it has.
// While the field still shows the text it was written with, the number it stands
// for is the stored one, so that display decimals never cost precision; once the
// text is another, the text is what counts.
class NumeroMostrado
{
public:
    // valor is shown as texto, the text as the field holds it after writing.
    void Mostrar(const QVariant& valor, const QString& texto);
    void Olvidar();

    // The stored value while texto is still the text it was shown with; nothing
    // when the text has changed or no value was shown.
    std::optional<QVariant> Guardado(const QString& texto) const;

private:
    QVariant valor_;
    QString texto_;
};

} // namespace corvela
