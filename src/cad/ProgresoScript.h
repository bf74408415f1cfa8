#pragma once

#include <QtGlobal>

namespace corvela {

// Told now and then how far a script export has come; answers false when the
// user wants it stopped.
class ProgresoScript
{
public:
    virtual ~ProgresoScript() = default;
    virtual bool Avanzar(qint64 escritos, qint64 total) = 0;
};

} // namespace corvela
