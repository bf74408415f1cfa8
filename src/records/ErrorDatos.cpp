#include "records/ErrorDatos.h"

#include "core/Globales.h"
#include "core/Mensajes.h"

#include <QSqlError>

namespace corvela {

namespace {

ErrorDatos pendiente;

// SQLite's extended result codes for a repeated primary key or unique value.
constexpr int kSqliteClavePrimaria = 1555;
constexpr int kSqliteUnico = 2067;
constexpr int kSqliteClaveAjena = 787;
constexpr int kErrorGenerico = 3146;

// SQLite's primary result codes, the low byte of the extended ones.
constexpr int kSqliteOcupada = 5;
constexpr int kSqliteBloqueada = 6;
constexpr int kSqliteSoloLectura = 8;
constexpr int kSqliteEntradaSalida = 10;
constexpr int kSqliteDanada = 11;
constexpr int kSqliteLlena = 13;
constexpr int kSqliteNoAbre = 14;
constexpr int kSqliteRestriccion = 19;
constexpr int kSqliteNoEsBase = 26;

constexpr int kErrorConexion = 3151;
constexpr int kErrorPermiso = 3112;

// A server's errors carry their SQLSTATE, five characters whose first two
// name the class; they are read as the SQLite error of the same meaning.
bool EsDelServidor(const QSqlError& error)
{
    return error.driverText().startsWith(QLatin1String("QPSQL"));
}

// libpq writes the severity before the message and the context, its SQLSTATE and
// other details after it, in lines of their own; the user reads the message alone.
QString MensajeDelServidor(const QString& texto)
{
    const QString primera = texto.section(u'\n', 0, 0);
    const qsizetype separador = primera.indexOf(QLatin1String(":  "));
    return separador < 0 ? primera : primera.mid(separador + 3);
}

int NumeroDelServidor(const QString& estado)
{
    if (estado == QLatin1String("23505"))
        return kErrorClaveDuplicada;
    if (estado == QLatin1String("23503"))
        return kErrorConDependientes;
    if (estado == QLatin1String("55P03") || estado == QLatin1String("40001") || estado == QLatin1String("40P01"))
        return kSqliteOcupada;
    if (estado.startsWith(QLatin1String("23")))
        return kSqliteRestriccion;
    if (estado == QLatin1String("25006"))
        return kSqliteSoloLectura;
    if (estado == QLatin1String("53100"))
        return kSqliteLlena;
    if (estado == QLatin1String("42501") || estado.startsWith(QLatin1String("28")))
        return kErrorPermiso;
    // 57014 is a statement cancelled (a timeout the administrator set), not a lost connection.
    if (estado.isEmpty() || estado.startsWith(QLatin1String("08")) || estado.startsWith(QLatin1String("57P")))
        return kErrorConexion;
    return kErrorGenerico;
}

int NumeroDe(const QSqlError& error)
{
    if (EsDelServidor(error))
        return NumeroDelServidor(error.nativeErrorCode());
    bool ok = false;
    const int nativo = error.nativeErrorCode().toInt(&ok);
    if (!ok)
        return kErrorGenerico;
    if (nativo == kSqliteClavePrimaria || nativo == kSqliteUnico)
        return kErrorClaveDuplicada;
    if (nativo == kSqliteClaveAjena)
        return kErrorConDependientes;
    return nativo != 0 ? nativo : kErrorGenerico;
}

QString CausaDe(const QSqlError& error)
{
    const int numero = NumeroDe(error);
    if (numero == kErrorClaveDuplicada)
        return QStringLiteral("Ya existe un registro con ese mismo código.");
    if (numero == kErrorConDependientes)
        return QStringLiteral("Hay otros registros que dependen de este, o este depende de uno que no existe "
                              "(quizá otro usuario acaba de añadirlos o borrarlo). No se ha cambiado nada.");
    if (numero == kErrorConexion)
        return QStringLiteral("Se ha perdido la conexión con el servidor de la base de datos.");
    if (numero == kErrorPermiso)
        return QStringLiteral("El usuario de la base de datos no tiene permiso para esta operación.");
    switch ((EsDelServidor(error) ? numero : error.nativeErrorCode().toInt()) & 0xff) {
    case kSqliteOcupada:
    case kSqliteBloqueada:
        return QStringLiteral("La base de datos está ocupada: otro usuario o programa está grabando en ella.");
    case kSqliteSoloLectura:
        return QStringLiteral("La base de datos es de solo lectura: no se puede grabar en ella.");
    case kSqliteEntradaSalida:
    case kSqliteLlena:
    case kSqliteNoAbre:
        return QStringLiteral("No se puede leer o escribir el fichero de la base de datos: el disco puede estar "
                              "lleno o desconectado, o faltar permisos.");
    case kSqliteDanada:
    case kSqliteNoEsBase:
        return QStringLiteral("El fichero de la base de datos está dañado.");
    case kSqliteRestriccion:
        return QStringLiteral("La base de datos ha rechazado los datos porque no cumplen sus reglas.");
    default:
        return QStringLiteral("La base de datos no ha podido completar la operación.");
    }
}

} // namespace

const ErrorDatos& ErrorPendiente()
{
    return pendiente;
}

void FijarError(int numero, const QString& descripcion)
{
    pendiente = ErrorDatos{numero, descripcion, QString()};
}

QString DescripcionDe(const QSqlError& error)
{
    QString descripcion = error.databaseText();
    if (EsDelServidor(error) && !descripcion.isEmpty())
        descripcion = MensajeDelServidor(descripcion);
    return descripcion.isEmpty() ? error.text() : descripcion;
}

void FijarError(const QSqlError& error)
{
    pendiente = ErrorDatos{NumeroDe(error), DescripcionDe(error), CausaDe(error)};
}

void LimpiarError()
{
    pendiente = ErrorDatos();
}

QString TextoRegistroCambiado(const QString& registro, const QString& cargado, const QString& cambios,
                              const QString& consecuencia)
{
    return registro + QStringLiteral(" ha cambiado en la base de datos desde que ") + cargado +
           QStringLiteral(": otro usuario ") + cambios + QStringLiteral(". ") + consecuencia;
}

QString TextoError(const ErrorDatos& error)
{
    if (error.Causa.isEmpty())
        return error.Descripcion;
    return error.Causa + SaltoDoble + error.Descripcion;
}

void InformarError()
{
    const ErrorDatos error = ErrorPendiente();
    LimpiarError();
    if (!error.Hay())
        return;
    if (error.Numero == kErrorRegistroCambiado) {
        Dialogos().MsgBox(error.Descripcion, Icono::Exclamacion, Botones::Aceptar);
        return;
    }
    if (error.Numero == kErrorConDependientes) {
        Dialogos().MsgBox(error.Causa, Icono::Exclamacion, Botones::Aceptar);
        return;
    }
    const Respuesta respuesta = Dialogos().MsgBox(TextoError(error) + SaltoDoble +
                                                      QStringLiteral("¿Desea continuar con la ejecución del programa?"),
                                                  Icono::Critico, Botones::AceptarCancelar);
    if (respuesta == Respuesta::Cancelar) {
        Dialogos().MsgBox(QStringLiteral("Error ") + QString::number(error.Numero) + QStringLiteral(" - ") +
                              error.Descripcion,
                          Icono::Critico, Botones::Aceptar);
    }
}

} // namespace corvela
