#pragma once

#include <QPointer>

namespace corvela {

// A window that exists at most once: created by its first reference, gone when
// it closes (it deletes itself on close).
template <class Ventana> class VentanaUnica
{
public:
    static Ventana* Instancia()
    {
        if (!instancia_)
            instancia_ = new Ventana();
        return instancia_;
    }

    static bool Existe() { return !instancia_.isNull(); }

protected:
    // The window when it exists, without creating it.
    static Ventana* SiExiste() { return instancia_; }

private:
    static inline QPointer<Ventana> instancia_;
};

} // namespace corvela
