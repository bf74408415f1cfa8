#pragma once

#include <QString>

class QSqlError;

// The pending database error: set by a failing operation, kept until someone
// reads and clears it (VerPosibleError reports it to the user).
namespace corvela {

constexpr int kErrorSinRegistroActual = 3021;
constexpr int kErrorClaveDuplicada = 3022;
// The record is no longer as it was loaded: another instance changed or deleted it.
constexpr int kErrorRegistroCambiado = 3197;
// Other records depend on the one to delete (perhaps added by another user a moment ago).
constexpr int kErrorConDependientes = 3200;

struct ErrorDatos
{
    int Numero = 0;
    QString Descripcion;
    // For the database engine's own errors, a Spanish sentence saying what went
    // wrong; the engine's text (Descripcion) is often English and technical.
    QString Causa;
    bool Hay() const { return Numero != 0; }
};

const ErrorDatos& ErrorPendiente();
void FijarError(int numero, const QString& descripcion);
void FijarError(const QSqlError& error);
// The engine's own sentence for an error: a server's without the severity,
// context and SQLSTATE libpq writes around it.
QString DescripcionDe(const QSqlError& error);
void LimpiarError();

// The notice that a record ("El PUNTO 3") is no longer as it was loaded ("se
// cargó la lista") because another instance changed it ("lo ha modificado o
// borrado"), and what was done about it.
QString TextoRegistroCambiado(const QString& registro, const QString& cargado, const QString& cambios,
                              const QString& consecuencia);

// What the user reads about an error: its cause, when known, before its description.
QString TextoError(const ErrorDatos& error);

// Shows the pending error, if any, and clears it. A record changed by another
// instance, or one that others depend on, is a notice; any other error asks whether to go on and, on Cancel,
// shows its number.
void InformarError();

} // namespace corvela
