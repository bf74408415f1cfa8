#pragma once

#include "records/RecordSet.h"

#include <QWidget>
#include <array>
#include <memory>

class QFrame;
class QPushButton;

namespace corvela {

class BarraFiles;
class FormularioEnlazado;

// The record navigator: first, previous, the position ("3 de 17"), next and
// last, wrapping around at both ends. Every move copies the current record into
// the host's bound fields, sets the host's toolbar and raises SeDesplazo.
class Moverse : public QWidget
{
    Q_OBJECT
public:
    explicit Moverse(QWidget* padre = nullptr);

    // Set by the host: the record set navigated (shared with the record layer),
    // the host window whose bound fields are filled, and the host's toolbar.
    std::shared_ptr<RecordSet> RSUsado;
    FormularioEnlazado* FrmEnTrabajo = nullptr;
    BarraFiles* BarraFiles1 = nullptr;

    // "P" first, "-" or "A" previous, "+" or "S" next, "U" last, as a click on
    // that button; any other text does nothing.
    void Mover(const QString& PASUmovimiento);
    // Shows the first record without calling the toolbar or raising SeDesplazo.
    void Registros();
    void MoverCamposTablaAForm();
    // Writes the position on the middle button: "Ninguno", "Primero", "Ultimo"
    // or anything else for the current position.
    void RegistroNumero(const QString& strPosicion);
    void VisibleCtl(bool Es_Visible);

    QSize sizeHint() const override;

signals:
    void SeDesplazo();

protected:
    void resizeEvent(QResizeEvent* evento) override;

private:
    void Command1_Click(int indice);
    void Desplazar(int indice);
    RecordSet& Registro();

    QFrame* frameMoverse_;
    std::array<QPushButton*, 5> command1_{};
    RecordSet sinRegistros_;
};

} // namespace corvela
