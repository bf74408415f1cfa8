#include "cad/EtiquetaPunto.h"

#include "cad/CodigoLatino.h"
#include "core/TextoNumerico.h"

#include <charconv>

namespace corvela {

namespace {

void AnadirEntero(qlonglong valor, QByteArray& destino)
{
    char cifras[24];
    const auto fin = std::to_chars(cifras, cifras + sizeof cifras, valor).ptr;
    destino.append(cifras, fin - cifras);
}

bool EsBlanco(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\xA0';
}

} // namespace

void AnadirEtiquetaPunto(const QVariant& estacion, const QVariant& punto, const QVariant& resena, QByteArray& destino)
{
    AnadirEntero(ValorCampo(estacion, QMetaType::Int).toLongLong(), destino);
    destino.append('/');
    AnadirEntero(ValorCampo(punto, QMetaType::Int).toLongLong(), destino);
    const QString descripcion = ValorCampo(resena, QMetaType::QString).toString();
    if (descripcion.isEmpty())
        return;
    destino.append('/');
    AnadirDescripcionEtiqueta(descripcion, destino);
}

void AnadirDescripcionEtiqueta(const QString& descripcion, QByteArray& destino)
{
    const qsizetype desde = destino.size();
    AnadirEnCodigoLatino(descripcion, destino);
    for (qsizetype i = desde; i < destino.size(); ++i) {
        if (EsBlanco(destino[i]))
            destino[i] = '-';
    }
}

} // namespace corvela
