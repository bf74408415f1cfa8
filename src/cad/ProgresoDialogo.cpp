#include "cad/ProgresoDialogo.h"

#include <QApplication>

namespace corvela {

namespace {
constexpr int kPasos = 1000;
constexpr int kEsperaAntesDeMostrar = 500; // ms
} // namespace

ProgresoDialogo::ProgresoDialogo(QString texto) : texto_(std::move(texto)) {}
ProgresoDialogo::~ProgresoDialogo()
{
    delete dialogo_;
}

bool ProgresoDialogo::Avanzar(qint64 escritos, qint64 total)
{
    if (!dialogo_) {
        dialogo_ = new QProgressDialog(texto_, QStringLiteral("&Cancelar"), 0, kPasos, QApplication::activeWindow());
        dialogo_->setWindowTitle(QApplication::applicationDisplayName());
        dialogo_->setWindowModality(Qt::WindowModal);
        dialogo_->setMinimumDuration(kEsperaAntesDeMostrar);
        dialogo_->setAutoClose(false);
        dialogo_->setAutoReset(false);
        dialogo_->setValue(0);
    }
    const qint64 paso = total > 0 ? qMin<qint64>(kPasos, escritos * kPasos / total) : 0;
    // A modal progress dialog handles pending events here, the cancel button's click among them.
    dialogo_->setValue(static_cast<int>(paso));
    return !dialogo_->wasCanceled();
}

} // namespace corvela
