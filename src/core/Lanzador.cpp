#include "core/Lanzador.h"

#include "core/Instalado.h"

#include <QProcess>

namespace corvela {

bool LanzadorQt::Iniciar(const QString& programa, const QStringList& argumentos)
{
    return QProcess::startDetached(programa, argumentos);
}

Lanzador& Programas()
{
    return Instalado<Lanzador, LanzadorQt>::Actual();
}

void InstalarLanzador(Lanzador* lanzador)
{
    Instalado<Lanzador, LanzadorQt>::Instalar(lanzador);
}

} // namespace corvela
