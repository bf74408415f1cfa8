#pragma once

#include "controls/AnfitrionBarra.h"
#include "records/Esquema.h"
#include "records/GestionTablas.h"

#include <QVector>
#include <QWidget>
#include <array>
#include <optional>

class QLineEdit;

namespace corvela {
class BarraFiles;
class Moverse;
} // namespace corvela

namespace corvela::pruebas {

// A small works card: the eleven fields of B_OBRAS, the toolbar and the navigator
// wired to one GestionTablas by the program's own wiring, and every event the
// controls raise recorded for the tests.
class AnfitrionPrueba : public QWidget, public AnfitrionBarra
{
    Q_OBJECT
public:
    AnfitrionPrueba();

    // The works card's load sequence (EnlazarControles).
    void Cargar();

    QWidget* Ventana() override { return this; }
    QString Tabla() const override { return esquema::Nombre(esquema::kObras); }
    QVector<CampoEnlazado> CamposEnlazados() const override;
    bool SePuedeBorrar() override;
    void BarraFilesEvento(EventoBarra& CodigoEvento) override;
    void ErrorDetectado(int& Error) override;
    void Edicion(bool& Estado) override;
    void LimpiaPantalla() override;

    QLineEdit* Campo(const QString& columna) const;
    void Escribir(const QString& columna, const QString& texto);

    GestionTablas GesTablas;
    BarraFiles* BarraFiles1;
    Moverse* Moverse1;

    // What the controls told the host.
    QVector<EventoBarra> codigos;
    QVector<int> errores;
    QVector<bool> ediciones;
    int limpiezas = 0;
    int desplazamientos = 0;
    int preguntasBorrar = 0;

    // How the host answers.
    bool sePuedeBorrar = true;
    bool vetarGuardado = false;
    std::optional<bool> guardarForzado;

private:
    std::array<QLineEdit*, 11> campos_{};
};

} // namespace corvela::pruebas
