#pragma once

#include "records/RecordSet.h"

#include <QHash>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace corvela {

class FormularioEnlazado;

// The record management of one bound window: it builds every statement from the
// window's bound fields (search, insert, update, delete of a record), runs it with
// the user's values bound, and reports database errors. Writes go to the window's
// table by its key column, the column of element 0. The host sets the public
// fields at load.
class GestionTablas
{
public:
    // The record set of the last search; the navigator shares it.
    std::shared_ptr<RecordSet> RS;
    // The last statement built, as executed (values bound to the ? placeholders).
    QString Sql;
    FormularioEnlazado* Formulario = nullptr;
    // A fixed condition written by the host and added to every search.
    QString Where;

    // Gives every bound field of the window the declared size of its column as
    // its maximum length. False, with error 3265 pending, when a column is missing.
    bool MaximaLongitud(const RecordSet* Tabla, const FormularioEnlazado* Formulario);

    // Searches the table (the window's own when empty) with every filled-in field
    // as a begins-with criterion: "*" stands for any run of characters and "?"
    // for any one character, everything else matches itself. RS receives the
    // result (none when the statement fails, with the error pending). True when
    // at least one record was found.
    bool Buscar_Registro(const QString& Tabla = QString(), const QString& Orden = QString());

    // Inserts the shown record. An empty code becomes the next free key of the
    // window's table, taken and used in one transaction so that two instances
    // never take the same one; a typed one is normalised to its number; either
    // is written back into the code field.
    // With Updatar, a failed insert turns into Modificar_Registro.
    bool Añadir_Registro(const QString& Tabla = QString(), bool Updatar = false);
    // Rewrites every bound field of the shown record; changing no row is a failure.
    // When the record is RS's current record, only while the table still holds it
    // as it was loaded there: otherwise nothing is written, the current record
    // takes the stored values, the fields the user had not changed take them
    // too, the others keep what was typed, and the user is told, with the
    // stored values that differ from what the user typed.
    bool Modificar_Registro(const QString& Tabla = QString());
    // Deletes one record by its key and re-queries RS; any table but the window's
    // own is refused. False when nothing was deleted or the last search was empty.
    // The current record of RS is deleted only as it was loaded, as in Modificar_Registro.
    bool Borrar_Registro(const QString& Tabla, int Codigo);

    // The next key: the highest value of StrCampo plus one, 1 when no row matches.
    // Empty when the query fails (the error is pending).
    std::optional<int> MaximoValor(const QString& StrTabla, const QString& StrCampo,
                                   const QString& condicion = QString(), const QVariantList& valores = {}) const;

    // Shows the pending database error, if any, and clears it.
    void VerPosibleError();
    // Focus to the first data field when it holds text or the code is locked,
    // otherwise to the code field.
    void EnviarFoco();
    // Scales a window designed for 640 by 480 to the screen.
    void Ajustar_Form(QWidget* ventana);

private:
    enum class Ejecucion { Hecha, Fallida, RegistroCambiado };

    bool AbrirConsulta(const QVariantList& valores);
    Ejecucion EjecutarSQL(const QString& sql, const QVariantList& valores, bool Updatar,
                          const QString& siCambiado = QString());
    // accion runs the statement and gives the rows it changed.
    Ejecucion EjecutarSQL(const std::function<bool(int*)>& accion, bool Updatar, const QString& siCambiado = QString());
    QHash<QString, QString> TextosCargados() const;
    void InformarCambiado(const QString& tabla, const QVariant& clave, const QHash<QString, QString>* cargados);
    bool CodigoTecleado();
    QVariantList ValoresMostrados() const;
    bool InsertarConCodigoNuevo(const QVariantList& valoresSinCodigo, int* filas);
    bool SeguirIntentando();
    // " WHERE " the key column " = ?", for the key's value bound last.
    QString CondicionClave() const;
    bool EsElActual(const QVariant& clave) const;
    QString CondicionCargada(const QVariant& clave, QVariantList& valores) const;
    QString TablaResuelta(const QString& tabla) const;
    void RefrescarActual(const QString& tabla, const QVariant& clave);
};

} // namespace corvela
