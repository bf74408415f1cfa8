#pragma once

#include <QGuiApplication>

namespace corvela {

// The hourglass for as long as the guard lives.
class CursorEspera
{
public:
    CursorEspera() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QGuiApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

}  // namespace corvela
