#include "core/CursorEspera.h"

#include <QCursor>
#include <QGuiApplication>

namespace corvela {

CursorEspera::CursorEspera()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

CursorEspera::~CursorEspera()
{
    QGuiApplication::restoreOverrideCursor();
}

} // namespace corvela
