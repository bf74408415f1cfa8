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

    // Whether the arguments ask for a run without windows (an export, an import,
    // the help); told before any application object exists, since such a run
    // needs no display, and before Qt takes its own options out of them.
    static bool PideSinVentanas(const QStringList& argumentos);

    // Reads the arguments (the program's name first); false with ErrorLectura
    // when they are wrong.
    bool Leer(const QStringList& argumentos);
    QString ErrorLectura() const { return opciones_.errorText(); }
    bool PideAyuda() const;
    QString Ayuda() const { return opciones_.helpText(); }

    std::optional<QString> CarpetaIndicada() const;
    bool Comprobar() const;

    // Runs that export or import on the open database; the exit code.
    int Ejecutar() const;

private:
    int Exportar() const;
    int ExportarScript(int obra, const QString& escala, const QString& fichero) const;
    int ExportarDxf(int obra, double escala, const QString& fichero) const;
    int ExportarCsv(int obra, bool libreta, const QString& fichero) const;
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
