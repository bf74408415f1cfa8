#pragma once

#include "core/NumeroMostrado.h"
#include "core/VentanaUnica.h"
#include "fieldbook/PuntosEstacion.h"
#include "fieldbook/Reduccion.h"

#include <QWidget>
#include <array>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace corvela {

class ModeloPuntos;

// The field book of one station: the list of its points and, below it, the
// entry row in which a point is typed, checked, reduced and saved.
class frmPuntos : public QWidget, public VentanaUnica<frmPuntos>
{
    Q_OBJECT
public:
    static constexpr int kCampos = 12;

    // Shows the field book of work NObra, station NEstacion without blocking the
    // caller. Altura, X, Y and Z are the station's stored values, used by the
    // reduction as they are. Opening another station while the window is open
    // reloads the list and empties the entry row.
    static void Corvela(const QString& DescripcionObra, const QString& DescripcionEstacion, double Altura, double X,
                        double Y, double Z, const QString& Fecha, int NObra, int NEstacion);

    QLineEdit* Text1(int indice) const { return Text1_[indice]; }
    QLabel* Label1(int indice) const { return Label1_[indice]; }
    QLabel* Label2() const { return Label2_; }
    QLabel* Label3(int indice) const { return Label3_[indice]; }
    QTableView* ListView1() const { return ListView1_; }
    QPushButton* Command1(int indice) const { return Command1_[indice]; }
    QPushButton* Command3() const { return Command3_; }
    QMenu* Menu1() const { return Menu1_; }
    QAction* m1(int indice) const { return m1_[indice]; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    friend class VentanaUnica<frmPuntos>;
    frmPuntos();

    void CrearCabecera();
    void CrearEntrada();
    void CrearMenu();
    void FijarOrdenTabulacion();
    void FijarFuentes();
    QString MuestraColumna(int columna) const;
    void CabecerasPuntos();
    void AnchoParaCodigo(qint64 codigo);
    qint64 CodigoMayor() const;
    void RecortarCabecera();
    void Cargar();
    void EscribirCabecera(const QString& descripcionObra, const QString& descripcionEstacion, const QString& fecha);

    // List and entry row.
    int FilaSeleccionada() const;
    void SeleccionarFila(int fila);
    void LimpiarPunto();
    void PuntoAEditor();
    void MenuPunto(const QPoint& posicion);
    void PulsarLista(const QPoint& posicion);
    void ConfirmarBorrado();

    // Entry fields.
    void AlCambiar(int indice);
    void AlSalir(int indice);
    int FiltrarTecla(int indice, int& codigoTecla);
    double ValorDe(int indice) const;
    Lectura LecturaDe(int indice) const;
    void EscribirCampo(int indice, const QString& texto);
    void EscribirValor(int indice, double valor, const QString& texto);
    void EscribirMedia(const Lectura& antes, const Lectura& despues);
    bool ComprobarLecturas();
    void CompletarMedia();
    void Reducir();
    void Grabar();

    // Points table.
    PuntosEstacion Datos() const { return PuntosEstacion(NObra_, NEstacion_); }
    void CargarPuntos(std::optional<int> codigo);
    void InformarFallo();
    std::optional<int> CodigoDelEditor();
    Punto PuntoDelEditor(int codigo) const;
    void RecortarTextos();
    std::optional<Punto> PuntoCargado(int codigo) const;
    void GrabarPunto();
    void InsertarNuevo(Punto punto, bool codigoTecleado);
    void BorrarPunto();
    void RenumerarPuntos();
    void InsertarPunto();

    QGroupBox* Frame1_ = nullptr;
    QGroupBox* Frame2_ = nullptr;
    QLabel* Label2_ = nullptr;
    std::array<QLabel*, 8> Label1_{};
    std::array<QLabel*, kCampos> Label3_{};
    std::array<QLineEdit*, kCampos> Text1_{};
    QTableView* ListView1_ = nullptr;
    std::array<QPushButton*, 2> Command1_{};
    QPushButton* Command3_ = nullptr;
    QMenu* Menu1_ = nullptr;
    std::array<QAction*, 5> m1_{};
    ModeloPuntos* modelo_ = nullptr;

    bool cargada_ = false;
    int NObra_ = 0;
    int NEstacion_ = 0;
    DatosEstacion estacion_;

    // The point as it was when loaded into the entry row: a save touches it only
    // while the table still holds it so.
    std::optional<Punto> cargado_;
    // The stored value behind each numeric field.
    std::array<NumeroMostrado, kCampos> mostrados_{};
    // A reading or angle changed since the reduction last ran (or the
    // coordinates were last typed): "Grabar" reduces again.
    bool reduccionPendiente_ = false;
    // The program is filling the entry row: no change or focus handler applies.
    bool cargandoEditor_ = false;
    // Figures of the widest code the list has to show whole.
    int cifrasCodigo_ = 4;
};

} // namespace corvela
