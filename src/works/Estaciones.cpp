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

// A null text would bind as a missing value.
QString Texto(const QString& texto)
{
    return texto.isNull() ? QStringLiteral("") : texto;
}

// The station as it was loaded; a missing text was read as the empty one.
const QString kComoSeCargo = QStringLiteral(
    " WHERE CODOBRA = ? AND CODEST = ? AND COALESCE(DESCEST, '') = ? AND COALESCE(FECHA, '') = ? "
    "AND ALTAPAR IS NOT DISTINCT FROM ? AND COORDX IS NOT DISTINCT FROM ? AND COORDY IS NOT DISTINCT FROM ? "
    "AND COORDZ IS NOT DISTINCT FROM ?");

QVariantList ComoSeCargo(const Estacion& e)
{
    return {e.CodObra,    e.CodEst,     Texto(e.Descripcion), Texto(e.Fecha),
            e.Valores[0], e.Valores[1], e.Valores[2],         e.Valores[3]};
}

void FijarEstacionCambiada(const Estacion& cargada, const QString& consecuencia)
{
    FijarError(kErrorRegistroCambiado,
               TextoRegistroCambiado(QStringLiteral("La estación ") + QString::number(cargada.CodEst),
                                     QStringLiteral("se cargó la lista"), QStringLiteral("la ha modificado o borrado"),
                                     consecuencia));
}

} // namespace

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

bool ActualizarEstacion(const Estacion& estacion, const Estacion& cargada)
{
    int filas = 0;
    if (!EjecutarAccion(QStringLiteral("UPDATE B_ESTACIONES SET DESCEST = ?, FECHA = ?, ALTAPAR = ?, COORDX = ?, "
                                       "COORDY = ?, COORDZ = ?") +
                            kComoSeCargo,
                        QVariantList{Texto(estacion.Descripcion), Texto(estacion.Fecha), estacion.Valores[0],
                                     estacion.Valores[1], estacion.Valores[2], estacion.Valores[3]} +
                            ComoSeCargo(cargada),
                        &filas))
        return false;
    if (filas == 0) {
        FijarEstacionCambiada(cargada,
                              QStringLiteral("No se ha grabado nada. La lista muestra lo grabado ahora y el editor lo "
                                             "toma en lo que usted no había cambiado; si vuelve a grabar, se grabará "
                                             "lo demás como usted lo escribió."));
        return false;
    }
    return true;
}

Borrado BorrarEstacion(const Estacion& cargada)
{
    Transaccion transaccion;
    if (!transaccion.Iniciada())
        return Borrado::Fallida;
    {
        auto puntos = AbrirLectura(QStringLiteral("SELECT 1 FROM B_PUNTOS WHERE CODOBRA = ? AND CODEST = ? LIMIT 1"),
                                   {cargada.CodObra, cargada.CodEst});
        if (!puntos)
            return Borrado::Fallida;
        if (puntos->next())
            return Borrado::TienePuntos;
    }
    int filas = 0;
    if (!EjecutarAccion(QStringLiteral("DELETE FROM B_ESTACIONES") + kComoSeCargo, ComoSeCargo(cargada), &filas))
        return Borrado::Fallida;
    if (filas == 0) {
        FijarEstacionCambiada(cargada, QStringLiteral("No se ha borrado nada."));
        return Borrado::Fallida;
    }
    return transaccion.Confirmar() ? Borrado::Borrada : Borrado::Fallida;
}

} // namespace corvela
