#include "records/ErrorDatos.h"

#include <QSqlError>

namespace corvela {

namespace {

ErrorDatos pendiente;

// SQLite's extended result codes for a repeated primary key or unique value.
constexpr int kSqliteClavePrimaria = 1555;
constexpr int kSqliteUnico = 2067;
constexpr int kErrorGenerico = 3146;

int NumeroDe(const QSqlError& error)
{
    bool ok = false;
    const int nativo = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        return kErrorGenerico;
    if (nativo == kSqliteClavePrimaria || nativo == kSqliteUnico)
        return kErrorClaveDuplicada;
    return nativo != 0 ? nativo : kErrorGenerico;
}

}  // namespace

const ErrorDatos& ErrorPendiente()
{
    return pendiente;
}

void FijarError(int numero, const QString& descripcion)
{
    pendiente.Numero = numero;
    pendiente.Descripcion = descripcion;
}

void FijarError(const QSqlError& error)
{
    QString descripcion = error.databaseText();
    if (descripcion.isEmpty())
        descripcion = error.text();
    FijarError(NumeroDe(error), descripcion);
}

void LimpiarError()
{
    pendiente = ErrorDatos();
}

}  // namespace corvela
