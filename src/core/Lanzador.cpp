#include "core/Lanzador.h"

#include <QProcess>

namespace corvela {

namespace {
Lanzador* instalado = nullptr;
}

bool LanzadorQt::Iniciar(const QString& programa, const QStringList& argumentos)
{
    return QProcess::startDetached(programa, argumentos);
}

Lanzador& Programas()
{
    if (!instalado) {
        static LanzadorQt porDefecto;
        return porDefecto;
    }
    return *instalado;
}

void InstalarLanzador(Lanzador* lanzador)
{
    instalado = lanzador;
}

}  // namespace corvela
