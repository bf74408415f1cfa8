#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <array>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: cutting an input into fields, choosing the
// regional settings, and failing with a message beside the input.
namespace corvela::fuzz {

// The input cut at its NUL bytes into n fields; the last one keeps the rest and
// missing ones are empty, so every input has a meaning.
inline QList<QByteArray> Campos(const uint8_t* datos, std::size_t tamano, int n)
{
    QList<QByteArray> campos;
    const auto* inicio = reinterpret_cast<const char*>(datos);
    const char* fin = inicio + tamano;
    while (campos.size() < n - 1) {
        const char* nul = inicio;
        while (nul < fin && *nul != '\0')
            ++nul;
        campos << QByteArray(inicio, nul - inicio);
        inicio = nul < fin ? nul + 1 : fin;
    }
    campos << QByteArray(inicio, fin - inicio);
    return campos;
}

// The first byte of a field as a small number, 0 when the field is empty.
inline int Byte(const QByteArray& campo)
{
    return campo.isEmpty() ? 0 : static_cast<unsigned char>(campo[0]);
}

// The regional settings of the desktop the program runs on: the Qt default locale
// and, as QApplication takes them from the environment, the C library's.
inline void Regional(int eleccion)
{
    static const std::array<const char*, 3> kNombres = {"C.UTF-8", "es_ES.UTF-8", "de_DE.UTF-8"};
    const char* nombre = kNombres[static_cast<std::size_t>(eleccion) % kNombres.size()];
    std::setlocale(LC_ALL, nombre);
    QLocale::setDefault(QLocale(QString::fromLatin1(nombre).section(u'.', 0, 0)));
}

[[noreturn]] inline void Fallo(const char* condicion, const QString& detalle)
{
    std::fprintf(stderr, "\nFALLO: %s\n  %s\n", condicion, qUtf8Printable(detalle));
    std::abort();
}

} // namespace corvela::fuzz

// Checks a property of the input; the detail names the values involved.
#define EXIGE(condicion, detalle)                                                                                      \
    do {                                                                                                               \
        if (!(condicion))                                                                                              \
            ::corvela::fuzz::Fallo(#condicion, (detalle));                                                             \
    } while (false)
