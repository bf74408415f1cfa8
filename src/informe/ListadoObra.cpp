#include "informe/ListadoObra.h"

#include "core/TextoNumerico.h"
#include "records/AccesoDatos.h"

#include <QSqlQuery>

namespace corvela {

namespace {

// Both joins are left joins, so a station without points and a work without
// stations still give one row. The order makes the groups of the printed book.
const QString kConsulta = QStringLiteral(
    "SELECT B_OBRAS.CODOBRA, B_OBRAS.Expediente, B_OBRAS.DESCOBRA, B_OBRAS.PROPIETARIO, B_OBRAS.DOMICILIO, "
    "B_OBRAS.POBLACION, B_OBRAS.PROVINCIA, B_OBRAS.CODIGOPOSTAL, B_OBRAS.TELEFONO, B_OBRAS.FAX, B_OBRAS.DNI, "
    "B_ESTACIONES.CODEST, B_ESTACIONES.DESCEST, B_ESTACIONES.FECHA, B_ESTACIONES.ALTAPAR, "
    "B_ESTACIONES.COORDX, B_ESTACIONES.COORDY, B_ESTACIONES.COORDZ, "
    "B_PUNTOS.CODPUNTO, B_PUNTOS.RESENA, B_PUNTOS.LECTMED, B_PUNTOS.LECTSUP, B_PUNTOS.LECTINF, "
    "B_PUNTOS.ANGHOR, B_PUNTOS.ANGVER, B_PUNTOS.DISTAN, B_PUNTOS.CC1, B_PUNTOS.CC2, B_PUNTOS.CC3, "
    "B_PUNTOS.OBSERV "
    "FROM (B_OBRAS LEFT JOIN B_ESTACIONES ON B_OBRAS.CODOBRA = B_ESTACIONES.CODOBRA) "
    "LEFT JOIN B_PUNTOS ON (B_ESTACIONES.CODOBRA = B_PUNTOS.CODOBRA) AND (B_ESTACIONES.CODEST = B_PUNTOS.CODEST) "
    "WHERE B_OBRAS.CODOBRA = ? "
    "ORDER BY B_ESTACIONES.CODEST, B_PUNTOS.CODPUNTO");

// Column positions in the query above.
enum Columna {
    kCodObra, kExpediente, kDescObra, kPropietario, kDomicilio, kPoblacion, kProvincia, kCodigoPostal,
    kTelefono, kFax, kDni,
    kCodEst, kDescEst, kFecha, kAltaPar, kCoordX, kCoordY, kCoordZ,
    kCodPunto, kResena, kLectMed, kLectSup, kLectInf, kAngHor, kAngVer, kDistan, kCc1, kCc2, kCc3, kObserv
};

double Numero(const QSqlQuery& q, int columna)
{
    return ValorNumerico(q.value(columna));
}

QString Texto(const QSqlQuery& q, int columna)
{
    return q.value(columna).toString();
}

ObraListado LeerObra(const QSqlQuery& q)
{
    ObraListado obra;
    obra.codigo = q.value(kCodObra).toInt();
    obra.expediente = Texto(q, kExpediente);
    obra.descripcion = Texto(q, kDescObra);
    obra.propietario = Texto(q, kPropietario);
    obra.domicilio = Texto(q, kDomicilio);
    obra.poblacion = Texto(q, kPoblacion);
    obra.provincia = Texto(q, kProvincia);
    obra.codigoPostal = Texto(q, kCodigoPostal);
    obra.telefono = Texto(q, kTelefono);
    obra.fax = Texto(q, kFax);
    obra.dni = Texto(q, kDni);
    return obra;
}

EstacionListado LeerEstacion(const QSqlQuery& q, int primerPunto)
{
    EstacionListado estacion;
    estacion.codigo = q.value(kCodEst).toInt();
    estacion.descripcion = Texto(q, kDescEst);
    estacion.fecha = Texto(q, kFecha);
    estacion.altura = Numero(q, kAltaPar);
    estacion.x = Numero(q, kCoordX);
    estacion.y = Numero(q, kCoordY);
    estacion.z = Numero(q, kCoordZ);
    estacion.primerPunto = primerPunto;
    return estacion;
}

PuntoListado LeerPunto(const QSqlQuery& q)
{
    PuntoListado punto;
    punto.codigo = q.value(kCodPunto).toInt();
    punto.resena = Texto(q, kResena);
    punto.lecturaMedia = Numero(q, kLectMed);
    punto.lecturaSuperior = Numero(q, kLectSup);
    punto.lecturaInferior = Numero(q, kLectInf);
    punto.anguloHorizontal = Numero(q, kAngHor);
    punto.anguloVertical = Numero(q, kAngVer);
    punto.distancia = Numero(q, kDistan);
    punto.x = Numero(q, kCc1);
    punto.y = Numero(q, kCc2);
    punto.z = Numero(q, kCc3);
    punto.notas = Texto(q, kObserv);
    return punto;
}

}  // namespace

void ListadoObra::Vaciar()
{
    filas_ = 0;
    obra_ = ObraListado();
    estaciones_.clear();
    estaciones_.shrink_to_fit();
    puntos_.clear();
    puntos_.shrink_to_fit();
}

bool ListadoObra::Abrir(double codigoObra)
{
    Vaciar();
    auto q = AbrirLectura(kConsulta, {codigoObra});
    if (!q)
        return false;
    while (q->next()) {
        if (filas_++ == 0)
            obra_ = LeerObra(*q);
        if (q->isNull(kCodEst))
            continue;
        const int codigoEstacion = q->value(kCodEst).toInt();
        if (estaciones_.empty() || estaciones_.back().codigo != codigoEstacion)
            estaciones_.push_back(LeerEstacion(*q, static_cast<int>(puntos_.size())));
        if (q->isNull(kCodPunto))
            continue;
        puntos_.push_back(LeerPunto(*q));
        ++estaciones_.back().numeroPuntos;
    }
    return true;
}

}  // namespace corvela
