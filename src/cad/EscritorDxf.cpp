#include "cad/EscritorDxf.h"

#include "core/EscrituraSegura.h"

#include <charconv>
#include <cstring>

namespace corvela {

namespace {

constexpr std::size_t kTamanoBufer = 1 << 20;

} // namespace

// The base class's own file is never opened (an empty name); every group goes
// through the overrides below.
EscritorDxf::EscritorDxf(QIODevice& destino) : DL_WriterA("", DL_Codes::AC1009), destino_(destino)
{
    bufer_.reserve(kTamanoBufer + kTamanoBufer / 4);
}

void EscritorDxf::Codigo(int gc) const
{
    // Group codes right-aligned in three columns, as CAD programs write them.
    char cifras[16] = "  ";
    const std::size_t relleno = gc < 10 ? 2 : (gc < 100 ? 1 : 0);
    const auto fin = std::to_chars(cifras + relleno, cifras + sizeof cifras, gc).ptr;
    Linea(cifras, static_cast<std::size_t>(fin - cifras));
}

void EscritorDxf::Linea(const char* texto, std::size_t tamano) const
{
    bufer_.append(texto, tamano);
    bufer_.append("\r\n");
    if (bufer_.size() >= kTamanoBufer)
        Volcar();
}

void EscritorDxf::dxfReal(int gc, double value) const
{
    // Fixed notation always has a point and every reader takes it; the shortest
    // form that reads back as the same double keeps the stored precision.
    char cifras[400];
    char* fin = std::to_chars(cifras, cifras + sizeof cifras, value, std::chars_format::fixed).ptr;
    if (std::memchr(cifras, '.', static_cast<std::size_t>(fin - cifras)) == nullptr) {
        *fin++ = '.';
        *fin++ = '0';
    }
    Codigo(gc);
    Linea(cifras, static_cast<std::size_t>(fin - cifras));
}

void EscritorDxf::dxfInt(int gc, int value) const
{
    char cifras[16];
    const auto fin = std::to_chars(cifras, cifras + sizeof cifras, value).ptr;
    Codigo(gc);
    Linea(cifras, static_cast<std::size_t>(fin - cifras));
}

void EscritorDxf::dxfHex(int gc, int value) const
{
    char cifras[16];
    char* fin = std::to_chars(cifras, cifras + sizeof cifras, static_cast<unsigned>(value), 16).ptr;
    for (char* c = cifras; c < fin; ++c) {
        if (*c >= 'a' && *c <= 'f')
            *c = static_cast<char>(*c - 'a' + 'A');
    }
    Codigo(gc);
    Linea(cifras, static_cast<std::size_t>(fin - cifras));
}

void EscritorDxf::dxfString(int gc, const char* value) const
{
    Codigo(gc);
    Linea(value, std::strlen(value));
}

void EscritorDxf::dxfString(int gc, const std::string& value) const
{
    Codigo(gc);
    Linea(value.data(), value.size());
}

bool EscritorDxf::Volcar() const
{
    // After a refused write the rest goes nowhere: the device remembers the failure.
    if (!fallo_ && !EscrituraSegura::EscribirTodo(destino_, bufer_.data(), static_cast<qint64>(bufer_.size())))
        fallo_ = true;
    bufer_.clear();
    return !fallo_;
}

} // namespace corvela
