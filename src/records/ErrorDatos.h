#pragma once

#include <QString>

class QSqlError;

// The pending database error: set by a failing operation, kept until someone
// reads and clears it (VerPosibleError reports it to the user).
namespace corvela {

constexpr int kErrorSinRegistroActual = 3021;
constexpr int kErrorClaveDuplicada = 3022;

struct ErrorDatos
{
    int Numero = 0;
    QString Descripcion;
    bool Hay() const { return Numero != 0; }
};

const ErrorDatos& ErrorPendiente();
void FijarError(int numero, const QString& descripcion);
void FijarError(const QSqlError& error);
void LimpiarError();

}  // namespace corvela
