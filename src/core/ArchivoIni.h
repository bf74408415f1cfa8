#pragma once

#include <QString>

namespace corvela {

// An INI file read and written one key at a time: sections and keys matched
// without regard to case, the other lines of the file kept as they were, the file
// and the section created on the first write. A file is rewritten in the encoding
// it was found in (UTF-8, with or without its mark, or Latin-1); a new one is UTF-8.
class ArchivoIni
{
public:
    static constexpr int kLongitudMaxima = 254;
    // A larger file is no settings file: it is neither read nor rewritten.
    static constexpr qint64 kTamanoMaximo = 16 * 1024 * 1024;

    // The stored value (surrounding blanks and quotes removed, cut to 254
    // characters), or the empty text. error receives why an existing file could
    // not be read, and is emptied otherwise.
    static QString Leer(const QString& fichero, const QString& seccion, const QString& clave, QString* error = nullptr);

    // Replaces or adds the key. False, with the file untouched and the reason in
    // error, when the file cannot be read whole or written, or when the value
    // holds a line break (it would start a line of its own) or a character the
    // file's encoding lacks.
    static bool Escribir(const QString& fichero, const QString& seccion, const QString& clave, const QString& valor,
                         QString* error = nullptr);
};

} // namespace corvela
