#include "works/frmFicha.h"

#include "core/frmArranque.h"

#include <QEvent>
#include <QPointer>

namespace corvela {

namespace {
QPointer<frmFicha> instancia;
}

frmFicha* frmFicha::Instancia()
{
    if (!instancia)
        instancia = new frmFicha();
    return instancia;
}

bool frmFicha::Existe()
{
    return !instancia.isNull();
}

void frmFicha::Mostrar()
{
    frmFicha* ficha = Instancia();
    ficha->show();
    ficha->raise();
}

frmFicha::frmFicha()
{
    setObjectName(QStringLiteral("frmFicha"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Ficha de Clientes"));
    resize(640, 480);
}

void frmFicha::changeEvent(QEvent* evento)
{
    if (evento->type() == QEvent::ActivationChange && isActiveWindow()) {
        frmArranque::Descargar();
        update();
    }
    QWidget::changeEvent(evento);
}

}  // namespace corvela
