#pragma once

#include "cad/ProgresoScript.h"

#include <QPair>
#include <QVector>

namespace corvela::pruebas {

// The user who cancels an export at its first progress report; keeps what each
// report said.
class ProgresoQueCancela : public ProgresoScript
{
public:
    bool Avanzar(qint64 escritos, qint64 total) override
    {
        avisos << qMakePair(escritos, total);
        return false;
    }
    QVector<QPair<qint64, qint64>> avisos;
};

} // namespace corvela::pruebas
