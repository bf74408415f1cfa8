#include "cad/NumeroScript.h"

#include "cad/CodigoLatino.h"
#include "core/TextoNumerico.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace corvela {

namespace {

const QString kPrefijoFormato = QStringLiteral("###0.");
constexpr int kCifrasSignificativas = 15;
constexpr int kMaximoDecimales = 15;
constexpr int kMaximoExponente = 30; // beyond it the general way is fast enough

int DecimalesDelFormato(const QString& formato)
{
    if (!formato.startsWith(kPrefijoFormato))
        return -1;
    const QStringView ceros = QStringView(formato).mid(kPrefijoFormato.size());
    if (ceros.size() > kMaximoDecimales)
        return -1;
    for (const QChar c : ceros) {
        if (c != u'0')
            return -1;
    }
    return static_cast<int>(ceros.size());
}

bool EsNumeroOVacio(const QVariant& valor)
{
    if (valor.isNull())
        return true;
    switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return true;
    default:
        return false;
    }
}

// The 15 significant digits of a positive value, correctly rounded with halves
// going up, as the general number text reads them.
void CifrasExactas(double positivo, char* cifras, int& exponente)
{
    const QByteArray texto = QByteArray::number(positivo, 'e', kCifrasSignificativas - 1);
    const char* c = texto.constData();
    cifras[0] = c[0];
    for (int i = 1; i < kCifrasSignificativas; ++i)
        cifras[i] = c[i + 1];
    exponente = std::atoi(c + kCifrasSignificativas + 2);
}

// The same digits from 17 correctly rounded ones, without allocating. False when
// the 16th and 17th digits are too close to a half to decide the rounding.
bool CifrasRapidas(double positivo, char* cifras, int& exponente)
{
    constexpr int kCifrasLeidas = kCifrasSignificativas + 2;
    char texto[40];
    const auto fin =
        std::to_chars(texto, texto + sizeof texto, positivo, std::chars_format::scientific, kCifrasLeidas - 1).ptr;
    const char* e = texto + kCifrasLeidas + 1;
    if (*e != 'e')
        return false;
    const char* cifrasExponente = e + (e[1] == '+' ? 2 : 1);
    if (std::from_chars(cifrasExponente, fin, exponente).ec != std::errc())
        return false;
    const int resto = (texto[kCifrasLeidas - 1] - '0') * 10 + (texto[kCifrasLeidas] - '0');
    if (resto >= 49 && resto <= 51)
        return false;
    cifras[0] = texto[0];
    std::memcpy(cifras + 1, texto + 2, kCifrasSignificativas - 1);
    if (resto > 50) {
        int i = kCifrasSignificativas - 1;
        while (i >= 0 && cifras[i] == '9')
            cifras[i--] = '0';
        if (i >= 0) {
            ++cifras[i];
        } else {
            cifras[0] = '1';
            ++exponente;
        }
    }
    return true;
}

} // namespace

NumeroScript::NumeroScript(const QString& formato) : formato_(formato), decimales_(DecimalesDelFormato(formato)) {}

void NumeroScript::Anadir(const QVariant& valor, QByteArray& destino) const
{
    if (decimales_ >= 0 && EsNumeroOVacio(valor) && AnadirDirecto(valor.isNull() ? 0.0 : valor.toDouble(), destino))
        return;
    AnadirEnCodigoLatino(ComaAPunto(FormatearNumero(ValorCampo(valor, QMetaType::Double))), destino);
}

// The display routine's rounding: half away from zero on the value's decimal
// text at 15 significant digits, then at least one whole digit.
bool NumeroScript::AnadirDirecto(double valor, QByteArray& destino) const
{
    if (!std::isfinite(valor))
        return false;
    char mantisa[kCifrasSignificativas];
    int exponente = 0;
    if (!CifrasRapidas(std::fabs(valor), mantisa, exponente))
        CifrasExactas(std::fabs(valor), mantisa, exponente);
    if (std::abs(exponente) > kMaximoExponente)
        return false;

    char cifras[2 * kMaximoExponente + kCifrasSignificativas + kMaximoDecimales + 4];
    int n = 0;
    int enteras = exponente + 1;
    for (; enteras < 1; ++enteras)
        cifras[n++] = '0';
    std::memcpy(cifras + n, mantisa, kCifrasSignificativas);
    n += kCifrasSignificativas;
    while (n < enteras)
        cifras[n++] = '0';

    int total = enteras + decimales_;
    if (n > total) {
        if (cifras[total] >= '5') {
            int i = total - 1;
            while (i >= 0 && cifras[i] == '9')
                cifras[i--] = '0';
            if (i >= 0) {
                ++cifras[i];
            } else {
                std::memmove(cifras + 1, cifras, total);
                cifras[0] = '1';
                ++total;
            }
        }
    } else {
        while (n < total)
            cifras[n++] = '0';
    }

    int inicio = 0;
    const int finEntera = total - decimales_;
    while (inicio < finEntera - 1 && cifras[inicio] == '0')
        ++inicio;
    const bool esCero = std::all_of(cifras + inicio, cifras + total, [](char c) { return c == '0'; });
    if (valor < 0 && !esCero)
        destino.append('-');
    destino.append(cifras + inicio, finEntera - inicio);
    destino.append('.');
    destino.append(cifras + finEntera, decimales_);
    return true;
}

} // namespace corvela
