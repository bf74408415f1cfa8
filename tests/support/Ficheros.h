#pragma once

#include <QByteArray>
#include <QString>

namespace corvela::pruebas {

// Writes the bytes as the whole file; fails the running test when it cannot.
void EscribirFichero(const QString& ruta, const QByteArray& bytes);
// The whole file, or nothing when it cannot be read.
QByteArray LeerFichero(const QString& ruta);

} // namespace corvela::pruebas
