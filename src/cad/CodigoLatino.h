#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The single-byte Latin code page (Windows-1252) of the CAD template and script.
// Every byte reads as one character and writes back as the same byte, so a
// template passes through unchanged; characters the code page lacks become "?".
namespace corvela {

QString TextoDeCodigoLatino(QByteArrayView bytes);

// Appends texto to destino in the code page.
void AnadirEnCodigoLatino(QStringView texto, QByteArray& destino);

} // namespace corvela
