#include "cad/ScriptObra.h"

#include "cad/ProgresoScript.h"
#include "core/EscrituraSegura.h"
#include "core/TextoNumerico.h"
#include "records/AccesoDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"
#include "records/LectorFilas.h"

#include <QSqlError>

namespace corvela {

namespace {

// Points between two progress reports: often enough to answer a cancel at once,
// seldom enough to cost nothing.
constexpr qint64 kPuntosPorAviso = 4096;

using esquema::NombrePunto;

const QString kTabla = esquema::Nombre(esquema::kPuntos);
// The extent of the work's points in X and Y, and how many there are. Each
// extreme on its own reads one entry of the index on the work and that column,
// where the four together would read every point of the work.
QString Extremo(const char* funcion, esquema::ColumnaPunto columna)
{
    return QStringLiteral("(SELECT %1(%2) FROM %3 WHERE CODOBRA=?)")
        .arg(QLatin1String(funcion), NombrePunto(columna), kTabla);
}
const QString kLimites = QStringLiteral("SELECT %1, %2, %3, %4, (SELECT COUNT(*) FROM %5 WHERE CODOBRA=?)")
                             .arg(Extremo("MAX", esquema::kCc1), Extremo("MIN", esquema::kCc1),
                                  Extremo("MAX", esquema::kCc2), Extremo("MIN", esquema::kCc2), kTabla);
constexpr int kParametrosLimites = 5;
// In the order EscribirPunto takes them: the coordinates, the station, the point, its description.
const QString kPuntosDelScript =
    QStringLiteral("SELECT %1, CODEST, CODPUNTO, %2 FROM %3 WHERE CODOBRA=? ORDER BY CODEST, CODPUNTO")
        .arg(esquema::ColumnasPunto(esquema::kCc1, esquema::kCc3), NombrePunto(esquema::kResena), kTabla);

QString TextoLimite(const QVariant& valor)
{
    return ComaAPunto(ValorCampo(valor, QMetaType::Double));
}

} // namespace

bool LimitesObra(int codObra, QString& maxX, QString& minX, QString& maxY, QString& minY, qint64* puntos)
{
    auto consulta = AbrirLectura(kLimites, QVariantList(kParametrosLimites, codObra));
    if (!consulta)
        return false;
    if (!consulta->next()) {
        if (consulta->lastError().isValid())
            FijarError(consulta->lastError());
        return false;
    }
    const qint64 cuantos = consulta->value(4).toLongLong();
    if (puntos)
        *puntos = cuantos;
    if (cuantos == 0)
        return false;
    maxX = TextoLimite(consulta->value(0));
    minX = TextoLimite(consulta->value(1));
    maxY = TextoLimite(consulta->value(2));
    minY = TextoLimite(consulta->value(3));
    return true;
}

ResultadoScript EscribirScriptObra(int codObra, const PlantillaScript& plantilla, const DatosDibujo& datos,
                                   const QString& ruta, qint64 total, ProgresoScript* progreso, QString* detalle)
{
    EscrituraSegura fichero(ruta);
    if (!fichero.Abrir()) {
        if (detalle)
            *detalle = fichero.Error();
        return ResultadoScript::FalloEscritura;
    }
    EscritorScript escritor(plantilla, datos, fichero.Dispositivo());
    escritor.EscribirCabecera();
    qint64 escritos = 0;
    bool cancelado = false;
    const bool leido = LectorFilas::RecorrerMientras(kPuntosDelScript, {codObra}, [&](const FilaLeida& punto) {
        escritor.EscribirPunto(punto.Valor(0), punto.Valor(1), punto.Valor(2), punto.Valor(3), punto.Valor(4),
                               punto.Valor(5));
        ++escritos;
        cancelado = progreso && escritos % kPuntosPorAviso == 0 && !progreso->Avanzar(escritos, total);
        return !cancelado;
    });
    if (cancelado) {
        fichero.Cancelar();
        return ResultadoScript::Cancelado;
    }
    if (!leido) {
        fichero.Cancelar();
        return ResultadoScript::FalloLectura;
    }
    if (escritos == 0) {
        fichero.Cancelar();
        return ResultadoScript::SinPuntos;
    }
    if (!escritor.Terminar()) {
        if (detalle)
            *detalle = fichero.Dispositivo().errorString();
        fichero.Cancelar();
        return ResultadoScript::FalloEscritura;
    }
    if (!fichero.Confirmar()) {
        if (detalle)
            *detalle = fichero.Error();
        return ResultadoScript::FalloEscritura;
    }
    return ResultadoScript::Escrito;
}

} // namespace corvela
