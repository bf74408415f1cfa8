#pragma once

#include "core/VentanaUnica.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QTimer;

namespace corvela {

// The splash window: the picture (or a shadowed title when the picture is
// missing) on top of every window until the main window is first activated.
class frmArranque : public QWidget, public VentanaUnica<frmArranque>
{
    Q_OBJECT
public:
    // Closes the splash, lingering up to one second unless the picture was clicked.
    static void Descargar();

    // How the main window is shown; given by the program at start-up.
    static void FijarPrincipal(std::function<void()> mostrarPrincipal);

    void Mostrar();
    void IniciarTemporizador();
    void MostrarPrincipal();
    void Esperar(int segundos);

    bool Pulsada() const { return pulsada_; }
    bool ImagenVisible() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    friend class VentanaUnica<frmArranque>;
    frmArranque();

    QLabel* Image1 = nullptr;
    std::array<QLabel*, 2> Label1{};
    QTimer* Timer1 = nullptr;
    bool pulsada_ = false;
    bool descargando_ = false;
};

} // namespace corvela
