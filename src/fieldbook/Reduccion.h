#pragma once

#include <QString>

// Tacheometric reduction of one stadia observation and the check of its three
// wire readings. Angles are in grads (400 to the circle); the vertical angle is a
// zenith angle and the horizontal one an azimuth from +Y towards +X. Lengths are
// in one unit throughout.
//
// Every text made here is meant for the field book's entry row, whose fields
// always take the decimal comma, whatever the user's regional settings.
namespace corvela {

// The stored constant of the field book, not the full double-precision pi: the
// figures of surveys already taken depend on it.
constexpr double kPi = 3.14159265358979;
constexpr double kMultiplicadorEstadimetrico = 100.0;

// Separator of the numbers in the entry row.
QString SeparadorEntrada();

// General number text (15 significant digits, no trailing zeros) with the comma.
QString TextoEntrada(double valor);
// A value laid out by a display pattern ("0.000", "##0.0##"...) with the comma.
QString PatronEntrada(double valor, const QString& patron);

// Grads to radians as the field book has always done it: to degrees by 360 then
// 400, then by the quotient pi / 180, each bracket rounded to a double.
double GradosARadianes(double grados);

double CoordenadaX(double angulo, double distancia, double base);
double CoordenadaY(double angulo, double distancia, double base);
// x in radians; 0 where the tangent is exactly 0 instead of dividing by it.
double Cotangente(double x);
double CoordenadaZ(double altura, double media, double angulo, double distancia, double base);

// Horizontal distance 100 (upper - lower) sin^2 V in the distance format
// (FormatoDistancia, "###0.0#").
QString LaDistancia(double superior, double inferior, double vertical);

// The station the observations are made from.
struct DatosEstacion
{
    double Altura = 0.0; // instrument height above the mark
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

struct ResultadoReduccion
{
    QString Distancia; // as the entry row shows it, at most two decimals
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

// The coordinates come from the distance as shown, rounded, not from the
// unrounded product: that is what the field book has always stored.
ResultadoReduccion ReducirObservacion(double media, double superior, double inferior, double horizontal,
                                      double vertical, const DatosEstacion& estacion);

// One wire reading of the entry row.
struct Lectura
{
    QString Texto;         // as its field shows it
    double Valor = 0.0;    // the number it stands for
    bool Guardada = false; // Valor is a stored value that Texto only shows rounded
};

Lectura LecturaDeTexto(const QString& texto);

// The wire check: the readings must satisfy lower < middle < upper. A failure is
// reported once, with the text of the last test that failed. Then, when the
// middle reading is not the mean of the other two as text in "0.000", the user is
// asked whether to keep it; No replaces it with that mean. Returns the mean text;
// ok tells whether the readings passed, whatever the answer.
QString MediaLectura(Lectura& media, const Lectura& superior, const Lectura& inferior, bool& ok);

// On leaving the lower reading: the check, then an empty middle reading is filled
// with the mean in "##0.0##".
void CompletarLecturaMedia(Lectura& media, const Lectura& superior, const Lectura& inferior);

} // namespace corvela
