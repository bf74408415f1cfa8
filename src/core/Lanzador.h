#pragma once

#include <QString>
#include <QStringList>

namespace corvela {

// Starts external programs (the CAD program) without waiting for them. The
// arguments go as a list, never through a shell.
class Lanzador
{
public:
    virtual ~Lanzador() = default;
    virtual bool Iniciar(const QString& programa, const QStringList& argumentos) = 0;
};

class LanzadorQt : public Lanzador
{
public:
    bool Iniciar(const QString& programa, const QStringList& argumentos) override;
};

Lanzador& Programas();
void InstalarLanzador(Lanzador* lanzador);

} // namespace corvela
