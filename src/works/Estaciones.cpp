#include "works/Estaciones.h"

#include "records/AccesoDatos.h"
#include "records/ErrorDatos.h"

#include <QSqlQuery>

namespace corvela {

namespace {

QVariant Numero(const QVariant& v)
{
    return v.isNull() ? QVariant(QMetaType(QMetaType::Double)) : QVariant(v.toDouble());
}

constexpr int kErrorSinFilas = 3167;

}  // namespace

std::optional<QVector<Estacion>> LeerEstaciones(int codObra)
{
    auto q = AbrirLectura(QStringLiteral("SELECT CODOBRA, CODEST, DESCEST, FECHA, ALTAPAR, COORDX, COORDY, COORDZ "
                                         "FROM B_ESTACIONES WHERE CODOBRA = ?"),
                          {codObra});
    if (!q)
        return std::nullopt;
    QVector<Estacion> estaciones;
    while (q->next()) {
        Estacion e;
        e.CodObra = q->value(0).toInt();
        e.CodEst = q->value(1).toInt();
        e.Descripcion = q->value(2).toString();
        e.Fecha = q->value(3).toString();
        for (int i = 0; i < 4; ++i)
            e.Valores[i] = Numero(q->value(4 + i));
        estaciones.push_back(e);
    }
    return estaciones;
}

bool InsertarEstacion(Estacion& estacion)
{
    Transaccion transaccion;
    if (!transaccion.Iniciada())
        return false;
    const auto codigo = MaximoValor(QStringLiteral("B_ESTACIONES"), QStringLiteral("CODEST"),
                                    QStringLiteral(" WHERE CODOBRA = ?"), {estacion.CodObra});
    if (!codigo)
        return false;
    const bool hecho = EjecutarAccion(
        QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST, FECHA, ALTAPAR, COORDX, COORDY, COORDZ) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
        {estacion.CodObra, *codigo, estacion.Descripcion, estacion.Fecha, estacion.Valores[0], estacion.Valores[1],
         estacion.Valores[2], estacion.Valores[3]});
    if (!hecho || !transaccion.Confirmar())
        return false;
    estacion.CodEst = *codigo;
    return true;
}

bool ActualizarEstacion(const Estacion& estacion)
{
    int filas = 0;
    if (!EjecutarAccion(QStringLiteral("UPDATE B_ESTACIONES SET DESCEST = ?, FECHA = ?, ALTAPAR = ?, COORDX = ?, "
                                       "COORDY = ?, COORDZ = ? WHERE CODOBRA = ? AND CODEST = ?"),
                        {estacion.Descripcion, estacion.Fecha, estacion.Valores[0], estacion.Valores[1],
                         estacion.Valores[2], estacion.Valores[3], estacion.CodObra, estacion.CodEst},
                        &filas))
        return false;
    if (filas == 0) {
        FijarError(kErrorSinFilas, QStringLiteral("La estación ya no existe en la base de datos."));
        return false;
    }
    return true;
}

Borrado BorrarEstacion(int codObra, int codEst)
{
    Transaccion transaccion;
    if (!transaccion.Iniciada())
        return Borrado::Fallida;
    {
        auto puntos = AbrirLectura(QStringLiteral("SELECT 1 FROM B_PUNTOS WHERE CODOBRA = ? AND CODEST = ? LIMIT 1"),
                                   {codObra, codEst});
        if (!puntos)
            return Borrado::Fallida;
        if (puntos->next())
            return Borrado::TienePuntos;
    }
    int filas = 0;
    if (!EjecutarAccion(QStringLiteral("DELETE FROM B_ESTACIONES WHERE CODOBRA = ? AND CODEST = ?"), {codObra, codEst},
                        &filas))
        return Borrado::Fallida;
    if (filas == 0) {
        FijarError(kErrorSinFilas, QStringLiteral("La estación ya no existe en la base de datos."));
        return Borrado::Fallida;
    }
    return transaccion.Confirmar() ? Borrado::Borrada : Borrado::Fallida;
}

}  // namespace corvela
