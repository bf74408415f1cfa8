#pragma once

#include "records/Esquema.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QString>
#include <array>
#include <functional>
#include <utility>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace corvela {

class ListadoObra;
struct EstacionListado;
struct PuntoListado;

// How the field book falls on the pages of one device: the height of every band,
// the page breaks and the drawing. One walk serves both to count the pages
// (without a painter) and to draw them, so that "Página n de m" always holds.
// Lengths are device pixels; the design is in millimetres and points.
class MaquetaLibreta
{
public:
    struct Ajustes
    {
        int decimales = 3;
        QImage imagen;
        QDate fecha;
    };

    MaquetaLibreta(const ListadoObra& datos, const Ajustes& ajustes, QPagedPaintDevice& dispositivo);

    int ContarPaginas();
    // Draws every page with a painter open on the device; progreso is told after each page.
    void Dibujar(QPainter& pintor, int totalPaginas, const std::function<void(int, int)>& progreso);
    // Draws one page (from 1) with a painter open on any device of the same resolution;
    // the pages before it are only walked, so a preview draws a page when it is shown.
    void DibujarPagina(QPainter& pintor, int pagina, int totalPaginas);

private:
    // The text box of a column: its x and width leave the cell's padding out.
    struct Columna
    {
        QString titulo;
        double x = 0;
        double ancho = 0;
        Qt::Alignment alineacion;
    };

    double Mm(double milimetros) const { return milimetros * pixelesPorMm_; }
    QFont Fuente(double puntos, bool negrita = false, bool cursiva = false) const;
    void PrepararAnchosNumero();
    void PrepararColumnas();
    void PrepararAlturas();
    void PrepararLineas();
    QStringList LineasTexto(const QString& texto, double ancho) const;
    QStringList PartirTexto(const QString& texto, double ancho) const;
    QString Numero(double valor) const;
    double AltoPunto(int indice) const;
    double Limite() const { return alto_ - altoPiePagina_; }
    QString TextoObra() const;

    int Recorrer();
    bool Pintando() const { return pintor_ && (paginaPintada_ == 0 || pagina_ == paginaPintada_); }
    void EmpezarPagina();
    void TerminarPagina();
    void SaltarPagina();
    void Asegurar(double alto);
    // Places a band of that height at the current line, drawing it when painting.
    void Banda(double alto, const std::function<void()>& dibujar);
    void RecorrerEstacion(const EstacionListado& estacion);

    void DibujarTexto(const QRectF& rect, int flags, const QString& texto, const QFont& fuente,
                      const QFontMetricsF& metrica, const QColor& color);
    void DibujarLinea(const QRectF& rect, int flags, const QString& texto, const QFontMetricsF& metrica);
    void DibujarLinea(const QRectF& rect, int flags, const QString& texto, const QFontMetricsF& metrica, double ancho);
    double AnchoNumero(const QString& texto) const;
    void DibujarCampo(const QRectF& rect, const QString& etiqueta, const QString& valor, Qt::Alignment alineacion,
                      bool negrita);
    void DibujarCabeceraPagina();
    void DibujarPiePagina();
    void DibujarCabeceraInforme();
    void DibujarImagen(const QRectF& rect);
    void DibujarDatosObra(double y);
    void DibujarGrupo(const EstacionListado& estacion, bool continuacion);
    void DibujarTitulosColumnas(double y);
    void DibujarPunto(int indice, bool sombreada);
    void DibujarCeldaNumero(const Columna& columna, double y, double valor);
    void DibujarCeldaTexto(const Columna& columna, double y, const QString& texto, int lineas);
    void DibujarSinPuntos();
    void DibujarPieGrupo(const EstacionListado& estacion);
    void DibujarPieInforme();

    const ListadoObra& datos_;
    Ajustes ajustes_;
    QPagedPaintDevice& dispositivo_;
    double pixelesPorMm_ = 1;
    double ancho_ = 0;
    double alto_ = 0;
    QString patron_;

    QFont fuentePagina_;
    QFont fuentePaginaNegrita_;
    QFont fuenteEtiqueta_;
    QFont fuenteValor_;
    QFont fuenteValorNegrita_;
    QFont fuenteTitulos_;
    QFont fuenteCelda_;
    QFont fuenteNota_;
    // Made once: every single line is placed by them rather than laid out.
    QFontMetricsF metricaPagina_;
    QFontMetricsF metricaPaginaNegrita_;
    QFontMetricsF metricaEtiqueta_;
    QFontMetricsF metricaValor_;
    QFontMetricsF metricaValorNegrita_;
    QFontMetricsF metricaTitulos_;
    QFontMetricsF metricaCelda_;
    QFontMetricsF metricaNota_;
    // The advance of each character a number is written with, when the cell font
    // sets them side by side without kerning; empty otherwise.
    std::array<double, 128> anchoCaracterNumero_{};
    bool numerosSinAjuste_ = false;
    std::array<Columna, esquema::kColumnasLista> columnas_;
    std::vector<unsigned char> lineas_;
    mutable QHash<std::pair<QString, double>, QStringList> partidas_;

    double altoEtiqueta_ = 0;
    double altoValor_ = 0;
    double altoCampo_ = 0;
    double altoCabeceraPagina_ = 0;
    double altoPiePagina_ = 0;
    double altoCabeceraInforme_ = 0;
    double altoGrupo_ = 0;
    double altoTitulos_ = 0;
    double altoLinea_ = 0;
    double margenFila_ = 0;
    double altoPieGrupo_ = 0;
    double altoPieInforme_ = 0;

    QPainter* pintor_ = nullptr;
    std::function<void(int, int)> progreso_;
    int pagina_ = 0;
    int paginaPintada_ = 0; // 0: every page
    int totalPaginas_ = 0;
    double y_ = 0;
    bool paginaVacia_ = true;
};

} // namespace corvela
