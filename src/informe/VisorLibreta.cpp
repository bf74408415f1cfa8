#include "informe/VisorLibreta.h"

#include "informe/MaquetaLibreta.h"
#include "informe/rptCorvela.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace corvela {

namespace {

constexpr int kSeparacion = 10;
constexpr int kSombra = 3;
constexpr double kPaso = 1.1;
// Each page shown is drawn whole into an image: closer than this, a few pages
// would take hundreds of megabytes for nothing more to read.
constexpr double kZoomMinimo = 0.1;
constexpr double kZoomMaximo = 3.0;
// Enough for the pages a screen shows at once while scrolling.
constexpr size_t kGuardadas = 4;

} // namespace

VisorLibreta::VisorLibreta(QPrinter& impresora, QWidget* padre) : QAbstractScrollArea(padre), impresora_(impresora)
{
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

VisorLibreta::~VisorLibreta() = default;

void VisorLibreta::keyPressEvent(QKeyEvent* evento)
{
    switch (evento->key()) {
    case Qt::Key_Home:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(evento);
    }
}

void VisorLibreta::Mostrar(const rptCorvela& informe)
{
    dibujadas_.clear();
    maqueta_ = informe.Maquetar(impresora_);
    paginas_ = maqueta_ ? maqueta_->ContarPaginas() : 0;
    Reajustar();
    viewport()->update();
    emit Maquetado(paginas_);
}

QSizeF VisorLibreta::Papel() const
{
    return impresora_.pageLayout().fullRectPixels(impresora_.resolution()).size();
}

double VisorLibreta::Escala() const
{
    return zoom_ * viewport()->logicalDpiY() / impresora_.resolution();
}

QSize VisorLibreta::TamanoPagina() const
{
    const QSizeF papel = Papel() * Escala();
    return QSize(static_cast<int>(std::ceil(papel.width())), static_cast<int>(std::ceil(papel.height())));
}

void VisorLibreta::FijarZoom(double factor)
{
    ajuste_ = Ajuste::Libre;
    zoom_ = std::clamp(factor, kZoomMinimo, kZoomMaximo);
    dibujadas_.clear();
    ActualizarBarras();
    viewport()->update();
}

void VisorLibreta::Acercar()
{
    FijarZoom(zoom_ * kPaso);
}

void VisorLibreta::Alejar()
{
    FijarZoom(zoom_ / kPaso);
}

void VisorLibreta::AjustarAncho()
{
    ajuste_ = Ajuste::Ancho;
    Reajustar();
}

void VisorLibreta::PaginaEntera()
{
    ajuste_ = Ajuste::Pagina;
    Reajustar();
}

void VisorLibreta::Reajustar()
{
    const double porPunto = viewport()->logicalDpiY() / double(impresora_.resolution());
    const QSizeF papel = Papel() * porPunto;
    const QSizeF sitio = QSizeF(viewport()->size()) - QSizeF(2 * kSeparacion, 2 * kSeparacion);
    if (ajuste_ != Ajuste::Libre && !papel.isEmpty() && !sitio.isEmpty()) {
        const double ancho = sitio.width() / papel.width();
        const double zoom =
            std::clamp(ajuste_ == Ajuste::Ancho ? ancho : std::min(ancho, sitio.height() / papel.height()), kZoomMinimo,
                       kZoomMaximo);
        if (zoom != zoom_)
            dibujadas_.clear();
        zoom_ = zoom;
    }
    ActualizarBarras();
    viewport()->update();
}

void VisorLibreta::ActualizarBarras()
{
    const QSize pagina = TamanoPagina();
    const QSize documento(pagina.width() + 2 * kSeparacion, paginas_ * (pagina.height() + kSeparacion) + kSeparacion);
    const QSize vista = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, documento.width() - vista.width()));
    horizontalScrollBar()->setPageStep(vista.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, documento.height() - vista.height()));
    verticalScrollBar()->setPageStep(vista.height());
    verticalScrollBar()->setSingleStep(20);
}

void VisorLibreta::IrAlPrincipio()
{
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

void VisorLibreta::resizeEvent(QResizeEvent* evento)
{
    QAbstractScrollArea::resizeEvent(evento);
    Reajustar();
}

const QImage& VisorLibreta::Imagen(int pagina)
{
    const auto guardada = std::find_if(dibujadas_.begin(), dibujadas_.end(),
                                       [pagina](const auto& dibujada) { return dibujada.first == pagina; });
    if (guardada != dibujadas_.end()) {
        dibujadas_.splice(dibujadas_.begin(), dibujadas_, guardada);
        return dibujadas_.front().second;
    }
    const double proporcion = devicePixelRatioF();
    QImage imagen(TamanoPagina() * proporcion, QImage::Format_ARGB32_Premultiplied);
    // The printer's resolution: the fonts take the sizes the layout measured them with.
    const int puntosPorMetro = qRound(impresora_.resolution() / 0.0254);
    imagen.setDotsPerMeterX(puntosPorMetro);
    imagen.setDotsPerMeterY(puntosPorMetro);
    imagen.fill(Qt::white);
    {
        QPainter pintor(&imagen);
        pintor.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        pintor.scale(Escala() * proporcion, Escala() * proporcion);
        pintor.translate(impresora_.pageLayout().paintRectPixels(impresora_.resolution()).topLeft());
        maqueta_->DibujarPagina(pintor, pagina, paginas_);
    }
    imagen.setDevicePixelRatio(proporcion);
    dibujadas_.emplace_front(pagina, std::move(imagen));
    if (dibujadas_.size() > kGuardadas)
        dibujadas_.pop_back();
    return dibujadas_.front().second;
}

void VisorLibreta::paintEvent(QPaintEvent* evento)
{
    if (!maqueta_ || paginas_ == 0)
        return;
    QPainter pintor(viewport());
    const QSize pagina = TamanoPagina();
    const int alto = pagina.height() + kSeparacion;
    const int sobra = std::max(0, viewport()->width() - pagina.width() - 2 * kSeparacion) / 2;
    const int x = kSeparacion + sobra - horizontalScrollBar()->value();
    const int arriba = verticalScrollBar()->value();
    const QRect zona = evento->rect();
    const int primera = std::max(0, (arriba + zona.top() - kSeparacion) / alto);
    const int ultima = std::min(paginas_ - 1, (arriba + zona.bottom()) / alto);
    for (int i = primera; i <= ultima; ++i) {
        const QRect papel(QPoint(x, kSeparacion + i * alto - arriba), pagina);
        pintor.fillRect(papel.translated(kSombra, kSombra), palette().shadow());
        pintor.drawImage(papel.topLeft(), Imagen(i + 1));
    }
}

} // namespace corvela
