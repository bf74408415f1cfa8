#include "cad/NumeroScript.h"

#include "cad/CodigoLatino.h"
#include "core/TextoNumerico.h"

#include <algorithm>
#include <array>
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

constexpr std::array<double, 23> kPotenciasDiez = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr qint64 kMinimo15 = 100000000000000; // the smallest whole number of 15 digits
constexpr qint64 kMaximo15 = 10 * kMinimo15;
constexpr int kCerosAnadidos = 3;

constexpr std::array<qint64, 19> PotenciasEnteras()
{
    std::array<qint64, 19> potencias{};
    potencias[0] = 1;
    for (std::size_t i = 1; i < potencias.size(); ++i)
        potencias[i] = potencias[i - 1] * 10;
    return potencias;
}
constexpr std::array<qint64, 19> kPotenciasEnteras = PotenciasEnteras();

qint64 PotenciaEntera(int exponente)
{
    return kPotenciasEnteras[static_cast<std::size_t>(exponente)];
}

// Rounds the exact product positivo * 10^decimales, below 10^15, half up. The
// product and its rounding error together are exact, so that the decision
// never rests on a rounded digit.
qint64 RedondearProducto(double positivo, int decimales)
{
    const double escala = kPotenciasDiez[static_cast<std::size_t>(decimales)];
    const double producto = positivo * escala;
    const double error = std::fma(positivo, escala, -producto);
    const double entero = std::floor(producto);
    const double resto = producto - entero;
    const bool subir = resto > 0.5 || (resto == 0.5 && error >= 0);
    return static_cast<qint64>(entero) + (subir ? 1 : 0);
}

// The 15 significant digits of a positive value as one whole number with its
// decimals, in a single step: false when they fall outside whole numbers of
// 15 digits with 0 to 22 decimals.
bool CifrasEnteras(double positivo, qint64& cifras, int& decimales)
{
    // From the binary exponent: the decimal one or one less.
    constexpr double kLog10De2 = 0.30102999566398120;
    decimales = 14 - static_cast<int>(std::floor(std::ilogb(positivo) * kLog10De2));
    for (int intento = 0; intento < 2; ++intento) {
        if (decimales < 0 || decimales >= static_cast<int>(kPotenciasDiez.size()))
            return false;
        const double producto = positivo * kPotenciasDiez[static_cast<std::size_t>(decimales)];
        // The logarithm may miss by one next to a power of ten.
        if (producto >= static_cast<double>(kMaximo15)) {
            --decimales;
            continue;
        }
        if (producto < static_cast<double>(kMinimo15)) {
            ++decimales;
            continue;
        }
        cifras = RedondearProducto(positivo, decimales);
        if (cifras == kMaximo15) {
            cifras = kMinimo15;
            --decimales;
        }
        return decimales >= 0;
    }
    return false;
}

// Writes valor with at least minimo digits, zeros in front; returns the end.
char* EscribirCifras(qint64 valor, int minimo, char* destino)
{
    char texto[24];
    const int n = static_cast<int>(std::to_chars(texto, texto + sizeof texto, valor).ptr - texto);
    for (int i = n; i < minimo; ++i)
        *destino++ = '0';
    std::memcpy(destino, texto, static_cast<std::size_t>(n));
    return destino + n;
}

} // namespace

NumeroScript::NumeroScript(const QString& formato) : formato_(formato), decimales_(DecimalesDelFormato(formato)) {}

void NumeroScript::Anadir(const QVariant& valor, QByteArray& destino) const
{
    if (decimales_ >= 0 && EsNumeroOVacio(valor) && AnadirDirecto(valor.isNull() ? 0.0 : valor.toDouble(), destino))
        return;
    AnadirEnCodigoLatino(ComaAPunto(FormatearNumero(ValorCampo(valor, QMetaType::Double))), destino);
}

// The usual case in whole numbers: the 15 digits rounded again, half up, at the
// decimals shown.
bool NumeroScript::AnadirConEnteros(double valor, QByteArray& destino) const
{
    qint64 cifras = 0;
    int decimales = decimales_;
    if (valor != 0 && !CifrasEnteras(std::fabs(valor), cifras, decimales))
        return false;
    // Zeros appended beyond the 15 digits must still fit in a whole number.
    if (decimales_ - decimales > kCerosAnadidos)
        return false;
    if (decimales - decimales_ > kCifrasSignificativas) {
        cifras = 0; // below half of the last decimal shown
    } else if (decimales > decimales_) {
        const qint64 divisor = PotenciaEntera(decimales - decimales_);
        const qint64 resto = cifras % divisor;
        cifras = cifras / divisor + (2 * resto >= divisor ? 1 : 0);
    } else {
        cifras *= PotenciaEntera(decimales_ - decimales);
    }
    const qint64 unidad = PotenciaEntera(decimales_);
    char texto[48];
    char* fin = texto;
    if (valor < 0 && cifras != 0)
        *fin++ = '-';
    fin = EscribirCifras(cifras / unidad, 1, fin);
    *fin++ = '.';
    if (decimales_ > 0)
        fin = EscribirCifras(cifras % unidad, decimales_, fin);
    destino.append(texto, fin - texto);
    return true;
}

// The display routine's rounding: half away from zero on the value's decimal
// text at 15 significant digits, then at least one whole digit.
bool NumeroScript::AnadirDirecto(double valor, QByteArray& destino) const
{
    if (!std::isfinite(valor))
        return false;
    if (AnadirConEnteros(valor, destino))
        return true;
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
