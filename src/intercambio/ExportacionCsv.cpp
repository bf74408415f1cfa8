#include "intercambio/ExportacionCsv.h"

#include "cad/ProgresoScript.h"
#include "core/EscrituraSegura.h"
#include "intercambio/TextoCsv.h"
#include "records/AccesoDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace corvela {

namespace {

// Points between two progress reports, as in the CAD script.
constexpr qint64 kPuntosPorAviso = 4096;
// Bytes gathered before each write: the safe writer holds nothing back itself.
constexpr qsizetype kBloque = 64 * 1024;

using esquema::ColumnasPunto;
using esquema::NombrePunto;

const QString kTabla = esquema::Nombre(esquema::kPuntos);

const QString kCuenta = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE CODOBRA=?").arg(kTabla);

const QString kPuntosPnezd = QStringLiteral("SELECT CODEST, CODPUNTO, %1, %2, %3, %4 FROM %5 WHERE CODOBRA=? "
                                            "ORDER BY CODEST, CODPUNTO")
                                 .arg(NombrePunto(esquema::kCc2), NombrePunto(esquema::kCc1),
                                      NombrePunto(esquema::kCc3), NombrePunto(esquema::kResena), kTabla);

// Every point with its station; a point whose station is missing keeps empty station fields.
const QString kLibreta =
    QStringLiteral("SELECT P.CODOBRA, P.CODEST, E.DESCEST, E.FECHA, E.ALTAPAR, E.COORDX, E.COORDY, E.COORDZ, %1 "
                   "FROM %2 P LEFT JOIN %3 E ON E.CODOBRA=P.CODOBRA AND E.CODEST=P.CODEST "
                   "WHERE P.CODOBRA=? ORDER BY P.CODEST, P.CODPUNTO")
        .arg(ColumnasPunto(esquema::kCodPunto, esquema::kObserv, QStringLiteral("P.%1")), kTabla,
             esquema::Nombre(esquema::kEstaciones));

// The station's captions are the stations list's; the point's, the field book's entry row's,
// which are the columns the readings import looks for.
const QStringList kCabeceraLibreta{
    QStringLiteral("C. Obra"),  QStringLiteral("C. Estc."),  QStringLiteral("Descripción"), QStringLiteral("Fecha"),
    QStringLiteral("Altura"),   QStringLiteral("C. X"),      QStringLiteral("C. Y"),        QStringLiteral("C. Z"),
    QStringLiteral("Punto"),    QStringLiteral("Reseña"),    QStringLiteral("Media"),       QStringLiteral("Superior"),
    QStringLiteral("Inferior"), QStringLiteral("Angulo H."), QStringLiteral("A. Vert."),    QStringLiteral("Distancia"),
    QStringLiteral("X"),        QStringLiteral("Y"),         QStringLiteral("Z"),           QStringLiteral("Notas")};

const QStringList kCabeceraPnezd{QStringLiteral("Punto"), QStringLiteral("Norte (Y)"), QStringLiteral("Este (X)"),
                                 QStringLiteral("Cota (Z)"), QStringLiteral("Reseña")};

const QByteArray kFinLinea = QByteArrayLiteral("\r\n");

// The text of one row from the current record of the query.
using FilaCsv = QString (*)(const QSqlQuery& consulta, const FormatoCsv& formato);

QString FilaPnezd(const QSqlQuery& q, const FormatoCsv& f)
{
    const QString nombre = q.value(0).toString() + u'-' + q.value(1).toString();
    QStringList campos{CampoCsv(nombre, f.Separador)};
    for (int i = 2; i < 6; ++i)
        campos << ValorCsv(q.value(i), f.Separador, f.Decimal);
    return campos.join(f.Separador);
}

QString FilaLibreta(const QSqlQuery& q, const FormatoCsv& f)
{
    QStringList campos;
    for (int i = 0; i < kCabeceraLibreta.size(); ++i)
        campos << ValorCsv(q.value(i), f.Separador, f.Decimal);
    return campos.join(f.Separador);
}

QString Cabecera(const QStringList& titulos, const FormatoCsv& f)
{
    QStringList campos;
    for (const QString& titulo : titulos)
        campos << CampoCsv(titulo, f.Separador);
    return campos.join(f.Separador);
}

std::optional<qint64> PuntosDeObra(int codObra)
{
    auto cuenta = AbrirLectura(kCuenta, {codObra});
    if (!cuenta)
        return std::nullopt;
    if (!cuenta->next()) {
        FijarError(cuenta->lastError());
        return std::nullopt;
    }
    return cuenta->value(0).toLongLong();
}

ResultadoCsv FalloEscritura(EscrituraSegura& fichero, QString* detalle)
{
    if (detalle)
        *detalle = fichero.Error().isEmpty() ? fichero.Dispositivo().errorString() : fichero.Error();
    fichero.Cancelar();
    return ResultadoCsv::FalloEscritura;
}

bool Volcar(EscrituraSegura& fichero, QByteArray& bloque)
{
    const bool escrito = EscrituraSegura::EscribirTodo(fichero.Dispositivo(), bloque.constData(), bloque.size());
    bloque.clear();
    return escrito;
}

// Writes the header and one row per point of the query, in blocks, reporting progress.
ResultadoCsv Escribir(QSqlQuery& consulta, const QString& cabecera, FilaCsv fila, const FormatoCsv& formato,
                      EscrituraSegura& fichero, qint64 total, ProgresoScript* progreso, qint64& escritas,
                      QString* detalle)
{
    QByteArray bloque = cabecera.toUtf8() + kFinLinea;
    bloque.reserve(kBloque + 4096);
    while (consulta.next()) {
        bloque += fila(consulta, formato).toUtf8();
        bloque += kFinLinea;
        ++escritas;
        if (bloque.size() >= kBloque && !Volcar(fichero, bloque))
            return FalloEscritura(fichero, detalle);
        if (progreso && escritas % kPuntosPorAviso == 0 && !progreso->Avanzar(escritas, total)) {
            fichero.Cancelar();
            return ResultadoCsv::Cancelado;
        }
    }
    if (consulta.lastError().isValid()) {
        FijarError(consulta.lastError());
        fichero.Cancelar();
        return ResultadoCsv::FalloLectura;
    }
    if (!Volcar(fichero, bloque))
        return FalloEscritura(fichero, detalle);
    return fichero.Confirmar() ? ResultadoCsv::Escrito : FalloEscritura(fichero, detalle);
}

ResultadoCsv EscribirFichero(const QString& sql, const QStringList& titulos, FilaCsv fila, int codObra,
                             const FormatoCsv& formato, const QString& ruta, ProgresoScript* progreso, qint64* filas,
                             QString* detalle);

// detalle also says why the points could not be read; the error stays pending.
ResultadoCsv Exportar(const QString& sql, const QStringList& titulos, FilaCsv fila, int codObra,
                      const FormatoCsv& formato, const QString& ruta, ProgresoScript* progreso, qint64* filas,
                      QString* detalle)
{
    const ResultadoCsv resultado =
        EscribirFichero(sql, titulos, fila, codObra, formato, ruta, progreso, filas, detalle);
    if (resultado == ResultadoCsv::FalloLectura && detalle)
        *detalle = TextoError(ErrorPendiente());
    return resultado;
}

ResultadoCsv EscribirFichero(const QString& sql, const QStringList& titulos, FilaCsv fila, int codObra,
                             const FormatoCsv& formato, const QString& ruta, ProgresoScript* progreso, qint64* filas,
                             QString* detalle)
{
    qint64 escritas = 0;
    if (filas)
        *filas = 0;
    const std::optional<qint64> total = PuntosDeObra(codObra);
    if (!total)
        return ResultadoCsv::FalloLectura;
    if (*total == 0)
        return ResultadoCsv::SinPuntos;
    auto consulta = AbrirLectura(sql, {codObra});
    if (!consulta)
        return ResultadoCsv::FalloLectura;
    EscrituraSegura fichero(ruta);
    if (!fichero.Abrir()) {
        if (detalle)
            *detalle = fichero.Error();
        return ResultadoCsv::FalloEscritura;
    }
    const ResultadoCsv resultado =
        Escribir(*consulta, Cabecera(titulos, formato), fila, formato, fichero, *total, progreso, escritas, detalle);
    if (filas && resultado == ResultadoCsv::Escrito)
        *filas = escritas;
    return resultado;
}

} // namespace

ResultadoCsv ExportarPuntosCsv(int codObra, const FormatoCsv& formato, const QString& ruta, ProgresoScript* progreso,
                               qint64* filas, QString* detalle)
{
    return Exportar(kPuntosPnezd, kCabeceraPnezd, FilaPnezd, codObra, formato, ruta, progreso, filas, detalle);
}

ResultadoCsv ExportarLibretaCsv(int codObra, const FormatoCsv& formato, const QString& ruta, ProgresoScript* progreso,
                                qint64* filas, QString* detalle)
{
    return Exportar(kLibreta, kCabeceraLibreta, FilaLibreta, codObra, formato, ruta, progreso, filas, detalle);
}

} // namespace corvela
