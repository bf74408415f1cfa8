#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace corvela {

// Appends the label of a point to destino, in the single-byte Latin code page of
// CAD files: the station, "/", the point, then "/" and the description with its
// blanks turned into "-" when there is one. A blank would end the answer early
// in a CAD program's script reader, so drawings label points the same way.
void AnadirEtiquetaPunto(const QVariant& estacion, const QVariant& punto, const QVariant& resena, QByteArray& destino);

// Appends a description as labels carry it: in the code page, blanks as "-".
void AnadirDescripcionEtiqueta(const QString& descripcion, QByteArray& destino);

} // namespace corvela
