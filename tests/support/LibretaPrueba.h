#pragma once

#include "fieldbook/frmPuntos.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace corvela::pruebas {

// A station's field book, shown and active while it lives, driven as the surveyor does.
class LibretaPrueba
{
public:
    LibretaPrueba(int obra, int estacion, const QString& obraTexto = QStringLiteral("Obra"),
                  const QString& estacionTexto = QStringLiteral("E"), double altura = 1.5, double x = 0, double y = 0,
                  double z = 0, const QString& fecha = {})
    {
        frmPuntos::Corvela(obraTexto, estacionTexto, altura, x, y, z, fecha, obra, estacion);
        v = frmPuntos::Instancia();
        if (!QTest::qWaitForWindowActive(v))
            QTest::qFail("la libreta no se activa", __FILE__, __LINE__);
    }
    ~LibretaPrueba()
    {
        if (frmPuntos::Existe())
            frmPuntos::Instancia()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    LibretaPrueba(const LibretaPrueba&) = delete;
    LibretaPrueba& operator=(const LibretaPrueba&) = delete;

    QLineEdit* campo(int i) const { return v->Text1(i); }
    QString texto(int i) const { return v->Text1(i)->text(); }
    // Replaces the field's text by typing.
    void escribir(int i, const QString& s) const
    {
        campo(i)->setFocus();
        campo(i)->selectAll();
        QTest::keyClicks(campo(i), s);
    }
    // Middle, upper and lower readings 1,500, 1,6 and 1,4: the wires pass and the middle is their mean.
    void lecturas() const
    {
        escribir(2, QStringLiteral("1,500"));
        escribir(3, QStringLiteral("1,6"));
        escribir(4, QStringLiteral("1,4"));
    }
    void grabar() const { QTest::mouseClick(v->Command1(1), Qt::LeftButton); }
    int filas() const { return v->ListView1()->model()->rowCount(); }
    QString celda(int fila, int columna) const
    {
        return v->ListView1()->model()->index(fila, columna).data().toString();
    }
    void pulsarFila(int fila, Qt::MouseButton boton = Qt::LeftButton) const
    {
        const QPoint centro = v->ListView1()->visualRect(v->ListView1()->model()->index(fila, 0)).center();
        QTest::mouseClick(v->ListView1()->viewport(), boton, {}, centro);
    }

    frmPuntos* v = nullptr;
};

} // namespace corvela::pruebas
