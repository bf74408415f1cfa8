#include "informe/rptCorvela.h"

#include "core/EscrituraSegura.h"
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
    const std::unique_ptr<MaquetaLibreta> maqueta = Maquetar(dispositivo);
    if (!maqueta)
        return 0;
    const int paginas = maqueta->ContarPaginas();
    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        return 0;
    maqueta->Dibujar(pintor, paginas, Progreso);
    return pintor.end() ? paginas : 0;
}

std::unique_ptr<MaquetaLibreta> rptCorvela::Maquetar(QPagedPaintDevice& dispositivo) const
{
    if (!datos_)
        return nullptr;
    return std::make_unique<MaquetaLibreta>(*datos_, MaquetaLibreta::Ajustes{decimales_, imagen_, fecha_}, dispositivo);
}

bool rptCorvela::GuardarPdf(const QString& ruta) const
{
    // Through the safe writer: a file cut short by a full disk never takes the
    // place of the one that was there, nor passes for saved.
    EscrituraSegura fichero(ruta);
    if (!fichero.Abrir())
        return false;
    bool dibujado = false;
    {
        QPdfWriter pdf(&fichero.Dispositivo());
        pdf.setCreator(QStringLiteral("Corvela Geoda"));
        pdf.setTitle(QStringLiteral("Libreta de campo"));
        PrepararPagina(pdf);
        dibujado = Imprimir(pdf) > 0;
    }
    if (!dibujado) {
        fichero.Cancelar();
        return false;
    }
    return fichero.Confirmar();
}

} // namespace corvela
