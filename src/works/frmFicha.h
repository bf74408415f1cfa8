#pragma once

#include "controls/AnfitrionBarra.h"
#include "core/NumeroMostrado.h"
#include "records/Esquema.h"
#include "records/GestionTablas.h"
#include "works/Estaciones.h"

#include <QWidget>
#include <array>
#include <optional>
#include <utility>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeView;

namespace corvela {

class BarraFiles;
class ModeloEstaciones;
class Moverse;

// The works card, the program's main window: the card of one work bound to
// B_OBRAS through its toolbar and navigator, the stations of the work shown with
// their editor, and the configuration frame.
class frmFicha : public QWidget, public AnfitrionBarra
{
    Q_OBJECT
public:
    static frmFicha* Instancia();
    static void Mostrar();

    // Bound window
    QWidget* Ventana() override { return this; }
    QString Tabla() const override { return esquema::Nombre(esquema::kObras); }
    QVector<CampoEnlazado> CamposEnlazados() const override;

    // Toolbar host
    bool SePuedeBorrar() override;
    void BarraFilesEvento(EventoBarra& CodigoEvento) override;
    void LimpiaPantalla() override;

    void HabilitarEstaciones(bool habilitar);
    void HabilitarCodigo(bool habilitar);

    // Stations
    void CargarEstaciones();
    void EstacionAEditor();
    void GrabarEstacion();
    void LimpiarEstacion();
    void MenuEstacion(const QPoint& posicion);
    void BorrarEstacionElegida();
    void VerPuntos();
    void ImportarLecturasElegida();

    BarraFiles* BarraFiles1 = nullptr;
    Moverse* Moverse1 = nullptr;
    std::array<QLineEdit*, 11> txtFields{};
    std::array<QLineEdit*, 7> Text1{};
    QLineEdit* Text2 = nullptr;
    std::array<QPushButton*, 4> Command1{};
    std::array<QPushButton*, 2> Command2{};
    QTreeView* ListView1 = nullptr;
    // The shared server the card works on; hidden on the local file.
    QLabel* lblBaseDatos = nullptr;
    QMenu* Menu2 = nullptr;
    std::array<QAction*, 4> m2{};
    // Exchange with other programs: import readings, export DXF, points CSV, field book CSV.
    std::array<QAction*, 4> m3{};
    GestionTablas GesTablas;

protected:
    void changeEvent(QEvent* evento) override;

private:
    frmFicha();
    void CrearCamposObra();
    void CrearConfiguracion(QGroupBox* marco);
    void CrearEstaciones();
    void CrearEditor(QGroupBox* marco);
    void OrdenarTabulador();
    void ConfirmarCambiosGuardados();
    void Cargar();
    static QString MuestraColumna(int columna);
    void CabecerasEstaciones();
    void Text2_Change();
    std::optional<int> FilaElegida() const;
    // The work of the station the pop-up menu is for.
    int ObraElegida() const;
    void SeleccionarEstacion(int codEst);
    Estacion EstacionListada(const Estacion& clave) const;
    void TomarLoNoCambiado(const Estacion& escrita, const Estacion& cargada, const Estacion& ahora);
    std::optional<Estacion> EstacionDelEditor() const;
    void ValorAlEditor(int campo, const QVariant& valor);

    ModeloEstaciones* modelo_ = nullptr;
    // The stored numbers of the station in the editor: an untouched number is
    // written back exactly as stored.
    std::array<NumeroMostrado, 4> numerosEditor_{};
    // The station loaded into the editor, as it was loaded: an update goes through
    // only while the stored station still matches it.
    std::optional<Estacion> estacionEnEditor_;
    // Set while a work is open, saved or found: its code must not change until
    // a new entry or a cleared screen.
    bool codigoFijado_ = false;
};

} // namespace corvela
