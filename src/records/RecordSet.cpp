#include "records/RecordSet.h"

#include "core/TextoNumerico.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace corvela {

namespace {

void SinRegistroActual()
{
    FijarError(kErrorSinRegistroActual, QStringLiteral("No hay un registro activo."));
}

} // namespace

RecordSet RecordSet::Abrir(const QString& sql, const QVariantList& valores)
{
    RecordSet rs;
    rs.sql_ = sql;
    rs.valores_ = valores;
    rs.Leer();
    return rs;
}

bool RecordSet::Leer()
{
    filas_.clear();
    nombres_.clear();
    actual_ = -1;
    QSqlQuery q(BaseDatos());
    q.setForwardOnly(true);
    valido_ = q.prepare(sql_);
    for (const QVariant& v : valores_)
        q.addBindValue(v);
    valido_ = valido_ && q.exec();
    if (!valido_) {
        FijarError(q.lastError());
        return ReabrirSiPerdida() && Leer();
    }
    const QSqlRecord registro = q.record();
    for (int i = 0; i < registro.count(); ++i)
        nombres_ << registro.fieldName(i);
    while (q.next()) {
        QVector<QVariant> fila(registro.count());
        for (int i = 0; i < registro.count(); ++i)
            fila[i] = q.value(i);
        filas_.push_back(std::move(fila));
    }
    actual_ = 0;
    return true;
}

bool RecordSet::HayActual() const
{
    return actual_ >= 0 && actual_ < RecordCount();
}

void RecordSet::MoveFirst()
{
    if (filas_.isEmpty())
        return SinRegistroActual();
    actual_ = 0;
}

void RecordSet::MoveLast()
{
    if (filas_.isEmpty())
        return SinRegistroActual();
    actual_ = RecordCount() - 1;
}

void RecordSet::MoveNext()
{
    if (Eof())
        return SinRegistroActual();
    ++actual_;
}

void RecordSet::MovePrevious()
{
    if (Bof() || filas_.isEmpty())
        return SinRegistroActual();
    --actual_;
}

int RecordSet::AbsolutePosition() const
{
    return HayActual() ? actual_ : -1;
}

void RecordSet::SetAbsolutePosition(int posicion)
{
    if (posicion < 0 || posicion >= RecordCount())
        return SinRegistroActual();
    actual_ = posicion;
}

bool RecordSet::Requery()
{
    return Leer();
}

void RecordSet::SustituirActual(const RecordSet& fila)
{
    if (!HayActual() || fila.filas_.isEmpty())
        return;
    for (int i = 0; i < fila.NumeroCampos(); ++i) {
        const int destino = Indice(fila.NombreCampo(i));
        if (destino >= 0)
            filas_[actual_][destino] = fila.filas_.first()[i];
    }
}

int RecordSet::Indice(const QString& campo) const
{
    for (int i = 0; i < nombres_.size(); ++i) {
        if (nombres_[i].compare(campo, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant RecordSet::Valor(int indice) const
{
    if (!HayActual()) {
        SinRegistroActual();
        return QVariant();
    }
    if (indice < 0 || indice >= NumeroCampos()) {
        FijarError(3265, QStringLiteral("Elemento no encontrado en esta colección."));
        return QVariant();
    }
    return filas_[actual_][indice];
}

QVariant RecordSet::Valor(const QString& campo) const
{
    return Valor(Indice(campo));
}

QVariant RecordSet::ValorCampo(const QString& campo) const
{
    return corvela::ValorCampo(Valor(campo), Tipo(campo));
}

int RecordSet::TamanoDeclarado(const QString& campo) const
{
    return LongitudColumna(campo);
}

QMetaType::Type RecordSet::Tipo(const QString& campo) const
{
    return TipoColumna(campo);
}

} // namespace corvela
