#pragma once

#include "core/Lanzador.h"

#include <QVector>

namespace corvela::pruebas {

// Records the programs the code asks to start instead of starting them.
class LanzadorGrabado : public Lanzador
{
public:
    struct Llamada
    {
        QString programa;
        QStringList argumentos;
    };

    LanzadorGrabado() { InstalarLanzador(this); }
    ~LanzadorGrabado() override { InstalarLanzador(nullptr); }

    bool Iniciar(const QString& programa, const QStringList& argumentos) override
    {
        llamadas.push_back({programa, argumentos});
        return resultado;
    }

    QVector<Llamada> llamadas;
    bool resultado = true;
};

} // namespace corvela::pruebas
