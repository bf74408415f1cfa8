#include "core/TextoNumerico.h"

#include "core/Globales.h"

#include <QLocale>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace corvela {

namespace {

bool EsBlanco(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

int ValorCifra(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return 10 + (u - u'A');
    return 99;
}

double LeerEntero(const QString& s, int base)
{
    long long valor = 0;
    int cifras = 0;
    for (const QChar c : s) {
        const int d = ValorCifra(c);
        if (d >= base || cifras >= 11)
            break;
        valor = valor * base + d;
        ++cifras;
    }
    // The classic reader gives 16- and 32-bit two's complement values.
    if (valor > 0x7FFF && valor <= 0xFFFF && cifras <= (base == 16 ? 4 : 6))
        valor -= 0x10000;
    else if (valor > 0x7FFFFFFFLL && valor <= 0xFFFFFFFFLL)
        valor -= 0x100000000LL;
    return static_cast<double>(valor);
}

// The leading number of s (points as decimal separator) in the notation
// std::from_chars reads, and how many characters of s it took.
struct NumeroLeido
{
    QByteArray texto;
    int tomados = 0;
};

void TomarCifras(const QString& s, int& i, QByteArray& destino, bool& hayCifras)
{
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        destino += static_cast<char>(s[i++].unicode());
        hayCifras = true;
    }
}

NumeroLeido NumeroInicial(const QString& s)
{
    NumeroLeido n;
    int i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        if (s[i] == u'-')
            n.texto += '-';
        ++i;
    }
    bool cifras = false;
    TomarCifras(s, i, n.texto, cifras);
    if (i < s.size() && s[i] == u'.') {
        n.texto += '.';
        ++i;
        TomarCifras(s, i, n.texto, cifras);
    }
    if (!cifras)
        return {};
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        QByteArray exponente = "e";
        int j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            exponente += static_cast<char>(s[j++].unicode());
        bool cifrasExponente = false;
        TomarCifras(s, j, exponente, cifrasExponente);
        if (cifrasExponente) {
            n.texto += exponente;
            i = j;
        }
    }
    n.tomados = i;
    return n;
}

// Never through strtod or the locale: the C library's LC_NUMERIC follows the
// user's desktop, and under a Spanish one it stops at the point.
double ConvertirNumero(const QByteArray& texto)
{
    double leido = 0.0;
    const auto [fin, error] = std::from_chars(texto.constData(), texto.constData() + texto.size(), leido);
    return error == std::errc() && std::isfinite(leido) ? leido : 0.0;
}

QString ComasAPuntos(QString texto)
{
    return texto.replace(u',', u'.');
}

// A display pattern: before the point, "0" a whole digit always shown; after it,
// "0" a decimal always shown and "#" one shown when significant.
struct Patron
{
    int minimoEnteras = 0;
    int obligatorias = 0;
    int decimales = 0;
    bool separador = false;
};

Patron LeerPatron(const QString& patron)
{
    Patron leido;
    for (const QChar c : patron) {
        if (!leido.separador) {
            leido.separador = c == u'.';
            leido.minimoEnteras += c == u'0';
        } else if (c == u'0' || c == u'#') {
            ++leido.decimales;
            leido.obligatorias += c == u'0';
        }
    }
    return leido;
}

constexpr int kSignificativas = 15;

// The first 15 significant digits of a value and the power of ten of the first.
struct Significativas
{
    std::array<char, kSignificativas> cifras{};
    int exponente = 0;
};

// Adds one unit at the last of the digits; "999..." becomes "100..." a power higher.
void SumarUno(Significativas& s)
{
    for (auto cifra = s.cifras.rbegin(); cifra != s.cifras.rend(); ++cifra) {
        if (*cifra != '9') {
            ++*cifra;
            return;
        }
        *cifra = '0';
    }
    s.cifras.front() = '1';
    ++s.exponente;
}

// Whether every exact decimal digit of the value is among the 17 significant ones
// std::to_chars gives. Only such a value can lie exactly halfway at the 16th digit,
// where the C++ library rounds to even and the display rounds away from zero.
bool CabeEnDiecisiete(double positivo)
{
    if (std::floor(positivo) == positivo)
        return positivo < 1e17;
    int exponenteBinario = 0;
    std::frexp(positivo, &exponenteBinario);
    // The value's power of ten, or one above it.
    const int potencia = static_cast<int>(std::floor(exponenteBinario * 0.30102999566398119521));
    // With k binary decimals the value has its power of ten + 1 + k significant digits.
    const int binarios = 16 - potencia;
    if (binarios <= 0)
        return false;
    const double escalado = std::ldexp(positivo, binarios);
    return std::floor(escalado) == escalado;
}

// The 15 significant digits of a positive value, rounded half away from zero on
// its exact binary value (as the display has always read it), with one conversion.
Significativas CifrasSignificativas(double positivo)
{
    const bool exactas = CabeEnDiecisiete(positivo);
    const int precision = exactas ? kSignificativas + 1 : kSignificativas - 1;
    char texto[32];
    const char* fin =
        std::to_chars(texto, texto + sizeof texto, positivo, std::chars_format::scientific, precision).ptr;
    Significativas s;
    s.cifras.front() = texto[0];
    std::memcpy(s.cifras.data() + 1, texto + 2, kSignificativas - 1);
    const char* e = texto + 2 + precision;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), fin, s.exponente);
    // The 16th and 17th digits are the whole rest of the value: a half or more goes up.
    if (exactas && texto[kSignificativas + 1] >= '5')
        SumarUno(s);
    return s;
}

using Cifras = QVarLengthArray<char, 64>;

// The digits of the value times 10^decimales, rounded half away from zero on its
// 15 significant digits; no digits for a value that rounds to zero.
Cifras Redondeadas(const Significativas& s, int decimales)
{
    const int tomadas = s.exponente + 1 + decimales;
    Cifras cifras;
    if (tomadas < 0)
        return cifras;
    cifras.append(s.cifras.data(), std::min(tomadas, kSignificativas));
    while (cifras.size() < tomadas)
        cifras.append('0');
    if (tomadas >= kSignificativas || s.cifras[static_cast<size_t>(tomadas)] < '5')
        return cifras;
    for (auto cifra = cifras.rbegin(); cifra != cifras.rend(); ++cifra) {
        if (*cifra != '9') {
            ++*cifra;
            return cifras;
        }
        *cifra = '0';
    }
    cifras.insert(cifras.begin(), '1');
    return cifras;
}

void AnadirCeros(QString& texto, qsizetype cuantos)
{
    for (; cuantos > 0; --cuantos)
        texto += u'0';
}

} // namespace

QString SeparadorDecimal()
{
    return QLocale().decimalPoint();
}

double ValorNumerico(const QString& valor)
{
    QString s;
    s.reserve(valor.size());
    for (const QChar c : valor) {
        if (!EsBlanco(c))
            s += c;
    }
    s = ComasAPuntos(s);
    if (s.startsWith(u'&') && s.size() > 1) {
        const QChar base = s[1].toUpper();
        if (base == u'H')
            return LeerEntero(s.mid(2), 16);
        if (base == u'O')
            return LeerEntero(s.mid(2), 8);
        return 0.0;
    }
    return ConvertirNumero(NumeroInicial(s).texto);
}

std::optional<double> NumeroCompleto(const QString& texto)
{
    const QString s = ComasAPuntos(texto.trimmed());
    const NumeroLeido n = NumeroInicial(s);
    if (n.texto.isEmpty() || n.tomados != s.size())
        return std::nullopt;
    return ConvertirNumero(n.texto);
}

double ValorNumerico(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return 0.0;
    switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return valor.toDouble();
    default:
        return ValorNumerico(valor.toString());
    }
}

QString FormatearPatron(double valor, const QString& patron)
{
    if (!std::isfinite(valor))
        return QString::number(valor);
    const Patron leido = LeerPatron(patron);
    const Cifras cifras = Redondeadas(CifrasSignificativas(std::fabs(valor)), leido.decimales);

    // The whole digits without their leading zeros, and the decimals without the
    // trailing ones that are not always shown.
    const auto total = cifras.size();
    const qsizetype finEnteras = std::max<qsizetype>(0, total - leido.decimales);
    qsizetype primera = 0;
    while (primera < finEnteras && cifras[primera] == '0')
        ++primera;
    const qsizetype cerosDecimales = std::max<qsizetype>(0, leido.decimales - total);
    qsizetype finDecimales = total;
    while (finDecimales > finEnteras && cifras[finDecimales - 1] == '0' &&
           cerosDecimales + finDecimales - finEnteras > leido.obligatorias)
        --finDecimales;
    const bool esCero = std::all_of(cifras.cbegin(), cifras.cend(), [](char c) { return c == '0'; });

    QString texto;
    texto.reserve(total + leido.minimoEnteras + leido.decimales + 2);
    if (valor < 0 && !esCero)
        texto += u'-';
    AnadirCeros(texto, leido.minimoEnteras - (finEnteras - primera));
    texto += QLatin1String(cifras.data() + primera, finEnteras - primera);
    if (leido.separador) {
        texto += SeparadorDecimal();
        const qsizetype decimalesVistos = finDecimales - finEnteras;
        AnadirCeros(texto,
                    decimalesVistos > 0 ? cerosDecimales : std::min(cerosDecimales, qsizetype(leido.obligatorias)));
        texto += QLatin1String(cifras.data() + finEnteras, decimalesVistos);
    }
    return texto;
}

QString FormatearNumero(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    if (valor.typeId() == QMetaType::QString) {
        const std::optional<double> numero = NumeroCompleto(valor.toString());
        return numero ? FormatearPatron(*numero, FormatoDecimales) : valor.toString();
    }
    bool esNumero = false;
    const double numero = valor.toDouble(&esNumero);
    return esNumero ? FormatearPatron(numero, FormatoDecimales) : valor.toString();
}

QString TextoGeneral(double valor)
{
    return TextoGeneral(valor, SeparadorDecimal());
}

QString TextoGeneral(double valor, const QString& separador)
{
    QString texto = QString::number(valor, 'g', 15).toUpper();
    texto.replace(u'.', separador);
    return texto;
}

QString ComaAPunto(const QVariant& valor)
{
    QString texto;
    switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        texto = TextoGeneral(valor.toDouble());
        break;
    default:
        texto = valor.toString();
    }
    return texto.replace(u',', u'.');
}

bool EsCampoNumerico(QMetaType::Type tipo)
{
    switch (tipo) {
    case QMetaType::Char:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
    case QMetaType::QByteArray:
        return true;
    default:
        return false;
    }
}

QVariant ValorCampo(const QVariant& valor, QMetaType::Type tipo)
{
    if (valor.isValid() && !valor.isNull())
        return valor;
    return EsCampoNumerico(tipo) ? QVariant(0) : QVariant(QString());
}

} // namespace corvela
