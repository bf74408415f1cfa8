#pragma once

#include "core/VentanaUnica.h"
#include "informe/ListadoObra.h"
#include "informe/rptCorvela.h"

#include <QPrinter>
#include <QWidget>
#include <functional>

class QLabel;
class QToolBar;

namespace corvela {

class VisorLibreta;

// The report window: the field book it was last given, in a print preview that
// fills the window, with buttons to print it and to save it as a PDF file. The
// window keeps those rows for as long as it shows them.
class frmListados : public QWidget, public VentanaUnica<frmListados>
{
    Q_OBJECT
public:
    // Takes the rows of a field book, lays the report out again from them and
    // shows the window maximized.
    static void Mostrar(ListadoObra registros);

    VisorLibreta* Visor() const { return CRViewer1; }
    const rptCorvela& Informe() const { return InformeObra; }
    const ListadoObra& Registros() const { return RegistrosListado; }

private slots:
    void Imprimir();
    void GuardarPdf();

private:
    friend class VentanaUnica<frmListados>;
    frmListados();
    void CrearBarra();
    void Cargar(ListadoObra registros);
    // The file first proposed for the PDF: the documents folder, a name from the work.
    QString NombrePdf() const;
    void MostrarPrincipio();
    // Runs a printing task with the hourglass and, for a large work, a progress window.
    void ConProgreso(const std::function<void(const rptCorvela&)>& tarea);

    QPrinter impresora_{QPrinter::HighResolution};
    ListadoObra RegistrosListado;
    rptCorvela InformeObra;
    QToolBar* Toolbar1 = nullptr;
    VisorLibreta* CRViewer1 = nullptr;
    QLabel* RutaGuardada = nullptr; // where the last PDF was written
};

} // namespace corvela
