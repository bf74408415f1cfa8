#include "informe/ListadoObra.h"

#include "core/TextoNumerico.h"
#include "records/Esquema.h"
#include "records/LectorFilas.h"

namespace corvela {

namespace {

// Both joins are left joins, so a station without points and a work without
// stations still give one row. The order makes the groups of the printed book.
const QString kConsulta =
    QStringLiteral("SELECT O.CODOBRA, O.Expediente, O.DESCOBRA, O.PROPIETARIO, O.DOMICILIO, O.POBLACION, O.PROVINCIA, "
                   "O.CODIGOPOSTAL, O.TELEFONO, O.FAX, O.DNI, "
                   "E.CODEST, E.DESCEST, E.FECHA, E.ALTAPAR, E.COORDX, E.COORDY, E.COORDZ, %4 "
                   "FROM (%1 O LEFT JOIN %2 E ON O.CODOBRA = E.CODOBRA) "
                   "LEFT JOIN %3 P ON (E.CODOBRA = P.CODOBRA) AND (E.CODEST = P.CODEST) "
                   "WHERE O.CODOBRA = ? "
                   "ORDER BY E.CODEST, P.CODPUNTO")
        .arg(esquema::Nombre(esquema::kObras), esquema::Nombre(esquema::kEstaciones), esquema::Nombre(esquema::kPuntos),
             esquema::ColumnasPunto(esquema::kCodPunto, esquema::kObserv, QStringLiteral("P.%1")));

// Column positions in the query above; the point's columns follow the station's.
enum Columna {
    kCodObra,
    kExpediente,
    kDescObra,
    kPropietario,
    kDomicilio,
    kPoblacion,
    kProvincia,
    kCodigoPostal,
    kTelefono,
    kFax,
    kDni,
    kCodEst,
    kDescEst,
    kFecha,
    kAltaPar,
    kCoordX,
    kCoordY,
    kCoordZ,
    kPrimeraDelPunto
};

int DelPunto(esquema::ColumnaPunto columna)
{
    return kPrimeraDelPunto + columna;
}

double Numero(const FilaLeida& q, int columna)
{
    return ValorNumerico(q.Valor(columna));
}

QString Texto(const FilaLeida& q, int columna)
{
    return q.Texto(columna);
}

ObraListado LeerObra(const FilaLeida& q)
{
    ObraListado obra;
    obra.codigo = static_cast<int>(q.Entero(kCodObra));
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

EstacionListado LeerEstacion(const FilaLeida& q, int primerPunto)
{
    EstacionListado estacion;
    estacion.codigo = static_cast<int>(q.Entero(kCodEst));
    estacion.descripcion = Texto(q, kDescEst);
    estacion.fecha = Texto(q, kFecha);
    estacion.altura = Numero(q, kAltaPar);
    estacion.x = Numero(q, kCoordX);
    estacion.y = Numero(q, kCoordY);
    estacion.z = Numero(q, kCoordZ);
    estacion.primerPunto = primerPunto;
    return estacion;
}

PuntoListado LeerPunto(const FilaLeida& q)
{
    PuntoListado punto;
    punto.codigo = static_cast<int>(q.Entero(DelPunto(esquema::kCodPunto)));
    punto.resena = Texto(q, DelPunto(esquema::kResena));
    punto.lecturaMedia = Numero(q, DelPunto(esquema::kLectMed));
    punto.lecturaSuperior = Numero(q, DelPunto(esquema::kLectSup));
    punto.lecturaInferior = Numero(q, DelPunto(esquema::kLectInf));
    punto.anguloHorizontal = Numero(q, DelPunto(esquema::kAngHor));
    punto.anguloVertical = Numero(q, DelPunto(esquema::kAngVer));
    punto.distancia = Numero(q, DelPunto(esquema::kDistan));
    punto.x = Numero(q, DelPunto(esquema::kCc1));
    punto.y = Numero(q, DelPunto(esquema::kCc2));
    punto.z = Numero(q, DelPunto(esquema::kCc3));
    punto.notas = Texto(q, DelPunto(esquema::kObserv));
    return punto;
}

} // namespace

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
    return LectorFilas::Recorrer(kConsulta, {codigoObra}, [this](const FilaLeida& q) {
        if (filas_++ == 0)
            obra_ = LeerObra(q);
        if (q.EsNulo(kCodEst))
            return;
        const int codigoEstacion = static_cast<int>(q.Entero(kCodEst));
        if (estaciones_.empty() || estaciones_.back().codigo != codigoEstacion)
            estaciones_.push_back(LeerEstacion(q, static_cast<int>(puntos_.size())));
        if (q.EsNulo(DelPunto(esquema::kCodPunto)))
            return;
        puntos_.push_back(LeerPunto(q));
        ++estaciones_.back().numeroPuntos;
    });
}

} // namespace corvela
