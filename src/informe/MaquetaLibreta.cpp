#include "informe/MaquetaLibreta.h"

#include "core/TextoNumerico.h"
#include "informe/ListadoObra.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace corvela {

namespace {

// Texts broken into lines kept for reuse at most.
constexpr qsizetype kPartidasGuardadas = 10000;

const QColor kAzul(0x1F, 0x3A, 0x5F);
const QColor kFondoEstacion(0xE4, 0xEB, 0xF3);
const QColor kFondoDatos(0xF5, 0xF7, 0xFA);
const QColor kCebra(0xF2, 0xF5, 0xF9);
const QColor kLinea(0xB4, 0xC1, 0xD0);
const QColor kTexto(0x1A, 0x1A, 0x1A);
const QColor kGris(0x55, 0x65, 0x78);

// The design width (A4 landscape less the margins); narrower pages scale it.
constexpr double kAnchoDiseno = 267.0;
constexpr double kRelleno = 1.2;
// The notes stand a little apart from the Z column so that a note never reads as part of the number.
constexpr double kSangriaNotas = 2.5;
constexpr double kAltoImagen = 24.0;
// A long note or description wraps, but no point line takes more than this.
constexpr int kMaximoLineas = 3;

// The width and the alignment of each column of the points list.
struct DefinicionColumna
{
    double milimetros;
    bool numerica;
};

const std::array<DefinicionColumna, esquema::kColumnasLista> kColumnas{{
    {11, true},
    {38, false},
    {15, true},
    {15, true},
    {15, true},
    {17, true},
    {17, true},
    {17, true},
    {22, true},
    {22, true},
    {17, true},
    {61, false},
}};

// One of the work's particulars, placed on a grid of six columns.
struct Dato
{
    QString etiqueta;
    QString valor;
    int columna;
    int columnas;
};

// One value of the station band, with its design width.
struct CampoEstacion
{
    QString etiqueta;
    QString valor;
    double milimetros;
    bool numerico;
};

QString Cantidad(int numero, const QString& uno, const QString& varios)
{
    return QString::number(numero) + u' ' + (numero == 1 ? uno : varios);
}

} // namespace

MaquetaLibreta::MaquetaLibreta(const ListadoObra& datos, const Ajustes& ajustes, QPagedPaintDevice& dispositivo)
    : datos_(datos), ajustes_(ajustes), dispositivo_(dispositivo), pixelesPorMm_(dispositivo.logicalDpiY() / 25.4),
      ancho_(dispositivo.width()), alto_(dispositivo.height()),
      patron_(ajustes.decimales > 0 ? QStringLiteral("###0.") + QString(ajustes.decimales, u'0')
                                    : QStringLiteral("###0")),
      fuentePagina_(Fuente(7.5)), fuentePaginaNegrita_(Fuente(7.5, true)), fuenteEtiqueta_(Fuente(6.5)),
      fuenteValor_(Fuente(9)), fuenteValorNegrita_(Fuente(9, true)), fuenteTitulos_(Fuente(7, true)),
      fuenteCelda_(Fuente(7.5)), fuenteNota_(Fuente(7, false, true)), metricaPagina_(fuentePagina_, &dispositivo),
      metricaPaginaNegrita_(fuentePaginaNegrita_, &dispositivo), metricaEtiqueta_(fuenteEtiqueta_, &dispositivo),
      metricaValor_(fuenteValor_, &dispositivo), metricaValorNegrita_(fuenteValorNegrita_, &dispositivo),
      metricaTitulos_(fuenteTitulos_, &dispositivo), metricaCelda_(fuenteCelda_, &dispositivo),
      metricaNota_(fuenteNota_, &dispositivo)
{
    PrepararAnchosNumero();
    PrepararColumnas();
    PrepararAlturas();
    PrepararLineas();
}

QFont MaquetaLibreta::Fuente(double puntos, bool negrita, bool cursiva) const
{
    QFont fuente;
    fuente.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                        QStringLiteral("Helvetica")});
    fuente.setStyleHint(QFont::SansSerif);
    // The same metrics on the preview, the printer and the PDF.
    fuente.setHintingPreference(QFont::PreferNoHinting);
    fuente.setPointSizeF(puntos);
    fuente.setBold(negrita);
    fuente.setItalic(cursiva);
    return fuente;
}

void MaquetaLibreta::PrepararAnchosNumero()
{
    const QString caracteres = QStringLiteral("0123456789-") + SeparadorDecimal();
    for (const QChar c : caracteres) {
        if (c.unicode() >= anchoCaracterNumero_.size())
            return;
        anchoCaracterNumero_[c.unicode()] = metricaCelda_.horizontalAdvance(QString(c));
    }
    // Side by side without kerning when every pair measures the sum of its two.
    for (const QChar a : caracteres) {
        for (const QChar b : caracteres) {
            if (metricaCelda_.horizontalAdvance(QString(a) + b) !=
                anchoCaracterNumero_[a.unicode()] + anchoCaracterNumero_[b.unicode()])
                return;
        }
    }
    numerosSinAjuste_ = true;
}

void MaquetaLibreta::PrepararColumnas()
{
    const double escala = ancho_ / Mm(kAnchoDiseno);
    double x = 0;
    for (size_t i = 0; i < kColumnas.size(); ++i) {
        const double ancho = Mm(kColumnas[i].milimetros) * escala;
        const double sangria = Mm(kRelleno) + (i == esquema::kObserv ? Mm(kSangriaNotas) : 0);
        Columna& columna = columnas_[i];
        columna.titulo = esquema::TituloPunto(static_cast<int>(i));
        columna.x = x + sangria;
        columna.ancho = ancho - sangria - Mm(kRelleno);
        columna.alineacion = kColumnas[i].numerica ? Qt::AlignRight : Qt::AlignLeft;
        x += ancho;
    }
}

void MaquetaLibreta::PrepararAlturas()
{
    const double textoPagina = metricaPagina_.height();
    altoEtiqueta_ = metricaEtiqueta_.height();
    altoValor_ = metricaValor_.height();
    altoCampo_ = Mm(0.8) + altoEtiqueta_ + Mm(0.3) + altoValor_ + Mm(1.2);
    altoCabeceraPagina_ = textoPagina + Mm(4.5);
    altoPiePagina_ = textoPagina + Mm(3);
    altoCabeceraInforme_ = Mm(1) + Mm(kAltoImagen) + Mm(3) + 3 * altoCampo_ + Mm(2) + Mm(2);
    altoTitulos_ = metricaTitulos_.height() + Mm(1.6);
    altoGrupo_ = Mm(3) + altoCampo_ + Mm(0.6) + altoTitulos_;
    altoLinea_ = metricaCelda_.lineSpacing();
    margenFila_ = Mm(0.7);
    altoPieGrupo_ = metricaNota_.height() + Mm(1.5);
    altoPieInforme_ = Mm(5) + altoValor_ + Mm(2);
}

void MaquetaLibreta::PrepararLineas()
{
    const double anchoResena = columnas_[esquema::kResena].ancho;
    const double anchoNotas = columnas_[esquema::kObserv].ancho;
    const auto& puntos = datos_.Puntos();
    lineas_.resize(puntos.size());
    for (size_t i = 0; i < puntos.size(); ++i) {
        const auto lineas = std::max(LineasTexto(puntos[i].resena, anchoResena).size(),
                                     LineasTexto(puntos[i].notas, anchoNotas).size());
        lineas_[i] = static_cast<unsigned char>(std::max<qsizetype>(1, lineas));
    }
}

QStringList MaquetaLibreta::LineasTexto(const QString& texto, double ancho) const
{
    if (texto.isEmpty())
        return {texto};
    // A survey labels thousands of points with the same few words, and measuring
    // or breaking a text shapes it: each text is measured once. Notes that are
    // all different would only fill memory, so the count of kept texts is bounded.
    const auto clave = std::make_pair(texto, ancho);
    const auto partida = partidas_.constFind(clave);
    if (partida != partidas_.constEnd())
        return *partida;
    const QStringList lineas =
        metricaCelda_.horizontalAdvance(texto) <= ancho ? QStringList{texto} : PartirTexto(texto, ancho);
    if (partidas_.size() < kPartidasGuardadas)
        partidas_.insert(clave, lineas);
    return lineas;
}

QStringList MaquetaLibreta::PartirTexto(const QString& texto, double ancho) const
{
    QTextLayout maqueta(texto, fuenteCelda_, &dispositivo_);
    QTextOption opcion;
    opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    maqueta.setTextOption(opcion);
    QList<int> inicios;
    maqueta.beginLayout();
    for (QTextLine linea = maqueta.createLine(); linea.isValid(); linea = maqueta.createLine()) {
        linea.setLineWidth(ancho);
        inicios << linea.textStart();
    }
    maqueta.endLayout();
    inicios << static_cast<int>(texto.size());

    QStringList lineas;
    const int mostradas = std::min<int>(kMaximoLineas, static_cast<int>(inicios.size()) - 1);
    for (int i = 0; i < mostradas; ++i)
        lineas << texto.mid(inicios[i], inicios[i + 1] - inicios[i]).trimmed();
    if (inicios.size() - 1 > kMaximoLineas)
        lineas.last() =
            metricaCelda_.elidedText(texto.mid(inicios[kMaximoLineas - 1]).simplified(), Qt::ElideRight, ancho);
    return lineas;
}

QString MaquetaLibreta::Numero(double valor) const
{
    return FormatearPatron(valor, patron_);
}

double MaquetaLibreta::AltoPunto(int indice) const
{
    return lineas_[static_cast<size_t>(indice)] * altoLinea_ + 2 * margenFila_;
}

int MaquetaLibreta::ContarPaginas()
{
    pintor_ = nullptr;
    progreso_ = nullptr;
    return Recorrer();
}

void MaquetaLibreta::Dibujar(QPainter& pintor, int totalPaginas, const std::function<void(int, int)>& progreso)
{
    pintor_ = &pintor;
    paginaPintada_ = 0;
    totalPaginas_ = totalPaginas;
    progreso_ = progreso;
    Recorrer();
    pintor_ = nullptr;
}

void MaquetaLibreta::DibujarPagina(QPainter& pintor, int pagina, int totalPaginas)
{
    pintor_ = &pintor;
    paginaPintada_ = pagina;
    totalPaginas_ = totalPaginas;
    progreso_ = nullptr;
    Recorrer();
    pintor_ = nullptr;
    paginaPintada_ = 0;
}

int MaquetaLibreta::Recorrer()
{
    pagina_ = 0;
    EmpezarPagina();
    Banda(altoCabeceraInforme_, [this] { DibujarCabeceraInforme(); });
    for (const EstacionListado& estacion : datos_.Estaciones())
        RecorrerEstacion(estacion);
    Asegurar(altoPieInforme_);
    Banda(altoPieInforme_, [this] { DibujarPieInforme(); });
    TerminarPagina();
    return pagina_;
}

void MaquetaLibreta::RecorrerEstacion(const EstacionListado& estacion)
{
    const int puntos = estacion.numeroPuntos;
    const double primeraFila = puntos > 0 ? AltoPunto(estacion.primerPunto) : altoLinea_ + 2 * margenFila_;
    // A station starts where at least its first line (and, when short, its footer) fits.
    Asegurar(altoGrupo_ + primeraFila + (puntos <= 1 ? altoPieGrupo_ : 0));
    Banda(altoGrupo_, [&] { DibujarGrupo(estacion, false); });
    if (puntos == 0)
        Banda(primeraFila, [this] { DibujarSinPuntos(); });
    for (int k = 0; k < puntos; ++k) {
        const int indice = estacion.primerPunto + k;
        const double alto = AltoPunto(indice);
        // The footer never stands alone at the top of a page.
        if (y_ + alto + (k == puntos - 1 ? altoPieGrupo_ : 0) > Limite()) {
            SaltarPagina();
            Banda(altoGrupo_, [&] { DibujarGrupo(estacion, true); });
        }
        Banda(alto, [&] { DibujarPunto(indice, k % 2 == 1); });
    }
    Banda(altoPieGrupo_, [&] { DibujarPieGrupo(estacion); });
}

void MaquetaLibreta::Banda(double alto, const std::function<void()>& dibujar)
{
    if (Pintando())
        dibujar();
    y_ += alto;
    paginaVacia_ = false;
}

void MaquetaLibreta::Asegurar(double alto)
{
    // A page that holds nothing yet takes the band anyway, so that no band can
    // push the report onto endless pages.
    if (y_ + alto > Limite() && !paginaVacia_)
        SaltarPagina();
}

void MaquetaLibreta::EmpezarPagina()
{
    ++pagina_;
    y_ = 0;
    if (Pintando())
        DibujarCabeceraPagina();
    y_ = altoCabeceraPagina_;
    paginaVacia_ = true;
}

void MaquetaLibreta::TerminarPagina()
{
    if (!Pintando())
        return;
    DibujarPiePagina();
    if (progreso_)
        progreso_(pagina_, totalPaginas_);
}

void MaquetaLibreta::SaltarPagina()
{
    TerminarPagina();
    if (pintor_ && paginaPintada_ == 0)
        dispositivo_.newPage();
    EmpezarPagina();
}

void MaquetaLibreta::DibujarTexto(const QRectF& rect, int flags, const QString& texto, const QFont& fuente,
                                  const QFontMetricsF& metrica, const QColor& color)
{
    pintor_->setFont(fuente);
    pintor_->setPen(color);
    DibujarLinea(rect, flags, texto, metrica);
}

void MaquetaLibreta::DibujarLinea(const QRectF& rect, int flags, const QString& texto, const QFontMetricsF& metrica)
{
    const bool hayQueMedir = (flags & Qt::AlignRight) || !(flags & Qt::TextDontClip);
    DibujarLinea(rect, flags, texto, metrica, hayQueMedir ? metrica.horizontalAdvance(texto) : 0);
}

// Where drawText(rect, flags) puts a single line, without laying it out: the line
// starts on a whole 1/64 of a device pixel, aligned by its advance, and is clipped
// only when it leaves its box. A text that such a layout would break, or one it
// would clip, keeps that form.
void MaquetaLibreta::DibujarLinea(const QRectF& rect, int flags, const QString& texto, const QFontMetricsF& metrica,
                                  double ancho)
{
    const double alto = metrica.height();
    const double izquierda = rect.x() + ((flags & Qt::AlignRight) ? rect.width() - ancho : 0);
    const double arriba = rect.y() + ((flags & Qt::AlignVCenter) ? (rect.height() - alto) / 2 : 0);
    const bool recortada = !(flags & Qt::TextDontClip) && !rect.contains(QRectF(izquierda, arriba, ancho, alto));
    if (recortada || !std::all_of(texto.cbegin(), texto.cend(), [](QChar c) { return c.isPrint(); })) {
        pintor_->drawText(rect, flags, texto);
        return;
    }
    pintor_->drawText(QPointF(izquierda, std::trunc(arriba * 64) / 64 + metrica.ascent()), texto);
}

double MaquetaLibreta::AnchoNumero(const QString& texto) const
{
    double ancho = 0;
    for (const QChar c : texto) {
        const double caracter = c.unicode() < anchoCaracterNumero_.size() ? anchoCaracterNumero_[c.unicode()] : 0;
        if (!numerosSinAjuste_ || caracter == 0)
            return metricaCelda_.horizontalAdvance(texto);
        ancho += caracter;
    }
    return ancho;
}

void MaquetaLibreta::DibujarCampo(const QRectF& rect, const QString& etiqueta, const QString& valor,
                                  Qt::Alignment alineacion, bool negrita)
{
    const QRectF zonaEtiqueta(rect.left(), rect.top() + Mm(0.8), rect.width(), altoEtiqueta_);
    DibujarTexto(zonaEtiqueta, static_cast<int>(alineacion | Qt::AlignVCenter), etiqueta, fuenteEtiqueta_,
                 metricaEtiqueta_, kGris);
    const QRectF zonaValor(rect.left(), zonaEtiqueta.bottom() + Mm(0.3), rect.width(), altoValor_);
    const QFontMetricsF& metrica = negrita ? metricaValorNegrita_ : metricaValor_;
    DibujarTexto(zonaValor, static_cast<int>(alineacion | Qt::AlignVCenter),
                 metrica.elidedText(valor, Qt::ElideRight, rect.width()), negrita ? fuenteValorNegrita_ : fuenteValor_,
                 metrica, kTexto);
}

QString MaquetaLibreta::TextoObra() const
{
    if (!datos_.HayObra())
        return QString();
    const ObraListado& obra = datos_.Obra();
    QString texto = QStringLiteral("Obra ") + QString::number(obra.codigo);
    if (!obra.descripcion.isEmpty())
        texto += QStringLiteral("  ·  ") + obra.descripcion;
    return texto;
}

void MaquetaLibreta::DibujarCabeceraPagina()
{
    const QRectF linea(0, 0, ancho_, metricaPagina_.height());
    DibujarTexto(linea, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("CORVELA GEODA  ·  Libreta de campo"),
                 fuentePaginaNegrita_, metricaPaginaNegrita_, kAzul);
    DibujarTexto(linea, Qt::AlignRight | Qt::AlignVCenter,
                 metricaPagina_.elidedText(TextoObra(), Qt::ElideRight, ancho_ * 0.6), fuentePagina_, metricaPagina_,
                 kGris);
    const double raya = linea.bottom() + Mm(1.2);
    pintor_->setPen(QPen(kAzul, Mm(0.35)));
    pintor_->drawLine(QPointF(0, raya), QPointF(ancho_, raya));
}

void MaquetaLibreta::DibujarPiePagina()
{
    const double raya = alto_ - altoPiePagina_ + Mm(1.5);
    pintor_->setPen(QPen(kLinea, Mm(0.25)));
    pintor_->drawLine(QPointF(0, raya), QPointF(ancho_, raya));
    const QRectF linea(0, raya + Mm(1), ancho_, alto_ - raya - Mm(1));
    DibujarTexto(linea, Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("Impreso el ") + ajustes_.fecha.toString(QStringLiteral("dd/MM/yyyy")), fuentePagina_,
                 metricaPagina_, kGris);
    DibujarTexto(linea, Qt::AlignRight | Qt::AlignVCenter,
                 QStringLiteral("Página %1 de %2").arg(pagina_).arg(totalPaginas_), fuentePaginaNegrita_,
                 metricaPaginaNegrita_, kTexto);
}

void MaquetaLibreta::DibujarCabeceraInforme()
{
    const double arriba = y_ + Mm(1);
    const QImage& imagen = ajustes_.imagen;
    const double altoImagen = Mm(kAltoImagen);
    const double anchoImagen = imagen.isNull() ? altoImagen : altoImagen * imagen.width() / imagen.height();
    DibujarImagen(QRectF(ancho_ - anchoImagen, arriba, anchoImagen, altoImagen));

    const double anchoTitulo = ancho_ - anchoImagen - Mm(6);
    const QFont titulo = Fuente(22, true);
    DibujarTexto(QRectF(0, arriba + Mm(1), anchoTitulo, Mm(10)), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("CORVELA GEODA"), titulo, QFontMetricsF(titulo, &dispositivo_), kAzul);
    const QFont subtitulo = Fuente(12);
    DibujarTexto(QRectF(0, arriba + Mm(11), anchoTitulo, Mm(6)), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("Libreta de campo taquimétrica"), subtitulo, QFontMetricsF(subtitulo, &dispositivo_),
                 kGris);
    pintor_->setPen(QPen(kAzul, Mm(0.8)));
    pintor_->drawLine(QPointF(0, arriba + altoImagen - Mm(0.4)), QPointF(anchoTitulo, arriba + altoImagen - Mm(0.4)));
    DibujarDatosObra(arriba + altoImagen + Mm(3));
}

void MaquetaLibreta::DibujarImagen(const QRectF& rect)
{
    if (!ajustes_.imagen.isNull()) {
        pintor_->setRenderHint(QPainter::SmoothPixmapTransform);
        pintor_->drawImage(rect, ajustes_.imagen);
        return;
    }
    // Without the picture, a survey mark: a ring with its cross hairs.
    const QRectF anillo = rect.adjusted(Mm(3), Mm(3), -Mm(3), -Mm(3));
    pintor_->setRenderHint(QPainter::Antialiasing);
    pintor_->setPen(QPen(kAzul, Mm(0.8)));
    pintor_->setBrush(Qt::NoBrush);
    pintor_->drawEllipse(anillo);
    pintor_->drawLine(QPointF(rect.center().x(), rect.top()), QPointF(rect.center().x(), rect.bottom()));
    pintor_->drawLine(QPointF(rect.left(), rect.center().y()), QPointF(rect.right(), rect.center().y()));
    pintor_->setBrush(kAzul);
    pintor_->drawEllipse(rect.center(), Mm(1.2), Mm(1.2));
    pintor_->setBrush(Qt::NoBrush);
}

void MaquetaLibreta::DibujarDatosObra(double y)
{
    const ObraListado& obra = datos_.Obra();
    const QString codigo = datos_.HayObra() ? QString::number(obra.codigo) : QString();
    const std::array<std::vector<Dato>, 3> filas{{
        {{QStringLiteral("Código Obra"), codigo, 0, 1},
         {QStringLiteral("Expediente"), obra.expediente, 1, 1},
         {QStringLiteral("Descripción Obra"), obra.descripcion, 2, 4}},
        {{QStringLiteral("Nombre Cliente"), obra.propietario, 0, 3},
         {QStringLiteral("D.N.I."), obra.dni, 3, 1},
         {QStringLiteral("Teléfono"), obra.telefono, 4, 1},
         {QStringLiteral("FAX"), obra.fax, 5, 1}},
        {{QStringLiteral("Dirección Cliente"), obra.domicilio, 0, 3},
         {QStringLiteral("Población Cliente"), obra.poblacion, 3, 1},
         {QStringLiteral("Código Postal"), obra.codigoPostal, 4, 1},
         {QStringLiteral("Provincia Cliente"), obra.provincia, 5, 1}},
    }};
    const QRectF caja(0, y, ancho_, 3 * altoCampo_ + Mm(2));
    pintor_->setPen(QPen(kLinea, Mm(0.25)));
    pintor_->setBrush(kFondoDatos);
    pintor_->drawRoundedRect(caja, Mm(1.5), Mm(1.5));
    pintor_->setBrush(Qt::NoBrush);
    const double celda = ancho_ / 6;
    for (size_t fila = 0; fila < filas.size(); ++fila) {
        const double arriba = y + Mm(1) + fila * altoCampo_;
        if (fila > 0) {
            pintor_->setPen(QPen(kLinea, Mm(0.15)));
            pintor_->drawLine(QPointF(Mm(2.5), arriba), QPointF(ancho_ - Mm(2.5), arriba));
        }
        for (const Dato& dato : filas[fila]) {
            const QRectF zona(dato.columna * celda + Mm(2.5), arriba, dato.columnas * celda - Mm(5), altoCampo_);
            DibujarCampo(zona, dato.etiqueta, dato.valor, Qt::AlignLeft, fila == 0);
        }
    }
}

void MaquetaLibreta::DibujarGrupo(const EstacionListado& estacion, bool continuacion)
{
    const double arriba = y_ + Mm(3);
    pintor_->fillRect(QRectF(0, arriba, ancho_, altoCampo_), kFondoEstacion);
    pintor_->fillRect(QRectF(0, arriba, Mm(1.2), altoCampo_), kAzul);
    const QString descripcion =
        continuacion ? estacion.descripcion + QStringLiteral("  (continuación)") : estacion.descripcion;
    const std::array<CampoEstacion, 7> campos{{
        {QStringLiteral("Estación"), QString::number(estacion.codigo), 24, false},
        {QStringLiteral("Descripción"), descripcion, 101, false},
        {QStringLiteral("Fecha"), estacion.fecha, 26, false},
        {QStringLiteral("Altura"), Numero(estacion.altura), 22, true},
        {QStringLiteral("X"), Numero(estacion.x), 34, true},
        {QStringLiteral("Y"), Numero(estacion.y), 34, true},
        {QStringLiteral("Z"), Numero(estacion.z), 26, true},
    }};
    const double escala = (ancho_ - Mm(1.2)) / Mm(kAnchoDiseno);
    double x = Mm(1.2);
    for (const CampoEstacion& campo : campos) {
        const double ancho = Mm(campo.milimetros) * escala;
        DibujarCampo(QRectF(x + Mm(2), arriba, ancho - Mm(4), altoCampo_), campo.etiqueta, campo.valor,
                     campo.numerico ? Qt::AlignRight : Qt::AlignLeft, true);
        x += ancho;
    }
    DibujarTitulosColumnas(arriba + altoCampo_ + Mm(0.6));
}

void MaquetaLibreta::DibujarTitulosColumnas(double y)
{
    pintor_->fillRect(QRectF(0, y, ancho_, altoTitulos_), kAzul);
    pintor_->setFont(fuenteTitulos_);
    pintor_->setPen(Qt::white);
    for (const Columna& columna : columnas_) {
        const QRectF zona(columna.x, y, columna.ancho, altoTitulos_);
        DibujarLinea(zona, static_cast<int>(columna.alineacion | Qt::AlignVCenter), columna.titulo, metricaTitulos_);
    }
}

void MaquetaLibreta::DibujarPunto(int indice, bool sombreada)
{
    const PuntoListado& punto = datos_.Punto(indice);
    const int lineas = lineas_[static_cast<size_t>(indice)];
    if (sombreada)
        pintor_->fillRect(QRectF(0, y_, ancho_, AltoPunto(indice)), kCebra);
    pintor_->setFont(fuenteCelda_);
    pintor_->setPen(kTexto);
    const double arriba = y_ + margenFila_;
    DibujarCeldaTexto(columnas_[esquema::kCodPunto], arriba, QString::number(punto.codigo), 1);
    DibujarCeldaTexto(columnas_[esquema::kResena], arriba, punto.resena, lineas);
    const std::array<double, 9> valores{punto.lecturaMedia,
                                        punto.lecturaSuperior,
                                        punto.lecturaInferior,
                                        punto.anguloHorizontal,
                                        punto.anguloVertical,
                                        punto.distancia,
                                        punto.x,
                                        punto.y,
                                        punto.z};
    for (size_t i = 0; i < valores.size(); ++i)
        DibujarCeldaNumero(columnas_[esquema::kLectMed + i], arriba, valores[i]);
    DibujarCeldaTexto(columnas_[esquema::kObserv], arriba, punto.notas, lineas);
}

void MaquetaLibreta::DibujarCeldaNumero(const Columna& columna, double y, double valor)
{
    const QString texto = Numero(valor);
    const QRectF zona(columna.x, y, columna.ancho, altoLinea_);
    // Digits share one width, so most numbers are known to fit without measuring them.
    const double ancho = AnchoNumero(texto);
    if (ancho <= zona.width()) {
        // The text is known to fit: a clip would only cost a clip path per cell in the PDF.
        DibujarLinea(zona, Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip, texto, metricaCelda_, ancho);
        return;
    }
    // A number wider than its column is narrowed rather than cut or run into the next one.
    pintor_->save();
    pintor_->translate(zona.right(), zona.top());
    pintor_->scale(zona.width() / ancho, 1);
    pintor_->drawText(QRectF(-ancho, 0, ancho, altoLinea_), Qt::AlignRight | Qt::AlignTop, texto);
    pintor_->restore();
}

void MaquetaLibreta::DibujarCeldaTexto(const Columna& columna, double y, const QString& texto, int lineas)
{
    if (texto.isEmpty())
        return;
    const int flags = static_cast<int>(columna.alineacion | Qt::AlignTop | Qt::TextDontClip);
    const QStringList partes = lineas > 1 ? LineasTexto(texto, columna.ancho) : QStringList{texto};
    if (partes.size() == 1) {
        DibujarLinea(QRectF(columna.x, y, columna.ancho, altoLinea_), flags, partes.front(), metricaCelda_);
        return;
    }
    for (int i = 0; i < partes.size(); ++i) {
        const QRectF zona(columna.x, y + i * altoLinea_, columna.ancho, altoLinea_);
        pintor_->drawText(zona, flags, partes[i]);
    }
}

void MaquetaLibreta::DibujarSinPuntos()
{
    const QRectF zona(Mm(kRelleno), y_ + margenFila_, ancho_ - 2 * Mm(kRelleno), altoLinea_);
    DibujarTexto(zona, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Estación sin puntos observados."), fuenteNota_,
                 metricaNota_, kGris);
}

void MaquetaLibreta::DibujarPieGrupo(const EstacionListado& estacion)
{
    pintor_->setPen(QPen(kLinea, Mm(0.25)));
    pintor_->drawLine(QPointF(0, y_), QPointF(ancho_, y_));
    const QRectF zona(0, y_ + Mm(0.6), ancho_ - Mm(kRelleno), altoPieGrupo_ - Mm(0.6));
    DibujarTexto(zona, Qt::AlignRight | Qt::AlignTop,
                 QStringLiteral("Estación ") + QString::number(estacion.codigo) + QStringLiteral(": ") +
                     Cantidad(estacion.numeroPuntos, QStringLiteral("punto"), QStringLiteral("puntos")),
                 fuenteNota_, metricaNota_, kGris);
}

void MaquetaLibreta::DibujarPieInforme()
{
    const double raya = y_ + Mm(3);
    pintor_->setPen(QPen(kAzul, Mm(0.5)));
    pintor_->drawLine(QPointF(0, raya), QPointF(ancho_, raya));
    const QRectF zona(0, raya + Mm(1.2), ancho_, altoValor_);
    const QString total = datos_.HayObra() ? QStringLiteral("Total de la obra: ") +
                                                 Cantidad(static_cast<int>(datos_.Estaciones().size()),
                                                          QStringLiteral("estación"), QStringLiteral("estaciones")) +
                                                 QStringLiteral("  ·  ") +
                                                 Cantidad(static_cast<int>(datos_.Puntos().size()),
                                                          QStringLiteral("punto"), QStringLiteral("puntos"))
                                           : QStringLiteral("No hay datos de esta obra.");
    DibujarTexto(zona, Qt::AlignLeft | Qt::AlignVCenter, total, fuenteValorNegrita_, metricaValorNegrita_, kAzul);
    DibujarTexto(zona, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Fin de la libreta de campo"), fuenteNota_,
                 metricaNota_, kGris);
}

} // namespace corvela
