#pragma once

#include <QString>
#include <vector>

namespace corvela {

// The particulars of the work whose field book is printed.
struct ObraListado
{
    int codigo = 0;
    QString expediente;
    QString descripcion;
    QString propietario;
    QString domicilio;
    QString poblacion;
    QString provincia;
    QString codigoPostal;
    QString telefono;
    QString fax;
    QString dni;
};

// One observed point; missing numbers read as 0.
struct PuntoListado
{
    int codigo = 0;
    QString resena;
    double lecturaMedia = 0;
    double lecturaSuperior = 0;
    double lecturaInferior = 0;
    double anguloHorizontal = 0;
    double anguloVertical = 0;
    double distancia = 0;
    double x = 0;
    double y = 0;
    double z = 0;
    QString notas;
};

// One station and the slice of the points observed from it.
struct EstacionListado
{
    int codigo = 0;
    QString descripcion;
    QString fecha;
    double altura = 0;
    double x = 0;
    double y = 0;
    double z = 0;
    int primerPunto = 0;
    int numeroPuntos = 0;
};

// The rows of the field book query of one work: the work left-joined with its
// stations, each left-joined with its points. The rows are read once, in station
// and point order, and kept grouped, so that the work's and each station's columns
// are held once instead of on every point row: a work of 100,000 points takes a
// few megabytes, and the report reads it as many times as it lays it out.
class ListadoObra
{
public:
    // Runs the query for one work code. False when it fails; the database error is pending.
    bool Abrir(double codigoObra);

    // Rows of the joined query: one per point, one per station without points,
    // one for a work without stations, none for a work that does not exist.
    int RecordCount() const { return filas_; }
    bool HayObra() const { return filas_ > 0; }

    const ObraListado& Obra() const { return obra_; }
    const std::vector<EstacionListado>& Estaciones() const { return estaciones_; }
    const std::vector<PuntoListado>& Puntos() const { return puntos_; }
    const PuntoListado& Punto(int indice) const { return puntos_[static_cast<size_t>(indice)]; }

private:
    void Vaciar();

    int filas_ = 0;
    ObraListado obra_;
    std::vector<EstacionListado> estaciones_;
    std::vector<PuntoListado> puntos_;
};

} // namespace corvela
