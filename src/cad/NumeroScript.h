#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace corvela {

// Coordinates as the CAD script takes them: the user's display decimals with a
// decimal point, that is ComaAPunto(FormatearNumero(value)), a missing value
// counting as 0. The usual pattern ("###0." and zeros) is laid out straight
// into bytes, as a large work writes millions of them.
class NumeroScript
{
public:
    explicit NumeroScript(const QString& formato);

    void Anadir(const QVariant& valor, QByteArray& destino) const;

private:
    bool AnadirDirecto(double valor, QByteArray& destino) const;
    bool AnadirConEnteros(double valor, QByteArray& destino) const;

    QString formato_;
    int decimales_ = -1; // -1: not the usual pattern, laid out the general way
};

} // namespace corvela
