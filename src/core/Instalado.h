#pragma once

namespace corvela {

// A seam of the program: the implementation a test installed, or else the real one.
template <class Interfaz, class Real> class Instalado
{
public:
    static Interfaz& Actual()
    {
        if (instalado_)
            return *instalado_;
        static Real real;
        return real;
    }

    static void Instalar(Interfaz* implementacion) { instalado_ = implementacion; }

private:
    static inline Interfaz* instalado_ = nullptr;
};

} // namespace corvela
