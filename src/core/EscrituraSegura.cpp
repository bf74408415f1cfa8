#include "core/EscrituraSegura.h"

#include <cerrno>
#include <unistd.h>

namespace corvela {

EscrituraSegura::EscrituraSegura(const QString& ruta) : fichero_(ruta) {}

bool EscrituraSegura::Abrir()
{
    // Qt's own buffer would defer the writes to commit(), which does not fail
    // when that last flush is refused and so would put a cut file in place.
    if (!fichero_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error_ = fichero_.errorString();
        return false;
    }
    return true;
}

bool EscrituraSegura::Confirmar()
{
    if (fichero_.error() != QFileDevice::NoError)
        return Fallar(fichero_.errorString());
    if (!fichero_.flush())
        return Fallar(fichero_.errorString());
    // Some file systems report a full disk only when the data reaches it.
    if (::fsync(fichero_.handle()) != 0)
        return Fallar(qt_error_string(errno));
    if (!fichero_.commit()) {
        error_ = fichero_.errorString();
        return false;
    }
    return true;
}

bool EscrituraSegura::Fallar(const QString& motivo)
{
    error_ = motivo;
    fichero_.cancelWriting();
    return false;
}

bool EscrituraSegura::EscribirTodo(QIODevice& destino, const char* datos, qint64 tamano)
{
    while (tamano > 0) {
        const qint64 escritos = destino.write(datos, tamano);
        if (escritos <= 0)
            return false;
        datos += escritos;
        tamano -= escritos;
    }
    return true;
}

bool EscrituraSegura::Grabar(const QString& ruta, const QByteArray& contenido, QString* error)
{
    EscrituraSegura escritura(ruta);
    bool grabado = false;
    if (escritura.Abrir()) {
        if (EscribirTodo(escritura.Dispositivo(), contenido.constData(), contenido.size()))
            grabado = escritura.Confirmar();
        else
            escritura.Fallar(escritura.Dispositivo().errorString());
    }
    if (!grabado && error)
        *error = escritura.Error();
    return grabado;
}

} // namespace corvela
