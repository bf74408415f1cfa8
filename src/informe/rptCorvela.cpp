#include "informe/rptCorvela.h"

#include "informe/MaquetaLibreta.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace corvela {

void rptCorvela::PrepararPagina(QPagedPaintDevice& dispositivo)
{
    // The wider left margin leaves room to punch or bind the pages.
    dispositivo.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(15, 10, 10, 10),
                                          QPageLayout::Millimeter));
}

int rptCorvela::Imprimir(QPagedPaintDevice& dispositivo) const
{
    if (!datos_)
        return 0;
    MaquetaLibreta maqueta(*datos_, {decimales_, imagen_, fecha_}, dispositivo);
    const int paginas = maqueta.ContarPaginas();
    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        return 0;
    maqueta.Dibujar(pintor, paginas, Progreso);
    return pintor.end() ? paginas : 0;
}

bool rptCorvela::GuardarPdf(const QString& ruta) const
{
    QPdfWriter pdf(ruta);
    pdf.setCreator(QStringLiteral("Corvela Geoda"));
    pdf.setTitle(QStringLiteral("Libreta de campo"));
    PrepararPagina(pdf);
    return Imprimir(pdf) > 0;
}

} // namespace corvela
