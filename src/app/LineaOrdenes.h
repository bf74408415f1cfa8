#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace corvela {

// The program's command line, for both ways of running it: with its windows,
// and without any for the exports and the import of readings.
class LineaOrdenes
{
public:
    LineaOrdenes();

    // Reads the arguments (the program's name first); false with ErrorLectura
    // when they are wrong. Needs no application object, so that the way of
    // running can be chosen before one exists.
    bool Leer(const QStringList& argumentos);
    QString ErrorLectura() const { return opciones_.errorText(); }
    bool PideAyuda() const;
    QString Ayuda() const { return opciones_.helpText(); }

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

} // namespace corvela
