#pragma once

#include "records/DestinoDatos.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <optional>

namespace corvela {

// The program's command line, for both ways of running it: with its windows,
// and without any for the exports, the import of readings and the copy to the server.
class LineaOrdenes
{
public:
    LineaOrdenes();

    // Whether the arguments ask for a run without windows (an export, an import,
    // the copy to the server, the help); told before any application object
    // exists, since such a run needs no display, and before Qt takes its own
    // options out of them.
    static bool PideSinVentanas(const QStringList& argumentos);

    // Reads the arguments (the program's name first); false with ErrorLectura
    // when they are wrong, a database that names none included.
    bool Leer(const QStringList& argumentos);
    QString ErrorLectura() const { return error_; }
    bool PideAyuda() const;
    QString Ayuda() const { return opciones_.helpText(); }

    std::optional<QString> CarpetaIndicada() const;
    // The database of --base-datos for this run, instead of the settings' one;
    // a SQLite one without its file, which is always the data folder's.
    std::optional<DestinoDatos> BaseIndicada() const { return base_; }
    bool Comprobar() const;
    bool CopiarAlServidor() const;

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
    QCommandLineOption baseDatos_;
    QCommandLineOption copiar_;
    QCommandLineOption comprobar_;
    QCommandLineOption exportar_;
    QCommandLineOption importar_;
    QCommandLineOption separador_;
    QCommandLineOption dibujo_;
    QCommandLineOption escala_;
    std::optional<DestinoDatos> base_;
    QString error_;
};

} // namespace corvela
