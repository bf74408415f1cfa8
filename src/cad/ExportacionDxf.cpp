#include "cad/ExportacionDxf.h"

#include "cad/EscritorDxf.h"
#include "cad/EtiquetaPunto.h"
#include "cad/ProgresoScript.h"
#include "core/EscrituraSegura.h"
#include "records/AccesoDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"

#include <QHash>
#include <QSqlError>
#include <QVector>
#include <algorithm>
#include <array>
#include <cmath>
#include <dl_dxf.h>
#include <memory>
#include <optional>

namespace corvela {

namespace {

// Points between two progress reports, as for the script.
constexpr qint64 kPuntosPorAviso = 4096;

// Labels stand 2.5 mm high on the paper, the usual height of a plan's notes;
// the drawing is in metres.
constexpr double kAlturaEnPapel = 0.0025;
// "Escala" is stored as a ratio; its default is 1:100.
constexpr double kEscalaPorDefecto = 0.01;

// A layer name of DXF R12: at most 31 letters, digits, "-", "_" and "$".
constexpr qsizetype kLargoCapa = 31;
const std::string kCapaEstaciones = "ESTACIONES";
constexpr int kColorEstaciones = 1; // red
// The stations' point layers take these in turn: blue, green, magenta, cyan, orange, white.
constexpr std::array<int, 6> kColoresPuntos = {5, 3, 6, 4, 30, 7};
constexpr int kColorPorCapa = 256;
// R12 reads at most 255 characters of a text.
constexpr qsizetype kLargoTexto = 255;

const QString kEstaciones =
    QStringLiteral("SELECT CODEST, DESCEST, COORDX, COORDY, COORDZ FROM B_ESTACIONES WHERE CODOBRA=? ORDER BY CODEST");
const QString kCuentaPuntos = QStringLiteral("SELECT COUNT(*) FROM B_PUNTOS WHERE CODOBRA=?");
// The extent of the points that are drawn; a missing Z is drawn at 0.
const QString kExtensionPuntos =
    QStringLiteral("SELECT MIN(CC1), MAX(CC1), MIN(CC2), MAX(CC2), MIN(COALESCE(CC3, 0)), MAX(COALESCE(CC3, 0)) "
                   "FROM B_PUNTOS WHERE CODOBRA=? AND CC1 IS NOT NULL AND CC2 IS NOT NULL");
const QString kPuntos = QStringLiteral(
    "SELECT CODEST, CODPUNTO, RESENA, CC1, CC2, CC3 FROM B_PUNTOS WHERE CODOBRA=? ORDER BY CODEST, CODPUNTO");

struct Punto3D
{
    double x = 0;
    double y = 0;
    double z = 0;
};

struct Estacion
{
    int codigo = 0;
    QString descripcion;
    std::optional<Punto3D> posicion;
    std::string capa;
};

struct Extension
{
    Punto3D minimo{1, 1, 1};
    Punto3D maximo{-1, -1, -1};
    bool Vacia() const { return minimo.x > maximo.x; }
    void Anadir(const Punto3D& p)
    {
        if (Vacia()) {
            minimo = maximo = p;
            return;
        }
        minimo = {std::min(minimo.x, p.x), std::min(minimo.y, p.y), std::min(minimo.z, p.z)};
        maximo = {std::max(maximo.x, p.x), std::max(maximo.y, p.y), std::max(maximo.z, p.z)};
    }
};

// The scale is the ratio the user gave (0.01 for 1:100); a value above 1 is the
// denominator the prompt "1: ???" asks for (500 for 1:500). Anything else is
// taken as the default 1:100.
double AlturaTexto(double escala)
{
    if (!std::isfinite(escala) || escala <= 0)
        escala = kEscalaPorDefecto;
    const double razon = escala > 1 ? 1 / escala : escala;
    return kAlturaEnPapel / razon;
}

// X and Y, and Z (0 when missing); none when X or Y is missing or not a number.
std::optional<Punto3D> Posicion(const QVariant& x, const QVariant& y, const QVariant& z)
{
    if (x.isNull() || y.isNull())
        return std::nullopt;
    const Punto3D p{x.toDouble(), y.toDouble(), z.isNull() ? 0.0 : z.toDouble()};
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        return std::nullopt;
    return p;
}

// "E" and the station's code, then "_" and its description with accents folded,
// in capitals, every run of other characters as one "_", cut to the length R12
// allows. The code is never cut and is followed by "_" or nothing, so no two
// stations share a name, nor any station the name of the stations' layer.
std::string NombreCapa(int codigo, const QString& descripcion)
{
    QString nombre = QStringLiteral("E") + QString::number(codigo);
    QString limpia;
    for (const QChar c : descripcion.normalized(QString::NormalizationForm_KD)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        const char16_t u = c.unicode();
        const bool valido = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' ||
                            u == '_' || u == '$';
        if (valido)
            limpia.append(c.toUpper());
        else if (!limpia.isEmpty() && !limpia.endsWith(QLatin1Char('_')))
            limpia.append(QLatin1Char('_'));
    }
    while (limpia.endsWith(QLatin1Char('_')))
        limpia.chop(1);
    if (!limpia.isEmpty())
        nombre += QLatin1Char('_') + limpia;
    return nombre.left(kLargoCapa).toStdString();
}

// A label as a DXF text holds it: a caret is written "^ " (a caret and a
// character stand for a control character), other control characters, which no
// text can show, as "?".
std::string TextoDxf(const QByteArray& etiqueta)
{
    std::string texto;
    texto.reserve(static_cast<std::size_t>(etiqueta.size()) + 4);
    for (const char c : etiqueta) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '^')
            texto += "^ ";
        else if (u < 0x20 || u == 0x7F)
            texto += '?';
        else
            texto += c;
        if (static_cast<qsizetype>(texto.size()) >= kLargoTexto)
            break;
    }
    if (static_cast<qsizetype>(texto.size()) > kLargoTexto)
        texto.resize(static_cast<std::size_t>(kLargoTexto) - 1); // never half a "^ "
    return texto;
}

std::string EtiquetaEstacion(const Estacion& estacion)
{
    QByteArray etiqueta = "E" + QByteArray::number(estacion.codigo);
    if (!estacion.descripcion.isEmpty()) {
        etiqueta.append('/');
        AnadirDescripcionEtiqueta(estacion.descripcion, etiqueta);
    }
    return TextoDxf(etiqueta);
}

bool FallarLectura(const QSqlError& error, QString* detalle)
{
    if (error.isValid())
        FijarError(error);
    if (detalle)
        *detalle = TextoError(ErrorPendiente());
    return false;
}

bool LeerEstaciones(int codObra, QVector<Estacion>& estaciones, Extension& extension, QString* detalle)
{
    auto consulta = AbrirLectura(kEstaciones, {codObra});
    if (!consulta)
        return FallarLectura(QSqlError(), detalle);
    while (consulta->next()) {
        Estacion estacion;
        estacion.codigo = consulta->value(0).toInt();
        estacion.descripcion = consulta->value(1).toString();
        estacion.posicion = Posicion(consulta->value(2), consulta->value(3), consulta->value(4));
        estacion.capa = NombreCapa(estacion.codigo, estacion.descripcion);
        if (estacion.posicion)
            extension.Anadir(*estacion.posicion);
        estaciones.push_back(std::move(estacion));
    }
    if (consulta->lastError().isValid())
        return FallarLectura(consulta->lastError(), detalle);
    return true;
}

// The number of points, and the extent of those with coordinates added to extension.
bool LeerExtensionPuntos(int codObra, qint64& total, Extension& extension, QString* detalle)
{
    auto cuenta = AbrirLectura(kCuentaPuntos, {codObra});
    if (!cuenta)
        return FallarLectura(QSqlError(), detalle);
    if (!cuenta->next())
        return FallarLectura(cuenta->lastError(), detalle);
    total = cuenta->value(0).toLongLong();
    auto limites = AbrirLectura(kExtensionPuntos, {codObra});
    if (!limites)
        return FallarLectura(QSqlError(), detalle);
    if (!limites->next())
        return FallarLectura(limites->lastError(), detalle);
    if (!limites->value(0).isNull()) {
        const auto minimo = Posicion(limites->value(0), limites->value(2), limites->value(4));
        const auto maximo = Posicion(limites->value(1), limites->value(3), limites->value(5));
        if (minimo && maximo) {
            extension.Anadir(*minimo);
            extension.Anadir(*maximo);
        }
    }
    return true;
}

void EscribirVariable(const EscritorDxf& dw, const char* nombre, const Punto3D& p, bool conZ = true)
{
    dw.dxfString(9, nombre);
    dw.dxfReal(10, p.x);
    dw.dxfReal(20, p.y);
    if (conZ)
        dw.dxfReal(30, p.z);
}

void EscribirCabecera(DL_Dxf& dxf, EscritorDxf& dw, const Extension& extension, double altura)
{
    const Extension caja = extension.Vacia() ? Extension{{0, 0, 0}, {0, 0, 0}} : extension;
    dxf.writeHeader(dw);
    // Texts are in the Windows Latin code page.
    dw.dxfString(9, "$DWGCODEPAGE");
    dw.dxfString(3, "ANSI_1252");
    EscribirVariable(dw, "$INSBASE", {0, 0, 0});
    EscribirVariable(dw, "$EXTMIN", caja.minimo);
    EscribirVariable(dw, "$EXTMAX", caja.maximo);
    EscribirVariable(dw, "$LIMMIN", caja.minimo, false);
    EscribirVariable(dw, "$LIMMAX", caja.maximo, false);
    dw.dxfString(9, "$TEXTSIZE");
    dw.dxfReal(40, altura);
    // Points are drawn as a small cross, half a label high.
    dw.dxfString(9, "$PDMODE");
    dw.dxfInt(70, 3);
    dw.dxfString(9, "$PDSIZE");
    dw.dxfReal(40, altura / 2);
    dw.sectionEnd();
}

void EscribirTablas(DL_Dxf& dxf, EscritorDxf& dw, const QVector<Estacion>& estaciones, double altura)
{
    dw.sectionTables();
    dw.tableLinetypes(1);
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();

    dw.tableLayers(static_cast<int>(estaciones.size()) + 2);
    const DL_Attributes continua(std::string(), 7, 0, "CONTINUOUS", 1.0);
    dxf.writeLayer(dw, DL_LayerData("0", 0), continua);
    dxf.writeLayer(dw, DL_LayerData(kCapaEstaciones, 0),
                   DL_Attributes(std::string(), kColorEstaciones, 0, "CONTINUOUS", 1.0));
    for (qsizetype i = 0; i < estaciones.size(); ++i) {
        const int color = kColoresPuntos[static_cast<std::size_t>(i) % kColoresPuntos.size()];
        dxf.writeLayer(dw, DL_LayerData(estaciones[i].capa, 0),
                       DL_Attributes(std::string(), color, 0, "CONTINUOUS", 1.0));
    }
    dw.tableEnd();

    dw.tableStyle(1);
    dxf.writeStyle(dw, DL_StyleData("STANDARD", 0, 0.0, 1.0, 0.0, 0, altura, "txt", ""));
    dw.tableEnd();
    dw.sectionEnd();
}

void EscribirMarca(DL_Dxf& dxf, EscritorDxf& dw, const Punto3D& p, const std::string& texto, double altura,
                   const std::string& capa)
{
    const DL_Attributes atributos(capa, kColorPorCapa, 0, "BYLAYER", 1.0);
    dxf.writePoint(dw, DL_PointData(p.x, p.y, p.z), atributos);
    dxf.writeText(dw, DL_TextData(p.x, p.y, p.z, p.x, p.y, p.z, altura, 1.0, 0, 0, 0, texto, "STANDARD", 0.0),
                  atributos);
}

} // namespace

ResultadoDxf EscribirDxfObra(int codObra, double escala, const QString& ruta, ProgresoScript* progreso,
                             ResumenDxf* resumen, QString* detalle)
{
    ResumenDxf cuenta;
    QVector<Estacion> estaciones;
    Extension extension;
    qint64 total = 0;
    if (!LeerEstaciones(codObra, estaciones, extension, detalle) ||
        !LeerExtensionPuntos(codObra, total, extension, detalle))
        return ResultadoDxf::FalloLectura;
    if (total == 0)
        return ResultadoDxf::SinPuntos;
    auto puntos = AbrirLectura(kPuntos, {codObra});
    if (!puntos) {
        FallarLectura(QSqlError(), detalle);
        return ResultadoDxf::FalloLectura;
    }

    EscrituraSegura fichero(ruta);
    if (!fichero.Abrir()) {
        if (detalle)
            *detalle = fichero.Error();
        return ResultadoDxf::FalloEscritura;
    }
    const double altura = AlturaTexto(escala);
    DL_Dxf dxf;
    // libdxflib takes the version of what it writes only from out(), which
    // opens no file for an empty name.
    std::unique_ptr<DL_WriterA>(dxf.out("", DL_Codes::AC1009));
    EscritorDxf dw(fichero.Dispositivo());
    EscribirCabecera(dxf, dw, extension, altura);
    EscribirTablas(dxf, dw, estaciones, altura);
    dw.sectionEntities();

    QHash<int, std::string> capas;
    for (const Estacion& estacion : estaciones) {
        capas.insert(estacion.codigo, estacion.capa);
        if (!estacion.posicion)
            continue;
        EscribirMarca(dxf, dw, *estacion.posicion, EtiquetaEstacion(estacion), altura, kCapaEstaciones);
        ++cuenta.Estaciones;
    }

    qint64 leidos = 0;
    QByteArray etiqueta;
    while (puntos->next()) {
        const auto posicion = Posicion(puntos->value(3), puntos->value(4), puntos->value(5));
        if (posicion) {
            etiqueta.resize(0);
            AnadirEtiquetaPunto(puntos->value(0), puntos->value(1), puntos->value(2), etiqueta);
            EscribirMarca(dxf, dw, *posicion, TextoDxf(etiqueta), altura, capas.value(puntos->value(0).toInt(), "0"));
            ++cuenta.Puntos;
        } else {
            ++cuenta.SinCoordenadas;
        }
        ++leidos;
        if (progreso && leidos % kPuntosPorAviso == 0 && !progreso->Avanzar(leidos, total)) {
            fichero.Cancelar();
            return ResultadoDxf::Cancelado;
        }
    }
    if (puntos->lastError().isValid()) {
        FallarLectura(puntos->lastError(), detalle);
        fichero.Cancelar();
        return ResultadoDxf::FalloLectura;
    }
    dw.sectionEnd();
    dw.dxfEOF();
    if (!dw.Volcar()) {
        if (detalle)
            *detalle = fichero.Dispositivo().errorString();
        fichero.Cancelar();
        return ResultadoDxf::FalloEscritura;
    }
    if (!fichero.Confirmar()) {
        if (detalle)
            *detalle = fichero.Error();
        return ResultadoDxf::FalloEscritura;
    }
    if (resumen)
        *resumen = cuenta;
    return ResultadoDxf::Escrito;
}

} // namespace corvela
