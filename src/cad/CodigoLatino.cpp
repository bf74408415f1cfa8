#include "cad/CodigoLatino.h"

#include <array>

namespace corvela {

namespace {

// Characters of the bytes 0x80 to 0x9F; the five bytes the code page leaves
// undefined keep their C1 control so that they survive a round trip.
constexpr std::array<char16_t, 32> kTramo80 = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ByteDe(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kTramo80.size(); ++i) {
        if (kTramo80[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QString TextoDeCodigoLatino(QByteArrayView bytes)
{
    QString texto(bytes.size(), Qt::Uninitialized);
    QChar* destino = texto.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *destino++ = QChar(u >= 0x80 && u < 0xA0 ? kTramo80[u - 0x80] : char16_t(u));
    }
    return texto;
}

void AnadirEnCodigoLatino(QStringView texto, QByteArray& destino)
{
    const qsizetype inicio = destino.size();
    destino.resize(inicio + texto.size());
    char* escribir = destino.data() + inicio;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        // A character outside the basic plane is one "?", not one per half.
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate())
            ++i;
        *escribir++ = ByteDe(c.unicode());
    }
    destino.resize(escribir - destino.constData());
}

} // namespace corvela
