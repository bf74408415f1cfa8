#pragma once

#include <QDate>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;

namespace corvela {

class ListadoObra;
class MaquetaLibreta;

// The printed field book of one work, laid out with QPainter on any paged device
// (a printer, the preview's printer, a PDF file). Seven sections: the report
// header (title, picture, the work's particulars), the page header, per station a
// group header, one detail line per point and a group footer, the report footer
// with the totals, and the page footer with the date and "Página n de m".
// The pages are drawn one at a time, so printing holds one page in memory.
class rptCorvela
{
public:
    // The rows to print; they must outlive every call to Imprimir.
    void FijarOrigen(const ListadoObra* datos) { datos_ = datos; }
    // The first formula value: decimals of every number printed.
    void FijarDecimales(int decimales) { decimales_ = decimales; }
    int Decimales() const { return decimales_; }
    // The picture of the report header; without one a drawn mark takes its place.
    void FijarImagen(const QImage& imagen) { imagen_ = imagen; }
    // The date printed on every page (today unless set).
    void FijarFecha(const QDate& fecha) { fecha_ = fecha; }

    // Called after each page is drawn with the pages done and the total, so that
    // a window can show the progress of a large work.
    std::function<void(int hechas, int total)> Progreso;

    // A4 landscape and the report's margins: the twelve point columns need the width.
    static void PrepararPagina(QPagedPaintDevice& dispositivo);

    // Draws every page; returns the number of pages, 0 when the device cannot be
    // painted on or there is nothing to print.
    int Imprimir(QPagedPaintDevice& dispositivo) const;

    // The report laid out on the device's pages, to count them and draw any one
    // on demand; none without rows. It reads the rows as long as it lives.
    std::unique_ptr<MaquetaLibreta> Maquetar(QPagedPaintDevice& dispositivo) const;

    // Writes the report to a PDF file; false when the file cannot be written.
    bool GuardarPdf(const QString& ruta) const;

private:
    const ListadoObra* datos_ = nullptr;
    int decimales_ = 3;
    QImage imagen_;
    QDate fecha_ = QDate::currentDate();
};

} // namespace corvela
