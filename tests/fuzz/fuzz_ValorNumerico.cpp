// The number reader and the display formatter fed with what it reads. Input: a
// byte choosing the display pattern, a byte choosing the regional settings, then
// the typed text (UTF-8).
#include "EntradaFuzz.h"
#include "core/Globales.h"
#include "core/TextoNumerico.h"

#include <QRegularExpression>
#include <QVariant>
#include <cmath>

using namespace corvela;

namespace {

// A display pattern of the kinds the program uses: "###0." and zeros (the
// user's decimals), optional decimals as in "###0.0#", or no decimal part.
struct Patron
{
    QString texto;
    int obligatorias = 0;
    int opcionales = 0;
    bool conPunto = true;
};

Patron ElegirPatron(int byte)
{
    const int cifras = byte % 16;
    Patron p;
    switch (byte / 16 % 3) {
    case 0:
        p.obligatorias = cifras;
        p.texto = QStringLiteral("###0.") + QString(cifras, u'0');
        break;
    case 1:
        p.obligatorias = cifras % 4;
        p.opcionales = cifras / 4;
        p.texto = QStringLiteral("#0.") + QString(p.obligatorias, u'0') + QString(p.opcionales, u'#');
        break;
    default:
        p.conPunto = false;
        p.texto = QString(cifras % 4 + 1, u'0');
    }
    return p;
}

QString Detalle(const QString& texto, double valor, const Patron& p, const QString& formateado)
{
    return QStringLiteral("texto \"%1\" valor %2 patron \"%3\" formateado \"%4\"")
        .arg(texto, QString::number(valor, 'g', 17), p.texto, formateado);
}

// The reading in the C library's plain "C" settings, whatever the desktop's are.
double ValorEnC(const QString& texto)
{
    const QByteArray regional = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    const double valor = ValorNumerico(texto);
    std::setlocale(LC_ALL, regional.constData());
    return valor;
}

void ComprobarLectura(const QString& texto, double valor)
{
    EXIGE(std::isfinite(valor), texto);
    EXIGE(ValorEnC(texto) == valor,
          QStringLiteral("%1 lee %2 en %3").arg(texto).arg(valor, 0, 'g', 17).arg(std::setlocale(LC_NUMERIC, nullptr)));
    EXIGE(ValorNumerico(QVariant(texto)) == valor, texto);
    EXIGE(ValorNumerico(QVariant(valor)) == valor, texto);
    QString sinBlancos = texto;
    sinBlancos.remove(QRegularExpression(QStringLiteral("[ \t\n]")));
    EXIGE(ValorNumerico(sinBlancos) == valor, texto);
    // "#" continues no number, so whatever follows it is never read.
    EXIGE(ValorNumerico(texto + QStringLiteral("#12,5")) == valor, texto);
}

void ComprobarFormato(const QString& texto, double valor, const Patron& p)
{
    const QString f = FormatearPatron(valor, p.texto);
    const QString detalle = Detalle(texto, valor, p, f);
    const QString separador = QRegularExpression::escape(SeparadorDecimal());
    const QRegularExpression forma(
        QRegularExpression::anchoredPattern(QStringLiteral("(-?)(\\d+)(?:%1(\\d*))?").arg(separador)));
    const auto partes = forma.match(f);
    EXIGE(partes.hasMatch(), detalle);
    EXIGE(partes.capturedLength(3) >= p.obligatorias && partes.capturedLength(3) <= p.obligatorias + p.opcionales,
          detalle);
    EXIGE(p.conPunto == f.contains(SeparadorDecimal()), detalle);
    const QString decimales = partes.captured(3);
    EXIGE(decimales.size() <= p.obligatorias || !decimales.endsWith(u'0'), detalle);
    const bool cero = !f.contains(QRegularExpression(QStringLiteral("[1-9]")));
    EXIGE((valor < 0 && !cero) == !partes.captured(1).isEmpty(), detalle);

    // The 15 significant digits the formatter works on can be read back only
    // well inside the range of doubles.
    if (std::fabs(valor) >= 1e300)
        return;
    const double leido = ValorNumerico(f);
    const double tolerancia =
        0.5 * std::pow(10.0, -(p.obligatorias + p.opcionales)) * (1 + 1e-9) + std::fabs(valor) * 1e-14;
    EXIGE(std::fabs(leido - valor) <= tolerancia, detalle + QStringLiteral(" leido %1").arg(leido, 0, 'g', 17));
    EXIGE(FormatearPatron(leido, p.texto) == f, detalle);
    // A shown value, formatted again as the lists do with text, stays as it is.
    if (p.conPunto && p.opcionales == 0) {
        FormatoDecimales = p.texto;
        EXIGE(FormatearNumero(QVariant(f)) == f, detalle);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t tamano)
{
    const int patron = tamano > 0 ? datos[0] : 0;
    const int regional = tamano > 1 ? datos[1] : 0;
    const std::size_t desde = tamano < 2 ? tamano : 2;
    const QString texto =
        QString::fromUtf8(reinterpret_cast<const char*>(datos) + desde, static_cast<qsizetype>(tamano - desde));
    fuzz::Regional(regional);
    const double valor = ValorNumerico(texto);
    ComprobarLectura(texto, valor);
    ComprobarFormato(texto, valor, ElegirPatron(patron));
    return 0;
}
