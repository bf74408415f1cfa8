#pragma once

#include <QWidget>

namespace corvela {

// The works card, the program's main window.
class frmFicha : public QWidget
{
    Q_OBJECT
public:
    static frmFicha* Instancia();
    static bool Existe();
    static void Mostrar();

protected:
    void changeEvent(QEvent* evento) override;

private:
    frmFicha();
};

}  // namespace corvela
