#include "AnfitrionPrueba.h"

#include "controls/BarraFiles.h"
#include "controls/EnlaceControles.h"
#include "controls/Moverse.h"
#include "core/Twips.h"
#include "records/Esquema.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace corvela::pruebas {

using esquema::kCamposObra;

AnfitrionPrueba::AnfitrionPrueba() : BarraFiles1(new BarraFiles(this)), Moverse1(new Moverse(this))
{
    setWindowTitle(QStringLiteral("Ficha de Clientes"));
    ColocarTwips(this, 0, 0, 8955, 3555);
    BarraFiles1->setObjectName(QStringLiteral("BarraFiles1"));
    ColocarTwips(BarraFiles1, 30, 0, 5745, 555);
    Moverse1->setObjectName(QStringLiteral("Moverse1"));
    ColocarTwips(Moverse1, 5880, 0, 3075, 405);
    auto* marco = new QGroupBox(QStringLiteral("Código OBRA"), this);
    marco->setObjectName(QStringLiteral("Frame1"));
    ColocarTwips(marco, 60, 600, 8835, 2865);
    for (int i = 0; i < static_cast<int>(campos_.size()); ++i) {
        const int columna = i % 2, fila = i / 2;
        auto* etiqueta = new QLabel(QString::fromUtf8(kCamposObra[i].etiqueta), marco);
        etiqueta->setObjectName(QStringLiteral("Label1_%1").arg(i));
        ColocarTwips(etiqueta, 120 + columna * 4380, 300 + fila * 420, 1500, 300);
        campos_[i] = new QLineEdit(marco);
        campos_[i]->setObjectName(QStringLiteral("txtFields_%1").arg(i));
        ColocarTwips(campos_[i], 1680 + columna * 4380, 270 + fila * 420, 2600, 330);
    }
    connect(Moverse1, &Moverse::SeDesplazo, this, [this] { ++desplazamientos; });
}

void AnfitrionPrueba::Cargar()
{
    EnlazarControles(*this, *BarraFiles1, *Moverse1, GesTablas, campos_[10]);
}

QVector<CampoEnlazado> AnfitrionPrueba::CamposEnlazados() const
{
    QVector<CampoEnlazado> enlazados;
    for (int i = 0; i < static_cast<int>(campos_.size()); ++i)
        enlazados.push_back({esquema::Nombre(kCamposObra[i].columna), campos_[i]});
    return enlazados;
}

bool AnfitrionPrueba::SePuedeBorrar()
{
    ++preguntasBorrar;
    return sePuedeBorrar;
}

void AnfitrionPrueba::BarraFilesEvento(EventoBarra& CodigoEvento)
{
    BarraFiles1->bfEventoOk = true;
    codigos << CodigoEvento;
    if (CodigoEvento == EventoBarra::AntesDeGuardar && vetarGuardado)
        BarraFiles1->bfEventoOk = false;
    if (CodigoEvento == EventoBarra::RegistrosCambiados)
        MostrarResultado(GesTablas, *Moverse1);
    else if (CodigoEvento == EventoBarra::Retroceder)
        close();
}

void AnfitrionPrueba::ErrorDetectado(int& Error)
{
    errores << Error;
}

void AnfitrionPrueba::Edicion(bool& Estado)
{
    ediciones << Estado;
    if (guardarForzado)
        Estado = *guardarForzado;
}

void AnfitrionPrueba::LimpiaPantalla()
{
    ++limpiezas;
}

QLineEdit* AnfitrionPrueba::Campo(const QString& columna) const
{
    for (const CampoEnlazado& enlace : CamposEnlazados()) {
        if (enlace.Columna == columna)
            return enlace.Campo;
    }
    return nullptr;
}

void AnfitrionPrueba::Escribir(const QString& columna, const QString& texto)
{
    Campo(columna)->setText(texto);
}

} // namespace corvela::pruebas
