#include "core/TextoNumerico.h"

#include "core/Globales.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>

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

// Adds one unit at the last digit of a decimal digit string; may grow it by one digit.
QString SumarUno(QString cifras)
{
    for (int i = cifras.size() - 1; i >= 0; --i) {
        if (cifras[i] != u'9') {
            cifras[i] = QChar(cifras[i].unicode() + 1);
            return cifras;
        }
        cifras[i] = u'0';
    }
    return QLatin1Char('1') + cifras;
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
    const int punto = patron.indexOf(u'.');
    const QString parteEntera = punto < 0 ? patron : patron.left(punto);
    const QString parteDecimal = punto < 0 ? QString() : patron.mid(punto + 1);
    const int minimoEnteras = parteEntera.count(u'0');
    const int obligatorias = parteDecimal.count(u'0');
    const int decimales = obligatorias + parteDecimal.count(u'#');

    // Decimal digits of |valor| at 15 significant digits.
    const QString mantisa = QString::number(std::fabs(valor), 'e', 14);
    const int e = mantisa.indexOf(u'e');
    QString cifras = mantisa.left(1) + mantisa.mid(2, e - 2);
    int enteras = mantisa.mid(e + 1).toInt() + 1;
    if (enteras < 1) {
        cifras.prepend(QString(1 - enteras, u'0'));
        enteras = 1;
    }
    if (enteras > cifras.size())
        cifras.append(QString(enteras - cifras.size(), u'0'));

    QString fraccion = cifras.mid(enteras);
    QString todas = cifras.left(enteras);
    if (fraccion.size() > decimales) {
        const bool subir = fraccion[decimales] >= u'5';
        todas += fraccion.left(decimales);
        if (subir)
            todas = SumarUno(todas);
    } else {
        todas += fraccion + QString(decimales - fraccion.size(), u'0');
    }
    QString entera = todas.left(todas.size() - decimales);
    fraccion = todas.right(decimales);

    while (!entera.isEmpty() && entera[0] == u'0')
        entera.remove(0, 1);
    if (entera.size() < minimoEnteras)
        entera.prepend(QString(minimoEnteras - entera.size(), u'0'));
    while (fraccion.size() > obligatorias && fraccion.endsWith(u'0'))
        fraccion.chop(1);

    const QString mostradas = entera + fraccion;
    const bool esCero = std::all_of(mostradas.cbegin(), mostradas.cend(), [](QChar c) { return c == u'0'; });
    QString texto = (valor < 0 && !esCero) ? QStringLiteral("-") : QString();
    texto += entera;
    if (punto >= 0)
        texto += SeparadorDecimal() + fraccion;
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
