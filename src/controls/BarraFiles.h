#pragma once

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;

namespace corvela {

class AnfitrionBarra;
class GestionTablas;
enum class EventoBarra : int;
class Moverse;

// The record toolbar: nine picture buttons (new entry, open, save, search,
// print, delete, clear screen, word processor, back) that drive the editing of
// the host's record through its GestionTablas and tell the host what happened
// through AnfitrionBarra::BarraFilesEvento. Each button is drawn from the
// bitmap IMAGEN/b<index>_<state>.bmp: 1 disabled, 2 normal, 3 hovered, 4 pressed.
class BarraFiles : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kBotones = 9;

    explicit BarraFiles(QWidget* padre = nullptr);

    // Set by the host at load.
    Moverse* ctlMoverse = nullptr;
    QLineEdit* TxtCod = nullptr; // the key of the record deleted
    AnfitrionBarra* FrmActivo = nullptr;
    QLineEdit* FocoPorDefecto = nullptr;
    GestionTablas* GesTablas = nullptr;
    // Go-ahead for saving: set just before EventoBarra::AntesDeGuardar; a host that clears it skips the save.
    bool bfEventoOk = false;

    bool EstBoton(int NumeroBoton) const;
    // Tells the host the new state of "Guardar" (Edicion), then stores the nine
    // states; does not redraw.
    void BBEstado(bool& B0, bool& B1, bool& B2, bool& B3, bool& B4, bool& B5, bool& B6, bool& B7, bool& B8);
    // Search state: fields emptied and enabled, navigator hidden.
    void LimpiarPantalla();
    // Shown-record state.
    void BotonesDespuesDeGuardar();
    // Editing state for the shown record.
    void BotonesAbrir();
    void BuscarRs();
    // Acts as a click on "Buscar" when it is enabled; otherwise, when "Abrir" is
    // enabled, closes the host window.
    void PulsarBotonBuscar();
    // Ends the hover effect.
    void BotonesACero();

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void leaveEvent(QEvent* evento) override;

private:
    using Estados = std::array<bool, kBotones>;

    void FijarEstados(Estados estados);
    void Redibujar();
    void Dibujar(int boton, int imagen);
    void DibujarEnReposo(int boton);
    void VaciarCampos();
    void HabilitarCampos(bool habilitar);
    void MostrarNavegador(bool mostrar);
    void Evento(EventoBarra codigo);

    void Picture10_Click(int boton);
    void Accion(int boton);
    void NuevaEntrada();
    void Guardar();
    void GuardarNuevo();
    void GuardarCambios();
    void Borrar();
    void ArrancarProcesadorTextos();

    void MoverSobre(int boton);
    void PulsarRaton(int boton);
    void SoltarRaton(int boton);
    int IndiceDe(const QObject* objeto) const;

    QLabel* iman1_;
    std::array<QLabel*, kBotones> picture10_{};
    Estados EstadoBotones_{};
    int BotonActivo_;
    bool RatonPulsado_ = false;
    bool dobleClic_ = false;
};

} // namespace corvela
