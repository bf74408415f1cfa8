#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <sys/types.h>

// Failures a test cannot cause from inside its own process, staged in a copy
// of it: a full disk, a lock held by another program, a file that belongs to
// someone else.
namespace corvela::pruebas {

// Runs accion in a forked copy of the test process in which no file may grow
// past limiteBytes, so every write beyond it is refused as on a full disk.
// Gives back the bytes accion returned; empty when the copy did not finish.
// accion must not use QVERIFY: the copy's failures would not reach the test.
std::optional<QByteArray> ConDiscoLleno(qint64 limiteBytes, const std::function<QByteArray()>& accion);

// Another process holding an exclusive lock on a database while it lives.
class BloqueoExterno
{
public:
    explicit BloqueoExterno(const QString& ruta);
    ~BloqueoExterno();
    BloqueoExterno(const BloqueoExterno&) = delete;
    BloqueoExterno& operator=(const BloqueoExterno&) = delete;

    // False when the other process could not take the lock.
    bool Tomado() const { return tomado_; }

private:
    pid_t hijo_ = -1;
    int fin_ = -1;
    bool tomado_ = false;
};

// While it lives, this thread opens files with the rights of an ordinary user
// (nobody) when the tests run as root, so that a write-protected file refuses
// a write as it would for the surveyor. Files the test wants usable must be
// open to everybody.
class SinPrivilegios
{
public:
    SinPrivilegios();
    ~SinPrivilegios();
    SinPrivilegios(const SinPrivilegios&) = delete;
    SinPrivilegios& operator=(const SinPrivilegios&) = delete;

    // False when running as root and the identity could not be changed.
    bool Efectivo() const { return efectivo_; }

private:
    bool cambiado_ = false;
    bool efectivo_ = false;
};

} // namespace corvela::pruebas
