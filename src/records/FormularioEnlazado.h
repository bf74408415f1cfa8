#pragma once

#include <QString>
#include <QVector>

class QLineEdit;
class QWidget;

namespace corvela {

// One entry field bound to a column of the window's table.
struct CampoEnlazado
{
    QString Columna; // written exactly as the column is named, e.g. "Expediente"
    QLineEdit* Campo = nullptr;
};

// A window that edits one table: the record layer and the record controls move
// values between its bound fields and the table by column name. The fields come
// in the window's txtFields order, which is also the order of the columns in
// every statement: element 0 shows the key, element 1 the first data field.
class FormularioEnlazado
{
public:
    virtual ~FormularioEnlazado() = default;

    virtual QWidget* Ventana() = 0;
    // The table the window edits (its tag).
    virtual QString Tabla() const = 0;
    virtual QVector<CampoEnlazado> CamposEnlazados() const = 0;

    // The bound field at that index, null when there is none.
    QLineEdit* txtFields(int indice) const;
    // The key column of the table: the column of element 0.
    QString ColumnaClave() const;
};

} // namespace corvela
