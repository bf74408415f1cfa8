#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace corvela {

// A file replaced whole or not at all: the new contents go to a temporary file
// beside it, which takes the old one's place only once every byte is on disk.
// A refused write (a full disk, a size limit) leaves the old file as it was and
// keeps the reason the system gave.
class EscrituraSegura
{
public:
    explicit EscrituraSegura(const QString& ruta);

    bool Abrir();
    // Where the new contents go. Nothing is held back in a buffer, so a write
    // the system refuses fails at once and is remembered.
    QIODevice& Dispositivo() { return fichero_; }
    // Puts the new file in place; false, with the old one untouched, when any
    // write failed or the data could not be forced to disk.
    bool Confirmar();
    void Cancelar() { fichero_.cancelWriting(); }
    // Why the last step failed.
    const QString& Error() const { return error_; }

    // Writes every byte, going on after a short write (a disk that fills takes
    // part of the data and refuses the rest); false once the device refuses.
    static bool EscribirTodo(QIODevice& destino, const char* datos, qint64 tamano);

    // The whole new contents of a file in one step; error receives the reason of a failure.
    static bool Grabar(const QString& ruta, const QByteArray& contenido, QString* error);

private:
    bool Fallar(const QString& motivo);

    QSaveFile fichero_;
    QString error_;
};

} // namespace corvela
