#pragma once

namespace corvela {

// Shows the hourglass for as long as it lives; nested guards stack.
class CursorEspera
{
public:
    CursorEspera();
    ~CursorEspera();
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

} // namespace corvela
