#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <list>
#include <memory>
#include <utility>

class QPrinter;

namespace corvela {

class MaquetaLibreta;
class rptCorvela;

// The print preview of the field book: the printer's pages one under the other
// on a grey ground. Only the page count is worked out beforehand; a page is
// drawn when it comes into view, and only the last few drawn are kept, so a
// work of any size opens at once and takes little memory.
class VisorLibreta : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // The printer gives the pages and their resolution; it must outlive the preview.
    explicit VisorLibreta(QPrinter& impresora, QWidget* padre = nullptr);
    ~VisorLibreta() override;

    // Lays the report out again on the printer's pages; its rows must outlive the preview.
    void Mostrar(const rptCorvela& informe);
    int Paginas() const { return paginas_; }

    // 1.0 shows the paper at its own size.
    double Zoom() const { return zoom_; }
    void FijarZoom(double factor);
    void Acercar();
    void Alejar();
    // These two keep fitting as the window changes size.
    void AjustarAncho();
    void PaginaEntera();
    // The top left corner of the first page.
    void IrAlPrincipio();

signals:
    // After every new layout, with the number of pages.
    void Maquetado(int paginas);

protected:
    void paintEvent(QPaintEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    // Home and End go to the first and the last page, as in any document.
    void keyPressEvent(QKeyEvent* evento) override;

private:
    enum class Ajuste { Libre, Ancho, Pagina };

    QSizeF Papel() const;
    double Escala() const;
    QSize TamanoPagina() const;
    void Reajustar();
    void ActualizarBarras();
    const QImage& Imagen(int pagina);

    QPrinter& impresora_;
    std::unique_ptr<MaquetaLibreta> maqueta_;
    int paginas_ = 0;
    double zoom_ = 1.0;
    Ajuste ajuste_ = Ajuste::Libre;
    // The pages drawn last, the newest first.
    std::list<std::pair<int, QImage>> dibujadas_;
};

} // namespace corvela
