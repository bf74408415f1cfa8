#pragma once

#include "cad/ProgresoScript.h"

#include <QPointer>
#include <QProgressDialog>

namespace corvela {

// Progress of an export in a dialog with a cancel button over the active
// window. The dialog appears only when the export takes more than a moment.
class ProgresoDialogo : public ProgresoScript
{
public:
    explicit ProgresoDialogo(QString texto = QStringLiteral("Generando el script de AUTOCAD..."));
    ~ProgresoDialogo() override;
    ProgresoDialogo(const ProgresoDialogo&) = delete;
    ProgresoDialogo& operator=(const ProgresoDialogo&) = delete;

    bool Avanzar(qint64 escritos, qint64 total) override;

private:
    // The dialog belongs to the window it covers; it may go with it.
    QPointer<QProgressDialog> dialogo_;
    QString texto_;
};

} // namespace corvela
