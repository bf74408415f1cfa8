#include "fieldbook/frmPuntos.h"

#include "core/AjusteFormulario.h"
#include "core/AnchoColumnas.h"
#include "core/CamposEntrada.h"
#include "core/CursorEspera.h"
#include "core/Globales.h"
#include "core/Mensajes.h"
#include "core/TextoNumerico.h"
#include "core/Twips.h"
#include "fieldbook/ListaFilas.h"
#include "fieldbook/ModeloPuntos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <limits>
#include <utility>

namespace corvela {

namespace {

// The entry row in twips within its frame: coordinates hold a signed figure of
// five whole digits at three decimals, readings and angles four, each label its
// caption; the free notes give up the room.
struct CampoEntrada
{
    int izquierda;
    int ancho;
    int longitudMaxima;
    bool aLaDerecha;
    int etiqueta; // index of its label in Label3
    const char* titulo;
};

constexpr CampoEntrada kEntrada[frmPuntos::kCampos] = {
    {90, 450, 3, false, 0, "Punto"},     {555, 660, 6, false, 11, "Reseña"},   {1230, 735, 7, true, 1, "Media"},
    {1980, 735, 7, true, 2, "Superior"}, {2730, 735, 7, true, 3, "Inferior"},  {3480, 735, 7, true, 4, "Angulo H."},
    {4230, 735, 7, true, 5, "A. Vert."}, {4980, 705, 7, true, 6, "Distancia"}, {5700, 870, 7, true, 7, "X"},
    {6585, 870, 7, true, 8, "Y"},        {7470, 870, 7, true, 9, "Z"},         {8355, 525, 100, false, 10, "Notas"},
};
constexpr int kIzquierdaBotones = 8895;
constexpr int kAnchoBotones = 660;

// The header labels: left, top and width in twips within their frame. The work
// and the date stand against the right edge, where long texts stay readable.
constexpr int kCabecera[8][3] = {{4800, 180, 4700}, {90, 480, 2400},   {2520, 630, 1590}, {4140, 630, 1290},
                                 {5460, 630, 1230}, {6720, 630, 2780}, {6000, 420, 3500}, {90, 720, 2400}};
constexpr int kObra = 0;
constexpr int kFecha = 6;

constexpr int kCodigo = 0;
constexpr int kResena = 1;
constexpr int kMedia = 2;
constexpr int kSuperior = 3;
constexpr int kInferior = 4;
constexpr int kHorizontal = 5;
constexpr int kVertical = 6;
constexpr int kDistanciaCampo = 7;
constexpr int kX = 8;
constexpr int kY = 9;
constexpr int kZ = 10;
constexpr int kNotas = 11;

constexpr int kLimpiar = 0;
constexpr int kGrabar = 1;

bool EsNumeroDecimal(int indice)
{
    return indice >= kMedia && indice <= kZ;
}

bool EsLecturaOAngulo(int indice)
{
    return indice >= kMedia && indice <= kVertical;
}

bool EsResultado(int indice)
{
    return indice >= kDistanciaCampo && indice <= kZ;
}

bool SonCifras(const QString& texto)
{
    if (texto.isEmpty())
        return false;
    for (const QChar c : texto) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// A failing statement of the field book, worded as the record layer words its own.
void VerErrorPuntos()
{
    if (ErrorPendiente().Numero == kErrorClaveDuplicada) {
        LimpiarError();
        Dialogos().MsgBox(QStringLiteral("El registro que intenta añadir ya existe con ese mismo código."),
                          Icono::Pregunta, Botones::Aceptar);
        return;
    }
    InformarError();
}

// The text columns of the entry row, whose declared sizes the database does not enforce.
constexpr std::pair<int, esquema::ColumnaPunto> kColumnasTexto[] = {{kResena, esquema::kResena},
                                                                    {kNotas, esquema::kObserv}};

// The designed face where it exists, else the nearest in width, so that the
// captions fit the fields they were measured for.
QFont FuenteVentana(double puntos)
{
    QFont fuente;
    fuente.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                        QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                        QStringLiteral("Helvetica")});
    fuente.setPointSizeF(puntos);
    return fuente;
}

QLabel* NuevaEtiqueta(QWidget* padre, const QString& texto, const QRect& rect)
{
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setTextFormat(Qt::PlainText);
    etiqueta->setGeometry(rect);
    return etiqueta;
}

} // namespace

void frmPuntos::Corvela(const QString& DescripcionObra, const QString& DescripcionEstacion, double Altura, double X,
                        double Y, double Z, const QString& Fecha, int NObra, int NEstacion)
{
    frmPuntos* ventana = Instancia();
    const bool otraEstacion = ventana->NObra_ != NObra || ventana->NEstacion_ != NEstacion;
    ventana->NObra_ = NObra;
    ventana->NEstacion_ = NEstacion;
    ventana->estacion_ = DatosEstacion{Altura, X, Y, Z};
    ventana->EscribirCabecera(DescripcionObra, DescripcionEstacion, Fecha);
    if (!ventana->cargada_) {
        ventana->Cargar();
    } else if (otraEstacion) {
        // The list, the entry row and the kept codes must speak of one station.
        ventana->LimpiarPunto();
        ventana->CargarPuntos(std::nullopt);
    }
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

frmPuntos::frmPuntos()
{
    setObjectName(QStringLiteral("frmPuntos"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Puntos de Toma"));
    setFont(FuenteVentana(8));
    resize(Pixeles(9615), Pixeles(6465));

    CrearCabecera();

    modelo_ = new ModeloPuntos(this);
    ListView1_ = new ListaFilas(this);
    ListView1_->setObjectName(QStringLiteral("ListView1"));
    ColocarTwips(ListView1_, 0, 990, 9615, 4455);
    ListView1_->setModel(modelo_);
    ListView1_->installEventFilter(this);
    ListView1_->viewport()->installEventFilter(this);
    connect(ListView1_, &QTableView::clicked, this, [this] { PuntoAEditor(); });

    CrearEntrada();

    Command3_ = new QPushButton(QStringLiteral("Salir"), this);
    Command3_->setObjectName(QStringLiteral("Command3"));
    ColocarTwips(Command3_, 8040, 6210, 1485, 255);
    connect(Command3_, &QPushButton::clicked, this, &QWidget::close);

    CrearMenu();
    FijarOrdenTabulacion();
    FijarFuentes();
    CabecerasPuntos();
}

void frmPuntos::FijarFuentes()
{
    // Each control holds its own font, as the layout adjustment scales each one
    // once: a font inherited from a frame would be scaled with the frame and again.
    const QFont normal = FuenteVentana(8);
    for (QWidget* control : findChildren<QWidget*>()) {
        const bool propio = !control->objectName().isEmpty() && !control->objectName().startsWith(u"qt_");
        if (control != Label2_ && !control->isWindow() && propio)
            control->setFont(normal);
    }
}

void frmPuntos::CrearCabecera()
{
    Frame1_ = new QGroupBox(this);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    ColocarTwips(Frame1_, 5, -30, 9585, 945);

    Label2_ = NuevaEtiqueta(Frame1_, QStringLiteral("CORVELA GEODA"), RectTwips(915, 90, 3660, 360));
    Label2_->setObjectName(QStringLiteral("Label2"));
    QFont titulo = FuenteVentana(13.5);
    titulo.setBold(true);
    Label2_->setFont(titulo);

    for (int i = 0; i < static_cast<int>(Label1_.size()); ++i) {
        const QRect rect = RectTwips(kCabecera[i][0], kCabecera[i][1], kCabecera[i][2], 195);
        Label1_[i] = NuevaEtiqueta(Frame1_, QString(), rect);
        Label1_[i]->setObjectName(QStringLiteral("Label1"));
    }
    Label1_[kObra]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1_[kFecha]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void frmPuntos::CrearEntrada()
{
    Frame2_ = new QGroupBox(this);
    Frame2_->setObjectName(QStringLiteral("Frame2"));
    ColocarTwips(Frame2_, 0, 5400, 9615, 765);

    for (int i = 0; i < kCampos; ++i) {
        const CampoEntrada& c = kEntrada[i];
        const QRect rect = RectTwips(c.izquierda, 120, c.ancho, 240);
        Label3_[c.etiqueta] = NuevaEtiqueta(Frame2_, QString::fromUtf8(c.titulo), rect);
        Label3_[c.etiqueta]->setObjectName(QStringLiteral("Label3"));
    }
    for (int i = 0; i < kCampos; ++i) {
        const CampoEntrada& c = kEntrada[i];
        auto* campo = new QLineEdit(Frame2_);
        Text1_[i] = campo;
        campo->setObjectName(QStringLiteral("Text1"));
        ColocarTwips(campo, c.izquierda, 360, c.ancho, 285);
        campo->setAlignment((c.aLaDerecha ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        // The fields were measured for a box with almost no inner margin.
        campo->setTextMargins(-1, 0, -1, 0);
        campo->installEventFilter(this);
        // Pasted texts are not limited here: a save cuts them to their column and says so.
        new FiltroTeclas(
            campo, [this, i](int& codigoTecla, QWidget*) { return FiltrarTecla(i, codigoTecla); }, c.longitudMaxima,
            FiltroTeclas::Limite::SoloTecleo);
        if (EsNumeroDecimal(i))
            connect(campo, &QLineEdit::textChanged, this, [campo] { AjustarNumero(campo, SeparadorEntrada(), 3); });
        connect(campo, &QLineEdit::textChanged, this, [this, i] { AlCambiar(i); });
        if (EsResultado(i))
            connect(campo, &QLineEdit::textEdited, this, [this] { reduccionPendiente_ = false; });
    }

    Command1_[kGrabar] = new QPushButton(QStringLiteral("Grabar"), Frame2_);
    ColocarTwips(Command1_[kGrabar], kIzquierdaBotones, 150, kAnchoBotones, 255);
    Command1_[kLimpiar] = new QPushButton(QStringLiteral("Limpiar"), Frame2_);
    ColocarTwips(Command1_[kLimpiar], kIzquierdaBotones, 450, kAnchoBotones, 255);
    for (QPushButton* boton : Command1_)
        boton->setObjectName(QStringLiteral("Command1"));
    connect(Command1_[kGrabar], &QPushButton::clicked, this, [this] { Grabar(); });
    connect(Command1_[kLimpiar], &QPushButton::clicked, this, [this] { LimpiarPunto(); });
}

void frmPuntos::CrearMenu()
{
    Menu1_ = new QMenu(QStringLiteral("Menu1"), this);
    m1_[0] = Menu1_->addAction(QStringLiteral("&Insertar Linea"), this, [this] { InsertarPunto(); });
    m1_[1] = Menu1_->addAction(QStringLiteral("&Renumerar Lineas"), this, [this] { RenumerarPuntos(); });
    m1_[2] = Menu1_->addAction(QStringLiteral("&Borrar Linea"), this, [this] { ConfirmarBorrado(); });
    m1_[3] = Menu1_->addSeparator();
    m1_[4] = Menu1_->addAction(QStringLiteral("&Salir"));
}

void frmPuntos::FijarOrdenTabulacion()
{
    QWidget* anterior = Text1_[kResena];
    auto siguiente = [&anterior](QWidget* w) {
        QWidget::setTabOrder(anterior, w);
        anterior = w;
    };
    for (int i = kMedia; i <= kNotas; ++i)
        siguiente(Text1_[i]);
    siguiente(Command1_[kGrabar]);
    siguiente(Command1_[kLimpiar]);
    siguiente(Command3_);
    siguiente(ListView1_);
    siguiente(Text1_[kCodigo]);
}

// Coordinates of seven whole figures, as many as their fields take, and signed;
// readings, angles and distances of four; at the decimals in use: the widest
// numbers a survey's list should show whole.
QString frmPuntos::MuestraColumna(int columna) const
{
    if (columna == kCodigo)
        return QString(cifrasCodigo_, u'9');
    if (columna == kResena || columna == kNotas)
        return QString();
    return FormatearNumero(columna >= kX ? -9999999.0 : 9999.0);
}

void frmPuntos::CabecerasPuntos()
{
    QVector<ColumnaLista> columnas;
    for (int i = 0; i < ModeloPuntos::kColumnas; ++i)
        columnas.push_back({ModeloPuntos::AnchoColumna(i), MuestraColumna(i)});
    RepartirColumnas(ListView1_, columnas);
}

// A large station's codes have more figures than the designed column shows: it
// widens, so that no code shows cut and every row can be told apart.
void frmPuntos::AnchoParaCodigo(qint64 codigo)
{
    const int cifras = static_cast<int>(QString::number(codigo).size());
    if (cifras <= cifrasCodigo_)
        return;
    cifrasCodigo_ = cifras;
    CabecerasPuntos();
}

qint64 frmPuntos::CodigoMayor() const
{
    qint64 mayor = 0;
    for (int fila = 0; fila < modelo_->rowCount(); ++fila)
        mayor = std::max<qint64>(mayor, modelo_->PuntoEn(fila).Codigo);
    return mayor;
}

void frmPuntos::Cargar()
{
    cargada_ = true;
    // Scaled before the rows come: a list sized for another font would set the
    // height of every row again.
    Ajustar_Form(this);
    CabecerasPuntos();
    RecortarCabecera();
    CargarPuntos(std::nullopt);
    ListView1_->selectionModel()->clear();
    // Scaled to the screen it nearly fills it: its frame goes to the top left corner.
    if (const QScreen* pantalla = screen())
        move(pantalla->availableGeometry().topLeft());
    Text1_[kResena]->setFocus();
}

void frmPuntos::EscribirCabecera(const QString& descripcionObra, const QString& descripcionEstacion,
                                 const QString& fecha)
{
    Label1_[0]->setText(QStringLiteral("OBRA:") + descripcionObra);
    Label1_[1]->setText(QStringLiteral("Estación: ") + descripcionEstacion);
    Label1_[2]->setText(QStringLiteral("Altura = ") + TextoGeneral(estacion_.Altura));
    Label1_[3]->setText(QStringLiteral("X = ") + TextoGeneral(estacion_.X));
    Label1_[4]->setText(QStringLiteral("Y = ") + TextoGeneral(estacion_.Y));
    Label1_[5]->setText(QStringLiteral("Z = ") + TextoGeneral(estacion_.Z));
    Label1_[6]->setText(QStringLiteral("Fecha: ") + fecha);
    Label1_[7]->setText(QStringLiteral("Nº Obra:") + QString::number(NObra_) + QStringLiteral("  Estación:") +
                        QString::number(NEstacion_));
    for (QLabel* etiqueta : Label1_)
        etiqueta->setToolTip(etiqueta->text());
    RecortarCabecera();
}

// A description longer than its place ends in an ellipsis, never under the next
// label; the whole text is in the label's tooltip.
void frmPuntos::RecortarCabecera()
{
    for (QLabel* etiqueta : Label1_)
        etiqueta->setText(etiqueta->fontMetrics().elidedText(etiqueta->toolTip(), Qt::ElideRight, etiqueta->width()));
}

bool frmPuntos::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == ListView1_->viewport() &&
        (evento->type() == QEvent::MouseButtonPress || evento->type() == QEvent::MouseButtonRelease ||
         evento->type() == QEvent::MouseButtonDblClick)) {
        // The right button only selects and opens the menu; the list sees none of it.
        auto* raton = static_cast<QMouseEvent*>(evento);
        if (raton->button() != Qt::RightButton)
            return false;
        if (evento->type() == QEvent::MouseButtonPress)
            PulsarLista(raton->position().toPoint());
        return true;
    }
    if (objeto == ListView1_ && evento->type() == QEvent::KeyRelease) {
        PuntoAEditor();
        return false;
    }
    for (int i = 0; i < kCampos; ++i) {
        if (objeto != Text1_[i])
            continue;
        if (evento->type() == QEvent::FocusIn) {
            SeleccionarTexto(Text1_[i]);
        } else if (evento->type() == QEvent::FocusOut) {
            // Switching to another program or opening a menu does not leave the field.
            const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
            if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason)
                AlSalir(i);
        }
        break;
    }
    return QWidget::eventFilter(objeto, evento);
}

int frmPuntos::FilaSeleccionada() const
{
    const QModelIndexList filas = ListView1_->selectionModel()->selectedRows();
    return filas.isEmpty() ? -1 : filas.first().row();
}

void frmPuntos::SeleccionarFila(int fila)
{
    const QModelIndex indice = modelo_->index(fila, 0);
    ListView1_->selectionModel()->setCurrentIndex(indice,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView1_->scrollTo(indice);
}

void frmPuntos::LimpiarPunto()
{
    ListView1_->selectionModel()->clear();
    cargado_.reset();
    cargandoEditor_ = true;
    for (int i = 0; i < kCampos; ++i)
        EscribirCampo(i, QString());
    Text1_[kResena]->setFocus();
    cargandoEditor_ = false;
    reduccionPendiente_ = false;
}

void frmPuntos::PuntoAEditor()
{
    const int fila = FilaSeleccionada();
    if (fila < 0)
        return;
    const Punto p = modelo_->PuntoEn(fila);
    cargado_ = p;
    cargandoEditor_ = true;
    EscribirCampo(kCodigo, QString::number(p.Codigo));
    EscribirCampo(kResena, p.Resena);
    for (int i = kMedia; i <= kZ; ++i) {
        const double valor = p.Numeros[i - kMedia];
        EscribirValor(i, valor, PatronEntrada(valor, FormatoDecimales));
    }
    EscribirCampo(kNotas, p.Notas);
    Text1_[kResena]->setFocus();
    cargandoEditor_ = false;
    reduccionPendiente_ = false;
}

void frmPuntos::MenuPunto(const QPoint& posicion)
{
    if (FilaSeleccionada() >= 0)
        Menu1_->popup(posicion);
}

void frmPuntos::PulsarLista(const QPoint& posicion)
{
    ListView1_->setFocus(Qt::MouseFocusReason);
    const QModelIndex indice = ListView1_->indexAt(posicion);
    if (indice.isValid())
        SeleccionarFila(indice.row());
    else
        ListView1_->selectionModel()->clear();
    MenuPunto(ListView1_->viewport()->mapToGlobal(posicion));
}

void frmPuntos::ConfirmarBorrado()
{
    const int fila = FilaSeleccionada();
    if (fila < 0)
        return;
    const QString codigo = QString::number(modelo_->PuntoEn(fila).Codigo);
    if (Dialogos().MsgBox(QStringLiteral("¿Eliminar el PUNTO ") + codigo + QStringLiteral("?"), Icono::Pregunta,
                          Botones::SiNo) == Respuesta::Si)
        BorrarPunto();
}

void frmPuntos::AlCambiar(int indice)
{
    if (!cargandoEditor_ && EsLecturaOAngulo(indice))
        reduccionPendiente_ = true;
}

void frmPuntos::AlSalir(int indice)
{
    if (cargandoEditor_ || !isVisible())
        return;
    if (indice == kInferior)
        CompletarMedia();
    else if (indice == kVertical)
        Reducir();
}

int frmPuntos::FiltrarTecla(int indice, int& codigoTecla)
{
    if (indice == kCodigo)
        return TeclaNumerica(codigoTecla, QString()); // whole numbers only
    if (indice != kResena && indice != kNotas)
        return TeclaNumerica(codigoTecla, SeparadorEntrada());
    return codigoTecla;
}

Lectura frmPuntos::LecturaDe(int indice) const
{
    const QString texto = Text1_[indice]->text();
    const std::optional<QVariant> guardado = mostrados_[indice].Guardado(texto);
    return Lectura{texto, guardado ? guardado->toDouble() : ValorNumerico(texto), guardado.has_value()};
}

double frmPuntos::ValorDe(int indice) const
{
    return LecturaDe(indice).Valor;
}

// A text the program writes is read from its start, as a surveyor reads a
// number, also where it is longer than its field.
void frmPuntos::EscribirCampo(int indice, const QString& texto)
{
    mostrados_[indice].Olvidar();
    Text1_[indice]->setText(texto);
    Text1_[indice]->setCursorPosition(0);
}

void frmPuntos::EscribirValor(int indice, double valor, const QString& texto)
{
    Text1_[indice]->setText(texto);
    Text1_[indice]->setCursorPosition(0);
    mostrados_[indice].Mostrar(valor, Text1_[indice]->text());
}

void frmPuntos::EscribirMedia(const Lectura& antes, const Lectura& despues)
{
    if (despues.Texto == antes.Texto && despues.Guardada == antes.Guardada)
        return;
    EscribirCampo(kMedia, despues.Texto);
    reduccionPendiente_ = true;
}

bool frmPuntos::ComprobarLecturas()
{
    const Lectura antes = LecturaDe(kMedia);
    Lectura media = antes;
    bool ok = false;
    MediaLectura(media, LecturaDe(kSuperior), LecturaDe(kInferior), ok);
    EscribirMedia(antes, media);
    return ok;
}

void frmPuntos::CompletarMedia()
{
    const Lectura antes = LecturaDe(kMedia);
    Lectura media = antes;
    CompletarLecturaMedia(media, LecturaDe(kSuperior), LecturaDe(kInferior));
    EscribirMedia(antes, media);
}

void frmPuntos::Reducir()
{
    const ResultadoReduccion r = ReducirObservacion(ValorDe(kMedia), ValorDe(kSuperior), ValorDe(kInferior),
                                                    ValorDe(kHorizontal), ValorDe(kVertical), estacion_);
    EscribirValor(kDistanciaCampo, ValorNumerico(r.Distancia), r.Distancia);
    EscribirValor(kX, r.X, TextoEntrada(r.X));
    EscribirValor(kY, r.Y, TextoEntrada(r.Y));
    EscribirValor(kZ, r.Z, TextoEntrada(r.Z));
    reduccionPendiente_ = false;
}

void frmPuntos::Grabar()
{
    if (!ComprobarLecturas())
        return;
    // Coordinates never disagree with the readings saved beside them.
    if (reduccionPendiente_)
        Reducir();
    GrabarPunto();
}

void frmPuntos::CargarPuntos(std::optional<int> codigo)
{
    auto puntos = [this] {
        CursorEspera espera;
        return Datos().Leer();
    }();
    if (!puntos) {
        modelo_->Cargar({});
        VerErrorPuntos();
        return;
    }
    modelo_->Cargar(std::move(*puntos));
    AnchoParaCodigo(CodigoMayor());
    if (!codigo)
        return;
    const int fila = modelo_->FilaDeCodigo(*codigo);
    if (fila < 0)
        return;
    SeleccionarFila(fila);
    PuntoAEditor();
}

// Reports the pending error. When another instance changed the station, the list
// shows the table again with no point selected, and the entry row keeps what the
// user typed, so that nothing typed is lost and no other point is written over.
void frmPuntos::InformarFallo()
{
    const bool cambiada = ErrorPendiente().Numero == kErrorRegistroCambiado;
    VerErrorPuntos();
    if (!cambiada)
        return;
    cargado_.reset();
    CargarPuntos(std::nullopt);
}

// The code typed in the entry row; 0 when the field is empty, for the station's
// next code. Nothing, after telling the user, when it is no whole number above 0.
std::optional<int> frmPuntos::CodigoDelEditor()
{
    const QString texto = Text1_[kCodigo]->text();
    if (texto.isEmpty())
        return 0;
    bool esNumero = false;
    const qlonglong codigo = texto.toLongLong(&esNumero);
    if (!SonCifras(texto) || !esNumero || codigo < 1 || codigo > std::numeric_limits<int>::max()) {
        Dialogos().MsgBox(QStringLiteral("El número de PUNTO ha de ser un número entero mayor que cero."),
                          Icono::Informacion, Botones::Aceptar);
        Text1_[kCodigo]->setFocus();
        return std::nullopt;
    }
    return static_cast<int>(codigo);
}

Punto frmPuntos::PuntoDelEditor(int codigo) const
{
    Punto p;
    p.Codigo = codigo;
    p.Resena = Text1_[kResena]->text();
    for (int i = kMedia; i <= kZ; ++i)
        p.Numeros[i - kMedia] = ValorDe(i);
    p.Notas = Text1_[kNotas]->text();
    return p;
}

// A pasted text can be longer than its column, which the database would keep
// whole: it is cut to the column's size, and the user told.
void frmPuntos::RecortarTextos()
{
    QStringList avisos;
    for (const auto& [indice, columna] : kColumnasTexto) {
        const int maximo = LongitudColumna(esquema::NombrePunto(columna));
        QString texto = Text1_[indice]->text();
        if (maximo <= 0 || texto.size() <= maximo)
            continue;
        texto.truncate(maximo);
        if (texto.back().isHighSurrogate())
            texto.chop(1);
        EscribirCampo(indice, texto);
        avisos << QStringLiteral("El texto de ") + QString::fromUtf8(kEntrada[indice].titulo) +
                      QStringLiteral(" pasa de los ") + QString::number(maximo) +
                      QStringLiteral(" caracteres que admite la base de datos: se ha recortado.");
    }
    if (!avisos.isEmpty())
        Dialogos().MsgBox(avisos.join(QStringLiteral("\r\n")), Icono::Informacion, Botones::Aceptar);
}

// The point with this code as the user saw it: loaded into the entry row, or else in the list.
std::optional<Punto> frmPuntos::PuntoCargado(int codigo) const
{
    if (cargado_ && cargado_->Codigo == codigo)
        return cargado_;
    const int fila = modelo_->FilaDeCodigo(codigo);
    if (fila < 0)
        return std::nullopt;
    return modelo_->PuntoEn(fila);
}

void frmPuntos::GrabarPunto()
{
    std::optional<int> codigo = CodigoDelEditor();
    if (!codigo)
        return;
    RecortarTextos();
    const int fila = FilaSeleccionada();
    if (fila < 0) {
        InsertarNuevo(PuntoDelEditor(*codigo), *codigo != 0);
        return;
    }
    if (*codigo == 0) {
        codigo = Datos().SiguienteCodigo();
        if (!codigo) {
            VerErrorPuntos();
            return;
        }
        EscribirCampo(kCodigo, QString::number(*codigo));
    }

    const bool copia = modelo_->PuntoEn(fila).Codigo != *codigo;
    if (copia && Dialogos().MsgBox(QStringLiteral("Va a copiar el contenido de la linea ") +
                                       QString::number(modelo_->PuntoEn(fila).Codigo) + QStringLiteral(" a la linea ") +
                                       Text1_[kCodigo]->text() + SaltoDoble + QStringLiteral("¿Está Vd. Seguro?"),
                                   Icono::Informacion, Botones::SiNo) != Respuesta::Si)
        return;
    const std::optional<Punto> cargado = PuntoCargado(*codigo);
    if (!cargado) {
        // Nothing was written: what the user typed stays in the entry row.
        Dialogos().MsgBox(QStringLiteral("No existe el PUNTO ") + QString::number(*codigo) +
                              QStringLiteral(" en esta estación. No se ha grabado nada."),
                          Icono::Exclamacion, Botones::Aceptar);
        return;
    }
    const Punto punto = PuntoDelEditor(*codigo);
    if (!Datos().Actualizar(punto, *cargado)) {
        InformarFallo();
        return;
    }
    if (copia) {
        LimpiarPunto();
        CargarPuntos(std::nullopt);
        return;
    }
    modelo_->Reemplazar(fila, punto);
    LimpiarPunto();
}

// The row joins the list only once the point is in the table. After a failure the
// entry row is ready for another try: an empty code is taken afresh then, and a
// typed code that is already in use is selected for the user to type another.
void frmPuntos::InsertarNuevo(Punto punto, bool codigoTecleado)
{
    const bool hecho = codigoTecleado ? Datos().Insertar(punto) : Datos().InsertarSiguiente(punto);
    if (!hecho) {
        const bool repetido = ErrorPendiente().Numero == kErrorClaveDuplicada;
        InformarFallo();
        if (repetido && codigoTecleado) {
            Text1_[kCodigo]->setFocus();
            Text1_[kCodigo]->selectAll();
        }
        return;
    }
    modelo_->Anadir(punto);
    AnchoParaCodigo(punto.Codigo);
    LimpiarPunto();
}

void frmPuntos::BorrarPunto()
{
    const int fila = FilaSeleccionada();
    if (fila < 0)
        return;
    if (!Datos().Borrar(modelo_->PuntoEn(fila))) {
        InformarFallo();
        return;
    }
    modelo_->Quitar(fila);
    LimpiarPunto();
}

// The list follows the new codes in place; it is read again only when it no
// longer held what the station held.
void frmPuntos::RenumerarPuntos()
{
    std::optional<QVector<qint64>> antes;
    {
        CursorEspera espera;
        antes = Datos().Renumerar();
        if (antes) {
            LimpiarPunto();
            if (!modelo_->Renumerar(*antes))
                CargarPuntos(std::nullopt);
        }
    }
    if (!antes)
        InformarFallo();
}

void frmPuntos::InsertarPunto()
{
    const int fila = FilaSeleccionada();
    if (fila < 0)
        return;
    const Punto seleccionado = modelo_->PuntoEn(fila);
    std::optional<QVector<qint64>> antes;
    {
        CursorEspera espera;
        antes = Datos().AbrirLinea(seleccionado);
        if (antes) {
            LimpiarPunto();
            if (modelo_->AbrirLinea(fila, *antes)) {
                AnchoParaCodigo(CodigoMayor());
                SeleccionarFila(fila);
                PuntoAEditor();
            } else {
                CargarPuntos(seleccionado.Codigo);
            }
        }
    }
    if (!antes)
        InformarFallo();
}

} // namespace corvela
