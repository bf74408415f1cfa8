#include "intercambio/TextoCsv.h"

#include <array>
#include <charconv>
#include <cmath>

namespace corvela {

namespace {

bool NecesitaComillas(const QString& texto, QChar separador)
{
    if (texto.isEmpty())
        return false;
    if (texto.front().isSpace() || texto.back().isSpace())
        return true;
    for (const QChar c : texto) {
        if (c == separador || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

// Plain digits read best in a spreadsheet; beyond these magnitudes they would run
// to hundreds of characters.
bool EnCifrasLlanas(double valor)
{
    const double absoluto = std::fabs(valor);
    return absoluto == 0.0 || (absoluto >= 1e-6 && absoluto < 1e16);
}

} // namespace

QString CampoCsv(const QString& texto, QChar separador)
{
    if (!NecesitaComillas(texto, separador))
        return texto;
    QString citado = texto;
    citado.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + citado + u'"';
}

QString NumeroCsv(double valor, QChar decimal)
{
    std::array<char, 64> cifras{};
    const auto formato = EnCifrasLlanas(valor) ? std::chars_format::fixed : std::chars_format::general;
    // Without a precision, to_chars gives the fewest digits that read back as the same double.
    const char* fin = std::to_chars(cifras.data(), cifras.data() + cifras.size(), valor, formato).ptr;
    QString texto = QString::fromLatin1(cifras.data(), fin - cifras.data());
    if (decimal != u'.')
        texto.replace(u'.', decimal);
    return texto;
}

QString ValorCsv(const QVariant& valor, QChar separador, QChar decimal)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return NumeroCsv(valor.toDouble(), decimal);
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(valor.toLongLong());
    default:
        return CampoCsv(valor.toString(), separador);
    }
}

std::optional<double> LeerNumeroCsv(QStringView campo)
{
    campo = campo.trimmed();
    if (campo.startsWith(u'+'))
        campo = campo.mid(1);
    std::array<char, 64> cifras{};
    if (campo.isEmpty() || campo.size() > static_cast<qsizetype>(cifras.size()))
        return std::nullopt;
    qsizetype n = 0;
    for (const QChar c : campo) {
        const char16_t u = c.unicode();
        // A sign anywhere else than the exponent's is refused by the conversion itself.
        const bool valido =
            (u >= u'0' && u <= u'9') || u == u'-' || u == u'+' || u == u'.' || u == u',' || u == u'e' || u == u'E';
        if (!valido)
            return std::nullopt;
        cifras[static_cast<size_t>(n++)] = u == u',' ? '.' : static_cast<char>(u);
    }
    double valor = 0.0;
    const auto [fin, error] = std::from_chars(cifras.data(), cifras.data() + n, valor);
    if (error != std::errc() || fin != cifras.data() + n || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}

} // namespace corvela
