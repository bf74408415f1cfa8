#include "controls/Moverse.h"

#include "controls/BarraFiles.h"
#include "controls/ColocacionProporcional.h"
#include "core/Mensajes.h"
#include "core/TextoNumerico.h"
#include "core/Twips.h"
#include "records/ErrorDatos.h"
#include "records/FormularioEnlazado.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

namespace corvela {

namespace {

enum Boton { kPrimero = 0, kAnterior = 1, kPosicion = 2, kSiguiente = 3, kUltimo = 4 };

const QSize kDisenoControl(3075, 405);
// The frame sits above the control's top edge so that its top line is hidden.
const QRect kDisenoMarco(0, -90, 3045, 465);

struct DisenoBoton
{
    const char* texto;
    int izquierda;
    int ancho;
};

constexpr std::array<DisenoBoton, 5> kDisenoBotones{{
    {"<<", 60, 315},
    {"&-<", 420, 315},
    {"Primero", 780, 1485},
    {">&+", 2310, 315},
    {">>", 2670, 315},
}};
constexpr int kArribaBotones = 150;
constexpr int kAltoBotones = 255;

bool TieneRegistros(const RecordSet& rs)
{
    return !(rs.Eof() && rs.Bof());
}

QString TextoVisible(const QVariant& valor)
{
    if (valor.typeId() == QMetaType::Double)
        return TextoGeneral(valor.toDouble());
    return valor.toString();
}

} // namespace

Moverse::Moverse(QWidget* padre) : QWidget(padre), frameMoverse_(new QFrame(this))
{
    frameMoverse_->setObjectName(QStringLiteral("FrameMoverse"));
    frameMoverse_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    for (int i = 0; i < static_cast<int>(command1_.size()); ++i) {
        auto* boton = new QPushButton(QString::fromUtf8(kDisenoBotones[i].texto), frameMoverse_);
        boton->setObjectName(QStringLiteral("Command1_%1").arg(i));
        connect(boton, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        command1_[i] = boton;
    }
    QPalette gris = command1_[kPosicion]->palette();
    gris.setColor(QPalette::Button, QColor(224, 224, 224));
    command1_[kPosicion]->setPalette(gris);
    resize(sizeHint());
}

QSize Moverse::sizeHint() const
{
    return RectTwips(0, 0, kDisenoControl.width(), kDisenoControl.height()).size();
}

void Moverse::resizeEvent(QResizeEvent* evento)
{
    ColocarProporcional(frameMoverse_, kDisenoMarco, kDisenoControl, size());
    for (int i = 0; i < static_cast<int>(command1_.size()); ++i) {
        const QRect twips(kDisenoBotones[i].izquierda, kArribaBotones, kDisenoBotones[i].ancho, kAltoBotones);
        ColocarProporcional(command1_[i], twips, kDisenoMarco.size(), frameMoverse_->size());
    }
    QWidget::resizeEvent(evento);
}

RecordSet& Moverse::Registro()
{
    return RSUsado ? *RSUsado : sinRegistros_;
}

void Moverse::Mover(const QString& PASUmovimiento)
{
    if (PASUmovimiento == QLatin1String("P"))
        Command1_Click(kPrimero);
    else if (PASUmovimiento == QLatin1String("-") || PASUmovimiento == QLatin1String("A"))
        Command1_Click(kAnterior);
    else if (PASUmovimiento == QLatin1String("+") || PASUmovimiento == QLatin1String("S"))
        Command1_Click(kSiguiente);
    else if (PASUmovimiento == QLatin1String("U"))
        Command1_Click(kUltimo);
}

void Moverse::Desplazar(int indice)
{
    RecordSet& rs = Registro();
    switch (indice) {
    case kPrimero:
        rs.MoveFirst();
        break;
    case kAnterior:
        if (!rs.Bof())
            rs.MovePrevious();
        break;
    case kSiguiente:
        if (!rs.Eof())
            rs.MoveNext();
        break;
    case kUltimo:
        rs.MoveLast();
        break;
    default:
        break;
    }
}

void Moverse::Command1_Click(int indice)
{
    command1_[indice]->setFocus();
    RecordSet& rs = Registro();
    if (TieneRegistros(rs)) {
        Desplazar(indice);
        if (rs.Eof()) {
            RegistroNumero(QStringLiteral("Primero"));
            rs.MoveFirst();
        } else if (rs.Bof()) {
            RegistroNumero(QStringLiteral("Ultimo"));
            rs.MoveLast();
        } else {
            RegistroNumero(QString::number(rs.AbsolutePosition() + 1));
        }
    } else {
        RegistroNumero(QStringLiteral("Ninguno"));
    }
    if (TieneRegistros(rs)) {
        MoverCamposTablaAForm();
        if (BarraFiles1)
            BarraFiles1->BotonesDespuesDeGuardar();
    } else if (BarraFiles1) {
        BarraFiles1->LimpiarPantalla();
    }
    emit SeDesplazo();
}

void Moverse::RegistroNumero(const QString& strPosicion)
{
    QPushButton* posicion = command1_[kPosicion];
    if (strPosicion == QLatin1String("Ninguno")) {
        posicion->setText(QStringLiteral("Ningún Registro"));
        return;
    }
    RecordSet& rs = Registro();
    if (!TieneRegistros(rs))
        return;
    const QString total = QString::number(rs.RecordCount());
    if (rs.AbsolutePosition() < 0)
        rs.SetAbsolutePosition(0);
    if (strPosicion == QLatin1String("Primero"))
        posicion->setText(QStringLiteral("1 de ") + total);
    else if (strPosicion == QLatin1String("Ultimo"))
        posicion->setText(total + QStringLiteral(" de ") + total);
    else
        posicion->setText(QString::number(rs.AbsolutePosition() + 1) + QStringLiteral(" de ") + total);
}

void Moverse::MoverCamposTablaAForm()
{
    if (!FrmEnTrabajo)
        return;
    LimpiarError();
    const RecordSet& rs = Registro();
    for (const CampoEnlazado& enlace : FrmEnTrabajo->CamposEnlazados()) {
        const QVariant valor = rs.ValorCampo(enlace.Columna);
        const ErrorDatos& error = ErrorPendiente();
        if (error.Hay()) {
            Dialogos().MsgBox(QString::number(error.Numero) + u'-' + error.Descripcion, Icono::Informacion,
                              Botones::Aceptar);
            LimpiarError();
            return;
        }
        enlace.Campo->setText(TextoVisible(valor));
    }
    FrmEnTrabajo->Ventana()->update();
}

void Moverse::Registros()
{
    command1_[kPosicion]->setText(QString());
    RecordSet& rs = Registro();
    if (TieneRegistros(rs)) {
        rs.MoveLast();
        rs.MoveFirst();
        RegistroNumero(QStringLiteral("Primero"));
    }
    MoverCamposTablaAForm();
}

void Moverse::VisibleCtl(bool Es_Visible)
{
    frameMoverse_->setVisible(Es_Visible);
}

} // namespace corvela
