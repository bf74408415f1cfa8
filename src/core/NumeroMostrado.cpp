#include "core/NumeroMostrado.h"

namespace corvela {

void NumeroMostrado::Mostrar(const QVariant& valor, const QString& texto)
{
    valor_ = valor;
    texto_ = texto;
}

void NumeroMostrado::Olvidar()
{
    valor_ = QVariant();
    texto_.clear();
}

std::optional<QVariant> NumeroMostrado::Guardado(const QString& texto) const
{
    if (!valor_.isValid() || texto != texto_)
        return std::nullopt;
    return valor_;
}

} // namespace corvela
