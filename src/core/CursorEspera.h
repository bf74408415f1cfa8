#pragma once

namespace corvela {

// The hourglass over the whole application while the guard lives.
class CursorEspera
{
public:
    CursorEspera();
    ~CursorEspera();
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

}  // namespace corvela
