#include "works/frmFicha.h"

#include "cad/ExportacionCad.h"
#include "controls/BarraFiles.h"
#include "controls/EnlaceControles.h"
#include "controls/Moverse.h"
#include "core/AnchoColumnas.h"
#include "core/BotonMultilinea.h"
#include "core/CamposEntrada.h"
#include "core/Globales.h"
#include "core/Mensajes.h"
#include "core/Parametros.h"
#include "core/TextoNumerico.h"
#include "core/Twips.h"
#include "core/frmArranque.h"
#include "fieldbook/frmPuntos.h"
#include "informe/ImpresionObra.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"
#include "works/IntercambioObra.h"
#include "works/ModeloEstaciones.h"

#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <cmath>

namespace corvela {

namespace {

QPointer<frmFicha> instancia;

using esquema::kCamposObra;

// Where each works field stands on the card.
struct PosicionCampo
{
    int fila;
    int columnaPantalla; // 0 left, 1 right-hand column
};

// In txtFields index order, the order of the works fields; the tab order runs by row and column on screen.
const std::array<PosicionCampo, kCamposObra.size()> kPosicionesObra{{
    {0, 0},
    {2, 0},
    {3, 0},
    {4, 0},
    {5, 1},
    {5, 0},
    {6, 0},
    {7, 0},
    {6, 1},
    {7, 1},
    {1, 0},
}};
const std::array<int, kCamposObra.size()> kOrdenTabulador{0, 10, 1, 2, 3, 5, 4, 6, 8, 7, 9};

struct CampoEstacion
{
    const char* etiqueta;
    int izquierda;
    int ancho;
    int longitud;
    Qt::Alignment alineacion;
};

const std::array<CampoEstacion, 6> kCamposEstacion{{
    {"Desc. Estación", 100, 2300, 100, Qt::AlignLeft},
    {"Fecha", 2460, 1000, 10, Qt::AlignLeft},
    {"Altura", 3520, 900, 8, Qt::AlignRight},
    {"X", 4480, 1020, 7, Qt::AlignRight},
    {"Y", 5560, 1020, 7, Qt::AlignRight},
    {"Z", 6640, 1020, 7, Qt::AlignRight},
}};
constexpr int kPrimerNumero = 2;

int CodigoEntero(const QString& texto)
{
    return static_cast<int>(std::lround(ValorNumerico(QStringLiteral("0") + texto)));
}

// The toolbar disables the works fields while a record is shown: they read as
// plain text on the read-only background, not in the pale grey of a control
// that does not apply.
void MostrarComoLectura(QLineEdit* campo)
{
    QPalette paleta = campo->palette();
    paleta.setColor(QPalette::Disabled, QPalette::Text, paleta.color(QPalette::Active, QPalette::Text));
    campo->setPalette(paleta);
}

QGroupBox* Marco(const QString& nombre, const QString& titulo, QWidget* padre)
{
    auto* marco = new QGroupBox(titulo, padre);
    marco->setObjectName(nombre);
    return marco;
}

} // namespace

frmFicha* frmFicha::Instancia()
{
    if (!instancia) {
        instancia = new frmFicha();
        instancia->Cargar();
    }
    return instancia;
}

void frmFicha::Mostrar()
{
    frmFicha* ficha = Instancia();
    ficha->show();
    ficha->raise();
    ficha->activateWindow();
}

frmFicha::frmFicha() : BarraFiles1(new BarraFiles(this)), Moverse1(new Moverse(this))
{
    setObjectName(QStringLiteral("frmFicha"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Ficha de Clientes"));
    QFont fuente = font();
    fuente.setPointSize(8); // the size the twips layout was designed for
    setFont(fuente);
    resize(RectTwips(0, 0, 8955, 6570).size());
    BarraFiles1->setObjectName(QStringLiteral("BarraFiles1"));
    ColocarTwips(BarraFiles1, 30, 0, 5745, 555);
    Moverse1->setObjectName(QStringLiteral("Moverse1"));
    ColocarTwips(Moverse1, 5880, 0, 3075, 405);
    CrearCamposObra();
    auto* configuracion = Marco(QStringLiteral("Frame3"), QString(), this);
    ColocarTwips(configuracion, 6960, 600, 1965, 2865);
    CrearConfiguracion(configuracion);
    CrearEstaciones();
    lblBaseDatos = new QLabel(this);
    lblBaseDatos->setObjectName(QStringLiteral("lblBaseDatos"));
    ColocarTwips(lblBaseDatos, 60, 6290, 8835, 240);
    OrdenarTabulador();
    HabilitarEstaciones(false); // the editor opens only with "Abrir"
    connect(Moverse1, &Moverse::SeDesplazo, this, &frmFicha::CargarEstaciones);
}

void frmFicha::CrearCamposObra()
{
    auto* marco = Marco(QStringLiteral("Frame1"), QStringLiteral("Código OBRA"), this);
    ColocarTwips(marco, 60, 600, 6855, 2865);
    for (int i = 0; i < static_cast<int>(kCamposObra.size()); ++i) {
        const PosicionCampo& c = kPosicionesObra[i];
        const int arriba = 280 + c.fila * 320;
        const int izquierdaEtiqueta = c.columnaPantalla == 0 ? 100 : 3000;
        const int izquierdaCampo = c.columnaPantalla == 0 ? 1560 : 4420;
        const bool dosColumnas = c.fila >= 5;
        const int ancho = i == 0 ? 900 : (c.columnaPantalla == 1 ? 2290 : (dosColumnas ? 1300 : 5150));
        auto* etiqueta = new QLabel(QString::fromUtf8(kCamposObra[i].etiqueta), marco);
        etiqueta->setObjectName(QStringLiteral("Label1"));
        ColocarTwips(etiqueta, izquierdaEtiqueta, arriba + 30, izquierdaCampo - izquierdaEtiqueta - 20, 255);
        txtFields[i] = new QLineEdit(marco);
        txtFields[i]->setObjectName(QStringLiteral("txtFields"));
        ColocarTwips(txtFields[i], izquierdaCampo, arriba, ancho, 285);
        QLineEdit* campo = txtFields[i];
        MostrarComoLectura(campo);
        new FiltroTeclas(campo, TeclaEdicion);
        new FiltroFoco(
            campo, [campo] { SeleccionarTexto(campo); }, nullptr);
    }
    txtFields[0]->setText(QStringLiteral("0"));
}

void frmFicha::CrearConfiguracion(QGroupBox* marco)
{
    auto* etiqueta = new QLabel(QStringLiteral("Nº Decimales"), marco);
    etiqueta->setObjectName(QStringLiteral("Label3"));
    ColocarTwips(etiqueta, 120, 230, 1100, 255);
    Text2 = new QLineEdit(QStringLiteral("3"), marco);
    Text2->setObjectName(QStringLiteral("Text2"));
    LimitarTecleo(Text2, 1);
    // Each change of this field rewrites a setting: the focus reaches it only by a
    // click, never by moving on from a field that a search or a save locks.
    Text2->setFocusPolicy(Qt::ClickFocus);
    Text2->setAlignment(Qt::AlignRight);
    ColocarTwips(Text2, 1300, 200, 500, 285);
    const std::array<const char*, 4> titulos{"&Salir", "&Ruta Instalación AUTOCAD (exe)",
                                             "&Ruta Destino Archivo AUTOCAD", "&Generar en AUTOCAD"};
    const std::array<int, 4> arribas{2350, 600, 1230, 1860};
    const std::array<int, 4> altos{400, 560, 560, 420};
    for (int i = 0; i < 4; ++i) {
        Command1[i] = new BotonMultilinea(QString::fromUtf8(titulos[i]), marco);
        Command1[i]->setObjectName(QStringLiteral("Command1"));
        ColocarTwips(Command1[i], 120, arribas[i], 1725, altos[i]);
    }
    connect(Command1[0], &QPushButton::clicked, this, &QWidget::close);
    connect(Command1[1], &QPushButton::clicked, this, [this] {
        if (ElegirProgramaCad())
            MostrarRutas(Command1[1], Command1[2]);
    });
    connect(Command1[2], &QPushButton::clicked, this, [this] {
        if (ElegirDestinoCad())
            MostrarRutas(Command1[1], Command1[2]);
    });
    connect(Command1[3], &QPushButton::clicked, this, [this] { GenerarAutoCad(txtFields[0]->text()); });
}

void frmFicha::CrearEstaciones()
{
    auto* marco = Marco(QStringLiteral("Frame4"), QStringLiteral("Estaciones"), this);
    ColocarTwips(marco, 60, 3630, 8835, 2625);
    ListView1 = new QTreeView(marco);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ColocarTwips(ListView1, 120, 250, 8595, 1130);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    modelo_ = new ModeloEstaciones(this);
    ListView1->setModel(modelo_);
    connect(ListView1, &QTreeView::clicked, this, &frmFicha::EstacionAEditor);
    connect(ListView1, &QTreeView::customContextMenuRequested, this, &frmFicha::MenuEstacion);

    Menu2 = new QMenu(QStringLiteral("&Menu2"), this);
    Menu2->setObjectName(QStringLiteral("Menu2"));
    m2[0] = Menu2->addAction(QStringLiteral("&Ver Puntos"), this, &frmFicha::VerPuntos);
    m2[1] = Menu2->addAction(QStringLiteral("&Borrar Estacion"), this, &frmFicha::BorrarEstacionElegida);
    Menu2->addSeparator();
    m3[0] = Menu2->addAction(QStringLiteral("&Importar Lecturas..."), this, &frmFicha::ImportarLecturasElegida);
    m3[1] = Menu2->addAction(QStringLiteral("Exportar &DXF de la Obra..."), this,
                             [this] { ExportarDxfObra(ObraElegida()); });
    m3[2] = Menu2->addAction(QStringLiteral("Exportar &CSV de Puntos..."), this,
                             [this] { ExportarCsvObra(ObraElegida(), false); });
    m3[3] = Menu2->addAction(QStringLiteral("Exportar CSV de la &Libreta..."), this,
                             [this] { ExportarCsvObra(ObraElegida(), true); });
    m2[2] = Menu2->addSeparator();
    m2[3] = Menu2->addAction(QStringLiteral("&Salir"));

    auto* editor = Marco(QStringLiteral("Frame2"), QString(), marco);
    ColocarTwips(editor, 120, 1420, 8595, 1130);
    CrearEditor(editor);
}

void frmFicha::CrearEditor(QGroupBox* marco)
{
    for (int i = 0; i < static_cast<int>(kCamposEstacion.size()); ++i) {
        const CampoEstacion& c = kCamposEstacion[i];
        auto* etiqueta = new QLabel(QString::fromUtf8(c.etiqueta), marco);
        etiqueta->setObjectName(QStringLiteral("Label2"));
        ColocarTwips(etiqueta, c.izquierda, 100, c.ancho, 240);
        QLineEdit* campo = Text1[i] = new QLineEdit(marco);
        campo->setObjectName(QStringLiteral("Text1"));
        campo->setAlignment(c.alineacion | Qt::AlignVCenter);
        ColocarTwips(campo, c.izquierda, 360, c.ancho, 285);
        new FiltroFoco(
            campo, [campo] { SeleccionarTexto(campo); }, nullptr);
        if (i >= kPrimerNumero) {
            new FiltroTeclas(
                campo, [](int& codigo, QWidget*) { return TeclaNumerica(codigo, QStringLiteral(",")); }, c.longitud);
            connect(campo, &QLineEdit::textChanged, campo, [campo] { AjustarNumero(campo, QStringLiteral(","), 3); });
        } else {
            LimitarTecleo(campo, c.longitud);
        }
    }
    // The code of the station in the editor: shown, never typed.
    Text1[6] = new QLineEdit(marco);
    Text1[6]->setObjectName(QStringLiteral("Text1"));
    Text1[6]->setReadOnly(true);
    Text1[6]->setToolTip(QStringLiteral("Código de la estación"));
    ColocarTwips(Text1[6], 7720, 360, 680, 285);
    const std::array<const char*, 2> titulos{"Limpiar", "Grabar"};
    for (int i = 0; i < 2; ++i) {
        Command2[i] = new QPushButton(QString::fromUtf8(titulos[i]), marco);
        Command2[i]->setObjectName(QStringLiteral("Command2"));
        ColocarTwips(Command2[i], 5590 + i * 1010, 720, 950, 330);
    }
    connect(Command2[0], &QPushButton::clicked, this, &frmFicha::LimpiarEstacion);
    connect(Command2[1], &QPushButton::clicked, this, &frmFicha::GrabarEstacion);
}

// The works fields, then the stations list and its editor, the configuration
// last: the focus that leaves a locked works field lands on the list.
void frmFicha::OrdenarTabulador()
{
    QVector<QWidget*> orden;
    for (int i : kOrdenTabulador)
        orden << txtFields[i];
    orden << ListView1;
    for (int i = 0; i < 6; ++i)
        orden << Text1[i];
    orden << Command2[1] << Command2[0] << Text1[6] << Text2;
    for (QPushButton* boton : Command1)
        orden << boton;
    for (int i = 1; i < orden.size(); ++i)
        setTabOrder(orden[i - 1], orden[i]);
}

void frmFicha::Cargar()
{
    SoloDigitos(Text2);
    CabecerasEstaciones();
    EnlazarControles(*this, *BarraFiles1, *Moverse1, GesTablas, txtFields[10]);
    MostrarRutas(Command1[1], Command1[2]);
    // The decimals in effect (3 when unset), shown without rewriting the setting.
    CargarDecimales();
    Text2->setText(QString::number(NumDecimales));
    // Everybody on a shared server sees the same works: the card says which server.
    const bool servidor = MotorActual() == Motor::PostgreSql;
    lblBaseDatos->setText(servidor ? QStringLiteral("Base de datos: ") + DescripcionBaseDatos() : QString());
    lblBaseDatos->setHidden(!servidor);
    connect(Text2, &QLineEdit::textChanged, this, &frmFicha::Text2_Change);
    GesTablas.Ajustar_Form(this);
    CabecerasEstaciones();
    if (const QScreen* pantalla = screen())
        move(pantalla->availableGeometry().center() - rect().center());
}

// Codes of four figures, a full date, heights of three whole figures and signed
// coordinates of five, at the decimals in use.
QString frmFicha::MuestraColumna(int columna)
{
    switch (columna) {
    case ModeloEstaciones::CObra:
    case ModeloEstaciones::CEstc:
        return QStringLiteral("9999");
    case ModeloEstaciones::Descripcion:
        return QString();
    case ModeloEstaciones::Fecha:
        return QStringLiteral("00/00/0000");
    case ModeloEstaciones::Altura:
        return FormatearNumero(999.0);
    default:
        return FormatearNumero(-9999999.0);
    }
}

void frmFicha::CabecerasEstaciones()
{
    QVector<ColumnaLista> columnas;
    for (int i = 0; i < ModeloEstaciones::NumeroColumnas; ++i)
        columnas.push_back({ModeloEstaciones::AnchoTwips(i), MuestraColumna(i)});
    RepartirColumnas(ListView1, columnas);
}

QVector<CampoEnlazado> frmFicha::CamposEnlazados() const
{
    QVector<CampoEnlazado> campos;
    for (int i = 0; i < static_cast<int>(kCamposObra.size()); ++i)
        campos.push_back({esquema::Nombre(kCamposObra[i].columna), txtFields[i]});
    return campos;
}

// Judged on the stations stored now, which the list then shows: another user may
// have added one since. One added after this is refused by the database itself.
bool frmFicha::SePuedeBorrar()
{
    CargarEstaciones();
    if (modelo_->Filas() == 0)
        return true;
    Dialogos().MsgBox(QStringLiteral("Elimine todas las estaciones Antes de Elimintar la OBRA"), Icono::Informacion);
    return false;
}

void frmFicha::BarraFilesEvento(EventoBarra& CodigoEvento)
{
    BarraFiles1->bfEventoOk = true;
    switch (CodigoEvento) {
    case EventoBarra::NuevaEntrada:
        codigoFijado_ = false;
        HabilitarEstaciones(false);
        break;
    case EventoBarra::Abrir:
        HabilitarEstaciones(true);
        HabilitarCodigo(false);
        break;
    case EventoBarra::AntesDeGuardar:
        HabilitarCodigo(false);
        break;
    case EventoBarra::Buscado:
        CargarEstaciones();
        HabilitarCodigo(false);
        break;
    case EventoBarra::Imprimir:
        ImprimirObra(txtFields[0]->text());
        break;
    case EventoBarra::PantallaLimpia:
        GesTablas.RS.reset();
        codigoFijado_ = false;
        HabilitarEstaciones(false);
        break;
    case EventoBarra::Retroceder:
        close();
        break;
    case EventoBarra::RegistrosCambiados:
        MostrarResultado(GesTablas, *Moverse1);
        break;
    case EventoBarra::Guardado:
        ConfirmarCambiosGuardados();
        break;
    }
}

void frmFicha::ConfirmarCambiosGuardados()
{
    // Only a changed work that was saved leaves the toolbar showing the record with "Abrir"
    // on; a new one has cleared the card after its own message, a failed save left it editing.
    constexpr int kBotonAbrir = 1;
    if (BarraFiles1->EstBoton(kBotonAbrir))
        Dialogos().MsgBox(QStringLiteral("El Registro ha sido modificado"), Icono::Informacion, Botones::Aceptar);
}

void frmFicha::LimpiaPantalla()
{
    codigoFijado_ = false;
}

void frmFicha::HabilitarEstaciones(bool habilitar)
{
    Command2[0]->setEnabled(habilitar);
    Command2[1]->setEnabled(habilitar);
    for (QLineEdit* campo : Text1)
        campo->setEnabled(habilitar);
    Text1[0]->parentWidget()->setEnabled(habilitar);
    if (!habilitar)
        modelo_->Vaciar();
    LimpiarEstacion();
}

void frmFicha::HabilitarCodigo(bool habilitar)
{
    codigoFijado_ = !habilitar;
    txtFields[0]->setEnabled(habilitar);
}

void frmFicha::CargarEstaciones()
{
    auto estaciones = LeerEstaciones(CodigoEntero(txtFields[0]->text()));
    if (!estaciones) {
        GesTablas.VerPosibleError();
        modelo_->Vaciar();
        return;
    }
    modelo_->Cargar(*estaciones);
}

std::optional<int> frmFicha::FilaElegida() const
{
    const QModelIndexList filas = ListView1->selectionModel()->selectedRows();
    if (filas.isEmpty())
        return std::nullopt;
    return filas.first().row();
}

void frmFicha::ValorAlEditor(int campo, const QVariant& valor)
{
    const int i = campo - kPrimerNumero;
    Text1[campo]->setText(FormatearNumero(valor));
    numerosEditor_[i].Mostrar(valor, Text1[campo]->text());
}

void frmFicha::EstacionAEditor()
{
    const auto fila = FilaElegida();
    if (!fila)
        return;
    const Estacion& e = modelo_->EstacionEn(*fila);
    Text1[0]->setText(e.Descripcion);
    Text1[1]->setText(e.Fecha);
    for (int i = 0; i < 4; ++i)
        ValorAlEditor(kPrimerNumero + i, e.Valores[i]);
    Text1[6]->setText(QString::number(e.CodEst));
    estacionEnEditor_ = e;
}

std::optional<Estacion> frmFicha::EstacionDelEditor() const
{
    Estacion e;
    e.CodObra = CodigoEntero(txtFields[0]->text());
    e.Descripcion = Text1[0]->text();
    e.Fecha = Text1[1]->text();
    for (int i = 0; i < 4; ++i) {
        const QString texto = Text1[kPrimerNumero + i]->text();
        if (const std::optional<QVariant> guardado = numerosEditor_[i].Guardado(texto))
            e.Valores[i] = *guardado;
        else if (texto.trimmed().isEmpty())
            e.Valores[i] = QVariant(QMetaType(QMetaType::Double));
        else
            e.Valores[i] = ValorNumerico(texto);
    }
    return e;
}

void frmFicha::GrabarEstacion()
{
    if (Text1[0]->text().isEmpty()) {
        Dialogos().MsgBox(QStringLiteral("Descripta el Texto de la estación"), Icono::Informacion);
        Text1[0]->setFocus();
        return;
    }
    auto estacion = EstacionDelEditor();
    if (estacion->CodObra == 0) {
        Dialogos().MsgBox(QStringLiteral("Guarde o busque primero la obra a la que pertenece la estación."),
                          Icono::Exclamacion);
        return;
    }
    // Only the station a click loaded into the editor is ever rewritten: a row
    // selected otherwise (the pop-up menu's right click, the keyboard) never
    // turns a save into an update.
    const bool actualizar = estacionEnEditor_ && estacionEnEditor_->CodObra == estacion->CodObra;
    bool hecho = false;
    if (actualizar) {
        estacion->CodEst = estacionEnEditor_->CodEst;
        hecho = ActualizarEstacion(*estacion, *estacionEnEditor_);
    } else {
        hecho = InsertarEstacion(*estacion);
        if (hecho)
            Text1[6]->setText(QString::number(estacion->CodEst));
    }
    if (!hecho)
        GesTablas.VerPosibleError();
    CargarEstaciones();
    if (hecho) {
        ListView1->clearSelection();
        LimpiarEstacion();
    } else if (actualizar) {
        // Still the station being edited, so that "Grabar" again retries the update;
        // the user has now seen what is stored, so a retry compares with that.
        const Estacion ahora = EstacionListada(*estacion);
        TomarLoNoCambiado(*estacion, *estacionEnEditor_, ahora);
        estacionEnEditor_ = ahora;
        SeleccionarEstacion(estacion->CodEst);
    }
}

// After another user changed the station: the editor's fields the user had not
// changed since it was loaded take what is stored now, so that a second save
// writes the user's own changes and nothing of the other user's is lost.
void frmFicha::TomarLoNoCambiado(const Estacion& escrita, const Estacion& cargada, const Estacion& ahora)
{
    if (escrita.Descripcion == cargada.Descripcion)
        Text1[0]->setText(ahora.Descripcion);
    if (escrita.Fecha == cargada.Fecha)
        Text1[1]->setText(ahora.Fecha);
    for (int i = 0; i < 4; ++i) {
        if (escrita.Valores[i] == cargada.Valores[i])
            ValorAlEditor(kPrimerNumero + i, ahora.Valores[i]);
    }
}

// The station as the list shows it now; one the list no longer shows counts as
// blank, so that saving it reports a change.
Estacion frmFicha::EstacionListada(const Estacion& clave) const
{
    for (int i = 0; i < modelo_->Filas(); ++i) {
        if (modelo_->EstacionEn(i).CodObra == clave.CodObra && modelo_->EstacionEn(i).CodEst == clave.CodEst)
            return modelo_->EstacionEn(i);
    }
    Estacion blanca;
    blanca.CodObra = clave.CodObra;
    blanca.CodEst = clave.CodEst;
    return blanca;
}

void frmFicha::SeleccionarEstacion(int codEst)
{
    for (int i = 0; i < modelo_->Filas(); ++i) {
        if (modelo_->EstacionEn(i).CodEst == codEst) {
            ListView1->selectionModel()->select(modelo_->index(i, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return;
        }
    }
}

void frmFicha::LimpiarEstacion()
{
    for (int i = 0; i < 6; ++i)
        Text1[i]->clear();
    for (NumeroMostrado& numero : numerosEditor_)
        numero.Olvidar();
    estacionEnEditor_.reset();
    ListView1->clearSelection();
    if (!codigoFijado_)
        txtFields[0]->setEnabled(true);
}

void frmFicha::MenuEstacion(const QPoint& posicion)
{
    const QModelIndex bajoPuntero = ListView1->indexAt(posicion);
    if (bajoPuntero.isValid())
        ListView1->selectionModel()->select(bajoPuntero,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (FilaElegida())
        Menu2->popup(ListView1->viewport()->mapToGlobal(posicion));
}

void frmFicha::BorrarEstacionElegida()
{
    const auto fila = FilaElegida();
    if (!fila)
        return;
    if (Dialogos().MsgBox(QStringLiteral("¿Borrar la Estacion?"), Icono::Critico, Botones::SiNo) != Respuesta::Si)
        return;
    const Estacion e = modelo_->EstacionEn(*fila);
    switch (BorrarEstacion(e)) {
    case Borrado::Borrada:
        CargarEstaciones();
        LimpiarEstacion();
        break;
    case Borrado::TienePuntos:
        Dialogos().MsgBox(QStringLiteral("No puede eliminar una estación con PUNTOS"), Icono::Critico);
        break;
    case Borrado::Fallida:
        GesTablas.VerPosibleError();
        CargarEstaciones();
        break;
    }
}

void frmFicha::VerPuntos()
{
    const auto fila = FilaElegida();
    if (!fila)
        return;
    // The stored numbers, not the list's rounded texts, so the points reduce from the real station.
    const Estacion& e = modelo_->EstacionEn(*fila);
    frmPuntos::Corvela(txtFields[10]->text(), e.Descripcion, e.Numero(Estacion::Altura), e.Numero(Estacion::X),
                       e.Numero(Estacion::Y), e.Numero(Estacion::Z), e.Fecha, e.CodObra, e.CodEst);
}

void frmFicha::ImportarLecturasElegida()
{
    const auto fila = FilaElegida();
    if (!fila)
        return;
    const Estacion& e = modelo_->EstacionEn(*fila);
    ImportarLecturasEstacion(e.CodObra, e.CodEst);
}

int frmFicha::ObraElegida() const
{
    const auto fila = FilaElegida();
    return fila ? modelo_->EstacionEn(*fila).CodObra : 0;
}

void frmFicha::Text2_Change()
{
    GrabarParametro(QStringLiteral("Decimales"), Text2->text());
    CargarDecimales();
    CabecerasEstaciones();
    ListView1->viewport()->update();
}

void frmFicha::changeEvent(QEvent* evento)
{
    if (evento->type() == QEvent::ActivationChange && isActiveWindow()) {
        frmArranque::Descargar();
        update();
    }
    QWidget::changeEvent(evento);
}

} // namespace corvela
