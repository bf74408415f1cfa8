#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The names of the database (tables and columns, as resources/esquema.sql
// creates them) and the titles they are shown with, each written only here.
namespace corvela::esquema {

inline constexpr const char* kObras = "B_OBRAS";
inline constexpr const char* kEstaciones = "B_ESTACIONES";
inline constexpr const char* kPuntos = "B_PUNTOS";

// A column of B_OBRAS and the label of its field on the works card.
struct CampoObra
{
    const char* columna;
    const char* etiqueta;
};

// The bound fields of the works card, in their fixed order: the key first, the
// description of the work (the first field the user types) last.
inline constexpr std::array<CampoObra, 11> kCamposObra{{
    {"CODOBRA", "Código Cliente"},
    {"PROPIETARIO", "Nombre Cliente"},
    {"DOMICILIO", "Dirección Cliente"},
    {"POBLACION", "Población Cliente"},
    {"PROVINCIA", "Provincia Cliente"},
    {"CODIGOPOSTAL", "Código Postal"},
    {"TELEFONO", "Teléfono"},
    {"FAX", "FAX"},
    {"Expediente", "Expediente"},
    {"DNI", "D.N.I."},
    {"DESCOBRA", "Descripción Obra"},
}};

// The columns of B_PUNTOS in the table's order. The first twelve are one point as
// the field book lists it, in the columns of the list; the last two name its station.
enum ColumnaPunto {
    kCodPunto,
    kResena,
    kLectMed,
    kLectSup,
    kLectInf,
    kAngHor,
    kAngVer,
    kDistan,
    kCc1,
    kCc2,
    kCc3,
    kObserv,
    kCodObra,
    kCodEst,
    kColumnasPunto
};
// The columns of the points list: one point, without its station.
inline constexpr int kColumnasLista = kObserv + 1;

inline constexpr std::array<const char*, kColumnasPunto> kNombresPunto{
    "CODPUNTO", "RESENA", "LECTMED", "LECTSUP", "LECTINF", "ANGHOR",  "ANGVER",
    "DISTAN",   "CC1",    "CC2",     "CC3",     "OBSERV",  "CODOBRA", "CODEST"};

// The titles of the points list, on screen and in print.
inline constexpr std::array<const char*, kColumnasLista> kTitulosPunto{
    "Punto", "Reseña", "L.Med.", "L.Sup.", "L.Inf.", "Ang.H.", "Ang.V.", "Dist.", "X", "Y", "Z", "Notas"};

// A name above as the text a statement takes.
inline QString Nombre(const char* nombre)
{
    return QString::fromLatin1(nombre);
}

inline QString NombrePunto(ColumnaPunto columna)
{
    return Nombre(kNombresPunto[columna]);
}

inline QString TituloPunto(int columna)
{
    return QString::fromUtf8(kTitulosPunto[columna]);
}

// The point columns from primera to ultima, each written by patron (in which %1
// stands for the name) and joined by separador: ("%1=?", ",") gives "RESENA=?,LECTMED=?".
inline QString ColumnasPunto(ColumnaPunto primera, ColumnaPunto ultima, const QString& patron = QStringLiteral("%1"),
                             const QString& separador = QStringLiteral(", "))
{
    QStringList partes;
    for (int c = primera; c <= ultima; ++c)
        partes << patron.arg(NombrePunto(static_cast<ColumnaPunto>(c)));
    return partes.join(separador);
}

} // namespace corvela::esquema
