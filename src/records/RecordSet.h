#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace corvela {

// The result of a query, read once, with the navigation of the classic record
// sets: a current record between the beginning-of-file and end-of-file marks,
// moves in both directions, a 0-based absolute position (-1 with no current
// record) and Requery, which runs the statement again. A move or a read with no
// current record leaves the pending error 3021.
class RecordSet
{
public:
    RecordSet() = default;

    // Runs a read statement with its bound values; on failure the result is not
    // valid and the database error is pending.
    static RecordSet Abrir(const QString& sql, const QVariantList& valores = {});

    bool Valido() const { return valido_; }
    int RecordCount() const { return static_cast<int>(filas_.size()); }
    // Both are true for an empty result.
    bool Eof() const { return filas_.isEmpty() || actual_ >= RecordCount(); }
    bool Bof() const { return filas_.isEmpty() || actual_ < 0; }

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    int AbsolutePosition() const;
    void SetAbsolutePosition(int posicion);
    bool Requery();
    // Takes the values of the first record of fila into the current record, column
    // by column name: a record rewritten in the table shows its new values here.
    void SustituirActual(const RecordSet& fila);

    int NumeroCampos() const { return static_cast<int>(nombres_.size()); }
    QString NombreCampo(int indice) const { return nombres_.value(indice); }
    bool TieneCampo(const QString& campo) const { return Indice(campo) >= 0; }
    QVariant Valor(const QString& campo) const;
    QVariant Valor(int indice) const;
    // The value with a missing value read as 0 or the empty text, by the column's type.
    QVariant ValorCampo(const QString& campo) const;
    int TamanoDeclarado(const QString& campo) const;
    QMetaType::Type Tipo(const QString& campo) const;

private:
    int Indice(const QString& campo) const;
    bool HayActual() const;
    bool Leer();

    QString sql_;
    QVariantList valores_;
    QStringList nombres_;
    QVector<QVector<QVariant>> filas_;
    int actual_ = -1;
    bool valido_ = false;
};

} // namespace corvela
