#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>

class QCoreApplication;

namespace corvela {

// The program's command line, for both ways of running it: with its windows,
// and without any for the exports and the import of readings.
class LineaOrdenes
{
public:
    LineaOrdenes();

    // Reads the arguments; --help, --version and a wrong option end the program here.
    void Procesar(const QCoreApplication& aplicacion);

    std::optional<QString> CarpetaIndicada() const;
    bool Comprobar() const;

    // An export or an import: runs without windows and ends.
    bool SinVentanas() const;
    // Runs that export or import on the open database; the exit code.
    int Ejecutar() const;

private:
    int Exportar() const;
    int Importar() const;

    QCommandLineParser opciones_;
    QCommandLineOption datos_;
    QCommandLineOption comprobar_;
    QCommandLineOption exportar_;
    QCommandLineOption importar_;
    QCommandLineOption separador_;
    QCommandLineOption dibujo_;
    QCommandLineOption escala_;
};

// Whether the arguments ask for a run without windows; decided before any
// application object exists, since a run without windows needs no display.
bool PideSinVentanas(int argc, char* argv[]);

} // namespace corvela
