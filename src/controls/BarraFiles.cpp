#include "controls/BarraFiles.h"

#include "controls/AnfitrionBarra.h"
#include "controls/ColocacionProporcional.h"
#include "controls/Moverse.h"
#include "core/Globales.h"
#include "core/Lanzador.h"
#include "core/Mensajes.h"
#include "core/Parametros.h"
#include "core/TextoNumerico.h"
#include "core/Twips.h"
#include "records/ErrorDatos.h"
#include "records/GestionTablas.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmapCache>
#include <QProcess>
#include <cmath>

namespace corvela {

namespace {

enum Boton { kNueva = 0, kAbrir, kGuardar, kBuscar, kImprimir, kBorrar, kLimpiar, kProcesador, kRetroceder };
enum Imagen { kDeshabilitado = 1, kNormal = 2, kEncima = 3, kPulsado = 4 };
constexpr int kNinguno = 255;

using Estados = std::array<bool, BarraFiles::kBotones>;
//                                  Nueva  Abrir  Guard  Busca  Impri  Borra  Limpi  Proce  Retro
constexpr Estados kBusqueda{{true, false, false, true, true, false, true, true, true}};
constexpr Estados kNuevaEntrada{{false, false, true, false, false, false, true, true, true}};
constexpr Estados kEdicion{{false, false, true, false, false, true, true, true, true}};
constexpr Estados kRegistroMostrado{{true, true, false, false, true, false, true, true, true}};

const std::array<QString, BarraFiles::kBotones> kAyudas{
    QStringLiteral("Nueva Entrada"),    QStringLiteral("Abrir"),
    QStringLiteral("Guardar"),          QStringLiteral("Buscar"),
    QStringLiteral("Imprimir"),         QStringLiteral("Borrar"),
    QStringLiteral("Limpiar Pantalla"), QStringLiteral("Arrancar Procesador de Textos"),
    QStringLiteral("Retroceder")};

const QSize kDisenoControl(5745, 555);
const QRect kDisenoFondo(0, -90, 5745, 675);
constexpr std::array<int, BarraFiles::kBotones> kIzquierdas{45, 675, 1310, 1940, 2570, 3200, 3830, 4460, 5090};
constexpr int kArribaBotones = 125;
constexpr int kAnchoBoton = 630;
constexpr int kAltoBoton = 450;

const QString kClaveProcesador = QStringLiteral("PROCESADOR");
const QString kProcesadorPorDefecto = QStringLiteral("libreoffice --writer");
constexpr int kErrorProcesador = 429;

QPixmap CargarImagen(int boton, int imagen)
{
    const QString ruta = RutaRecurso(QStringLiteral("IMAGEN/b%1_%2.bmp").arg(boton).arg(imagen));
    QPixmap mapa;
    if (!QPixmapCache::find(ruta, &mapa) && mapa.load(ruta))
        QPixmapCache::insert(ruta, mapa);
    return mapa;
}

} // namespace

BarraFiles::BarraFiles(QWidget* padre) : QWidget(padre), iman1_(new QLabel(this)), BotonActivo_(kNinguno)
{
    iman1_->setObjectName(QStringLiteral("Iman1"));
    iman1_->setMouseTracking(true);
    iman1_->installEventFilter(this);
    for (int i = 0; i < kBotones; ++i) {
        auto* boton = new QLabel(this);
        boton->setObjectName(QStringLiteral("Picture10_%1").arg(i));
        boton->setToolTip(kAyudas[i]);
        boton->setScaledContents(true);
        boton->setMouseTracking(true);
        boton->installEventFilter(this);
        picture10_[i] = boton;
    }
    resize(sizeHint());
    Redibujar();
}

QSize BarraFiles::sizeHint() const
{
    return RectTwips(0, 0, kDisenoControl.width(), kDisenoControl.height()).size();
}

void BarraFiles::resizeEvent(QResizeEvent* evento)
{
    ColocarProporcional(iman1_, kDisenoFondo, kDisenoControl, size());
    for (int i = 0; i < kBotones; ++i) {
        ColocarProporcional(picture10_[i], QRect(kIzquierdas[i], kArribaBotones, kAnchoBoton, kAltoBoton),
                            kDisenoControl, size());
    }
    QWidget::resizeEvent(evento);
}

bool BarraFiles::EstBoton(int NumeroBoton) const
{
    return NumeroBoton >= 0 && NumeroBoton < kBotones && EstadoBotones_[NumeroBoton];
}

void BarraFiles::BBEstado(bool& B0, bool& B1, bool& B2, bool& B3, bool& B4, bool& B5, bool& B6, bool& B7, bool& B8)
{
    if (FrmActivo)
        FrmActivo->Edicion(B2);
    EstadoBotones_ = {B0, B1, B2, B3, B4, B5, B6, B7, B8};
}

void BarraFiles::FijarEstados(Estados e)
{
    BBEstado(e[0], e[1], e[2], e[3], e[4], e[5], e[6], e[7], e[8]);
}

// Drawing ---------------------------------------------------------------------

void BarraFiles::Dibujar(int boton, int imagen)
{
    const QPixmap mapa = CargarImagen(boton, imagen);
    QLabel* etiqueta = picture10_[boton];
    etiqueta->setPixmap(mapa);
    // Without its bitmap the button is still drawn, as a plain panel.
    if (mapa.isNull())
        etiqueta->setFrameStyle(QFrame::Panel | (imagen == kPulsado ? QFrame::Sunken : QFrame::Raised));
    else
        etiqueta->setFrameStyle(QFrame::NoFrame);
}

void BarraFiles::DibujarEnReposo(int boton)
{
    Dibujar(boton, EstadoBotones_[boton] ? kNormal : kDeshabilitado);
}

void BarraFiles::Redibujar()
{
    for (int i = 0; i < kBotones; ++i)
        DibujarEnReposo(i);
}

// The host's fields and navigator ---------------------------------------------

void BarraFiles::MostrarNavegador(bool mostrar)
{
    if (ctlMoverse)
        ctlMoverse->setVisible(mostrar);
}

void BarraFiles::VaciarCampos()
{
    if (FrmActivo) {
        for (const CampoEnlazado& enlace : FrmActivo->CamposEnlazados())
            enlace.Campo->setText(QString());
    }
    MostrarNavegador(false);
}

void BarraFiles::HabilitarCampos(bool habilitar)
{
    if (!FrmActivo)
        return;
    for (const CampoEnlazado& enlace : FrmActivo->CamposEnlazados())
        enlace.Campo->setEnabled(habilitar);
}

void BarraFiles::Evento(EventoBarra codigo)
{
    if (FrmActivo)
        FrmActivo->BarraFilesEvento(codigo);
}

// State sets --------------------------------------------------------------------

void BarraFiles::LimpiarPantalla()
{
    FijarEstados(kBusqueda);
    VaciarCampos();
    if (ctlMoverse)
        ctlMoverse->VisibleCtl(false);
    if (FrmActivo)
        FrmActivo->LimpiaPantalla();
    Redibujar();
    HabilitarCampos(true);
}

void BarraFiles::BotonesDespuesDeGuardar()
{
    FijarEstados(kRegistroMostrado);
    Redibujar();
}

void BarraFiles::BotonesAbrir()
{
    HabilitarCampos(true);
    MostrarNavegador(false);
    FijarEstados(kEdicion);
    Redibujar();
}

void BarraFiles::NuevaEntrada()
{
    VaciarCampos();
    FijarEstados(kNuevaEntrada);
    Redibujar();
    HabilitarCampos(true);
}

// Actions -------------------------------------------------------------------------

void BarraFiles::BuscarRs()
{
    if (GesTablas && GesTablas->Buscar_Registro()) {
        FijarEstados(kRegistroMostrado);
        Redibujar();
        MostrarNavegador(true);
        Evento(EventoBarra::RegistrosCambiados);
        HabilitarCampos(false);
        return;
    }
    // A search the database could not run found nothing either way, but the
    // user is told why (the error, reported after the action), not that no work exists.
    if (!ErrorPendiente().Hay())
        Dialogos().MsgBox(QStringLiteral("No hay registro localizados"), Icono::Exclamacion, Botones::Aceptar);
    LimpiarPantalla();
}

void BarraFiles::Guardar()
{
    bfEventoOk = true;
    Evento(EventoBarra::AntesDeGuardar);
    // "Borrar" is on only while an opened record is edited.
    if (bfEventoOk && GesTablas) {
        if (EstadoBotones_[kBorrar])
            GuardarCambios();
        else
            GuardarNuevo();
    }
    Evento(EventoBarra::Guardado);
}

void BarraFiles::GuardarNuevo()
{
    if (!GesTablas->Añadir_Registro())
        return;
    Dialogos().MsgBox(QStringLiteral("El Registro ha sido añadido"), Icono::Informacion, Botones::Aceptar);
    LimpiarPantalla();
}

void BarraFiles::GuardarCambios()
{
    if (!GesTablas->Modificar_Registro())
        return;
    BotonesDespuesDeGuardar();
    MostrarNavegador(true);
    HabilitarCampos(false);
}

void BarraFiles::Borrar()
{
    if (Dialogos().MsgBox(QStringLiteral("¿Desea borrar el registro?"), Icono::Pregunta, Botones::AceptarCancelar) !=
        Respuesta::Aceptar)
        return;
    const int codigo = TxtCod ? static_cast<int>(std::lround(ValorNumerico(TxtCod->text()))) : 0;
    if (!GesTablas || !GesTablas->Borrar_Registro(FrmActivo->Tabla(), codigo))
        return;
    MostrarNavegador(true);
    if (ctlMoverse)
        ctlMoverse->Mover(QStringLiteral("P"));
    // With nothing left the navigator has already cleared the screen for a new search.
    if (!GesTablas->RS || GesTablas->RS->RecordCount() == 0)
        return;
    Evento(EventoBarra::RegistrosCambiados);
    HabilitarCampos(false);
}

void BarraFiles::ArrancarProcesadorTextos()
{
    const QString orden = LeerParametro(kClaveProcesador, kProcesadorPorDefecto);
    QStringList argumentos = QProcess::splitCommand(orden);
    if (argumentos.isEmpty() || !Programas().Iniciar(argumentos.takeFirst(), argumentos))
        FijarError(kErrorProcesador, QStringLiteral("No se puede iniciar el procesador de textos: ") + orden);
}

void BarraFiles::Accion(int boton)
{
    switch (boton) {
    case kNueva:
        NuevaEntrada();
        Evento(EventoBarra::NuevaEntrada);
        break;
    case kAbrir:
        BotonesAbrir();
        Evento(EventoBarra::Abrir);
        break;
    case kGuardar:
        Guardar();
        break;
    case kBuscar:
        BuscarRs();
        Evento(EventoBarra::Buscado);
        break;
    case kImprimir:
        Evento(EventoBarra::Imprimir);
        break;
    case kBorrar:
        if (FrmActivo && FrmActivo->SePuedeBorrar())
            Borrar();
        break;
    case kLimpiar:
        LimpiarPantalla();
        Evento(EventoBarra::PantallaLimpia);
        break;
    case kProcesador:
        ArrancarProcesadorTextos();
        break;
    case kRetroceder:
        Evento(EventoBarra::Retroceder);
        break;
    default:
        break;
    }
}

void BarraFiles::Picture10_Click(int boton)
{
    // Only an error left by this action is reported to the host.
    LimpiarError();
    if (EstadoBotones_[boton])
        Accion(boton);
    if (ErrorPendiente().Hay()) {
        int numero = ErrorPendiente().Numero;
        if (FrmActivo)
            FrmActivo->ErrorDetectado(numero);
        LimpiarError();
    }
    BotonActivo_ = kNinguno;
    MoverSobre(boton);
    if (boton != kGuardar && boton != kImprimir && boton != kRetroceder && FocoPorDefecto)
        FocoPorDefecto->setFocus();
}

void BarraFiles::PulsarBotonBuscar()
{
    if (EstadoBotones_[kBuscar])
        Picture10_Click(kBuscar);
    else if (EstadoBotones_[kAbrir] && FrmActivo)
        FrmActivo->Ventana()->close();
}

// Mouse -----------------------------------------------------------------------------

void BarraFiles::MoverSobre(int boton)
{
    if (!EstadoBotones_[boton] || boton == BotonActivo_)
        return;
    if (BotonActivo_ != kNinguno)
        DibujarEnReposo(BotonActivo_);
    BotonActivo_ = boton;
    Dibujar(boton, RatonPulsado_ ? kPulsado : kEncima);
}

void BarraFiles::BotonesACero()
{
    if (BotonActivo_ != kNinguno)
        DibujarEnReposo(BotonActivo_);
    BotonActivo_ = kNinguno;
}

void BarraFiles::PulsarRaton(int boton)
{
    RatonPulsado_ = true;
    if (EstadoBotones_[boton])
        Dibujar(boton, kPulsado);
}

void BarraFiles::SoltarRaton(int boton)
{
    RatonPulsado_ = false;
    DibujarEnReposo(boton);
    BotonActivo_ = kNinguno;
    MoverSobre(boton);
}

int BarraFiles::IndiceDe(const QObject* objeto) const
{
    for (int i = 0; i < kBotones; ++i) {
        if (picture10_[i] == objeto)
            return i;
    }
    return -1;
}

bool BarraFiles::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == iman1_) {
        if (evento->type() == QEvent::MouseMove)
            BotonesACero();
        return QWidget::eventFilter(objeto, evento);
    }
    const int boton = IndiceDe(objeto);
    if (boton < 0)
        return QWidget::eventFilter(objeto, evento);
    switch (evento->type()) {
    case QEvent::MouseMove:
        MoverSobre(boton);
        return true;
    case QEvent::MouseButtonPress:
        dobleClic_ = false;
        PulsarRaton(boton);
        return true;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click draws the button pressed and runs nothing.
        dobleClic_ = true;
        PulsarRaton(boton);
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        const bool esClic = !dobleClic_ && raton->button() == Qt::LeftButton &&
                            picture10_[boton]->rect().contains(raton->position().toPoint());
        dobleClic_ = false;
        SoltarRaton(boton);
        if (esClic)
            Picture10_Click(boton);
        return true;
    }
    default:
        return QWidget::eventFilter(objeto, evento);
    }
}

// Leaving the toolbar downwards never crosses the background picture.
void BarraFiles::leaveEvent(QEvent* evento)
{
    BotonesACero();
    QWidget::leaveEvent(evento);
}

} // namespace corvela
