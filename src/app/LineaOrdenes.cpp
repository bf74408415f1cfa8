#include "app/LineaOrdenes.h"

#include "cad/ExportacionCad.h"
#include "cad/ExportacionDxf.h"
#include "cad/ProgresoScript.h"
#include "core/TextoNumerico.h"
#include "intercambio/ExportacionCsv.h"
#include "intercambio/ImportacionLecturas.h"
#include "records/AccesoDatos.h"
#include "records/ErrorDatos.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace corvela {

namespace {

const QString kOpcionExportar = QStringLiteral("exportar");
const QString kOpcionImportar = QStringLiteral("importar-lecturas");

// Nobody watches a run without windows, and nobody can cancel it.
class SinProgreso : public ProgresoScript
{
public:
    bool Avanzar(qint64, qint64) override { return true; }
};

int Fallo(const QString& texto)
{
    std::fprintf(stderr, "%s\n", qPrintable(texto));
    return 1;
}

void Decir(const QString& texto)
{
    std::printf("%s\n", qPrintable(texto));
}

std::optional<int> Codigo(const QString& texto)
{
    bool correcto = false;
    const int codigo = texto.trimmed().toInt(&correcto);
    return correcto && codigo > 0 ? std::optional<int>(codigo) : std::nullopt;
}

bool Existe(const QString& sql, const QVariantList& valores)
{
    auto consulta = AbrirLectura(sql, valores);
    return consulta && consulta->next();
}

QString Nativa(const QString& ruta)
{
    return QDir::toNativeSeparators(QFileInfo(ruta).absoluteFilePath());
}

QString ErrorBaseDatos()
{
    const ErrorDatos error = ErrorPendiente();
    LimpiarError();
    return QString::number(error.Numero) + QStringLiteral("-") + error.Descripcion;
}

std::optional<FormatoCsv> Formato(const QString& separador)
{
    if (separador == QLatin1String("punto-y-coma"))
        return FormatoCsv{u';', u','};
    if (separador == QLatin1String("coma"))
        return FormatoCsv{u',', u'.'};
    return std::nullopt;
}

int InformarCsv(ResultadoCsv resultado, qint64 filas, const QString& fichero, const QString& detalle)
{
    switch (resultado) {
    case ResultadoCsv::Escrito:
        Decir(QStringLiteral("%1 filas escritas en %2").arg(filas).arg(Nativa(fichero)));
        return 0;
    case ResultadoCsv::SinPuntos:
        return Fallo(QStringLiteral("La OBRA no tiene puntos: no se ha escrito nada."));
    case ResultadoCsv::FalloLectura:
        LimpiarError();
        return Fallo(QStringLiteral("No se pudieron leer los puntos: %1").arg(detalle));
    case ResultadoCsv::Cancelado:
    case ResultadoCsv::FalloEscritura:
        break;
    }
    return Fallo(QStringLiteral("No se pudo escribir %1: %2").arg(Nativa(fichero), detalle));
}

} // namespace

LineaOrdenes::LineaOrdenes()
    : datos_(QStringLiteral("datos"), QStringLiteral("Carpeta de datos (base de datos, parámetros, script CAD)."),
             QStringLiteral("carpeta")),
      baseDatos_(QStringLiteral("base-datos"),
                 QStringLiteral("Base de datos de esta ejecución en lugar de la de los parámetros: sqlite (la de la "
                                "carpeta de datos) o postgresql://[usuario@][servidor][:puerto][/base]."),
                 QStringLiteral("base")),
      copiar_(QStringLiteral("copiar-al-servidor"),
              QStringLiteral("Copia las obras de la base de datos local (Corvelax.db de la carpeta de datos) en la "
                             "base de datos PostgreSQL, que no debe tener obras, sin abrir ventanas.")),
      comprobar_(
          QStringLiteral("comprobar"),
          QStringLiteral("Arranca hasta la ficha de obras, escribe las carpetas y la base de datos en uso y termina.")),
      exportar_(kOpcionExportar,
                QStringLiteral("Exporta la OBRA al FICHERO sin abrir ventanas: dxf (dibujo DXF R12), csv (puntos "
                               "P,N,E,Z,D), csv-libreta (libreta completa) o scr (script de AUTOCAD)."),
                QStringLiteral("formato")),
      importar_(kOpcionImportar,
                QStringLiteral("Importa las lecturas del FICHERO CSV en la ESTACION de la OBRA sin abrir ventanas.")),
      separador_(QStringLiteral("separador"),
                 QStringLiteral("CSV: punto-y-coma (con coma decimal, por defecto) o coma (con punto decimal)."),
                 QStringLiteral("separador"), QStringLiteral("punto-y-coma")),
      dibujo_(QStringLiteral("dibujo"),
              QStringLiteral("scr: nombre del dibujo (por defecto, el del FICHERO sin extensión)."),
              QStringLiteral("nombre")),
      escala_(QStringLiteral("escala"),
              QStringLiteral("dxf y scr: escala de visualización (por defecto, la última usada)."),
              QStringLiteral("escala"))
{
    opciones_.setApplicationDescription(QStringLiteral("Libreta de campo taquimétrica"));
    opciones_.addHelpOption();
    for (const QCommandLineOption* opcion :
         {&datos_, &baseDatos_, &copiar_, &comprobar_, &exportar_, &importar_, &separador_, &dibujo_, &escala_})
        opciones_.addOption(*opcion);
    opciones_.addPositionalArgument(
        QStringLiteral("OBRA"), QStringLiteral("Código de la obra que se exporta o importa."), QStringLiteral("[OBRA"));
    opciones_.addPositionalArgument(QStringLiteral("ESTACION"),
                                    QStringLiteral("Código de la estación (solo con --importar-lecturas)."),
                                    QStringLiteral("[ESTACION]"));
    opciones_.addPositionalArgument(QStringLiteral("FICHERO"),
                                    QStringLiteral("Fichero que se escribe, o del que se leen las lecturas."),
                                    QStringLiteral("FICHERO]"));
}

bool LineaOrdenes::PideSinVentanas(const QStringList& argumentos)
{
    for (const QString& argumento : argumentos.mid(1)) {
        if (argumento == QLatin1String("--"))
            break;
        const QString nombre = argumento.section(u'=', 0, 0);
        for (const char* opcion :
             {"--exportar", "--importar-lecturas", "--copiar-al-servidor", "-h", "--help", "--help-all", "-?"}) {
            if (nombre == QLatin1String(opcion))
                return true;
        }
    }
    return false;
}

bool LineaOrdenes::Leer(const QStringList& argumentos)
{
    if (!opciones_.parse(argumentos)) {
        error_ = opciones_.errorText();
        return false;
    }
    if (!opciones_.isSet(baseDatos_))
        return true;
    base_ = DestinoSegunTexto(opciones_.value(baseDatos_), QString(), error_);
    return base_.has_value();
}

bool LineaOrdenes::PideAyuda() const
{
    return opciones_.isSet(QStringLiteral("help")) || opciones_.isSet(QStringLiteral("help-all"));
}

std::optional<QString> LineaOrdenes::CarpetaIndicada() const
{
    return opciones_.isSet(datos_) ? std::optional<QString>(opciones_.value(datos_)) : std::nullopt;
}

bool LineaOrdenes::Comprobar() const
{
    return opciones_.isSet(comprobar_);
}

bool LineaOrdenes::CopiarAlServidor() const
{
    return opciones_.isSet(copiar_);
}

int LineaOrdenes::Ejecutar() const
{
    return opciones_.isSet(exportar_) ? Exportar() : Importar();
}

int LineaOrdenes::Exportar() const
{
    const QStringList argumentos = opciones_.positionalArguments();
    if (argumentos.size() != 2)
        return Fallo(QStringLiteral("Uso: --exportar {dxf|csv|csv-libreta|scr} OBRA FICHERO"));
    const std::optional<int> obra = Codigo(argumentos[0]);
    if (!obra || !Existe(QStringLiteral("SELECT 1 FROM B_OBRAS WHERE CODOBRA=?"), {*obra}))
        return Fallo(QStringLiteral("No existe la OBRA %1.").arg(argumentos[0]));
    const QString& fichero = argumentos[1];
    const QString formato = opciones_.value(exportar_);
    if (formato == QLatin1String("csv") || formato == QLatin1String("csv-libreta"))
        return ExportarCsv(*obra, formato == QLatin1String("csv-libreta"), fichero);
    if (formato != QLatin1String("scr") && formato != QLatin1String("dxf"))
        return Fallo(QStringLiteral("Formato desconocido: %1 (dxf, csv, csv-libreta o scr)").arg(formato));
    // Only drawings take the scale: a stored one the CSV files never use must not stop them.
    const QString escala = opciones_.isSet(escala_) ? opciones_.value(escala_) : EscalaGuardada();
    const std::optional<double> valorEscala = NumeroCompleto(escala);
    if (!valorEscala || *valorEscala <= 0)
        return Fallo(QStringLiteral("Escala no válida: %1").arg(escala));
    return formato == QLatin1String("scr") ? ExportarScript(*obra, escala, fichero)
                                           : ExportarDxf(*obra, *valorEscala, fichero);
}

int LineaOrdenes::ExportarScript(int obra, const QString& escala, const QString& fichero) const
{
    const QString dibujo = opciones_.isSet(dibujo_) ? opciones_.value(dibujo_) : QFileInfo(fichero).completeBaseName();
    SinProgreso progreso;
    if (!EscribirScript(QString::number(obra), escala, dibujo, fichero, progreso))
        return 1;
    Decir(QStringLiteral("Script de AUTOCAD escrito en %1").arg(Nativa(fichero)));
    return 0;
}

int LineaOrdenes::ExportarDxf(int obra, double escala, const QString& fichero) const
{
    SinProgreso progreso;
    ResumenDxf resumen;
    QString detalle;
    switch (EscribirDxfObra(obra, escala, fichero, &progreso, &resumen, &detalle)) {
    case ResultadoDxf::Escrito:
        Decir(QStringLiteral("DXF escrito en %1: %2 puntos de %3 estaciones; %4 sin coordenadas.")
                  .arg(Nativa(fichero))
                  .arg(resumen.Puntos)
                  .arg(resumen.Estaciones)
                  .arg(resumen.SinCoordenadas));
        return 0;
    case ResultadoDxf::SinPuntos:
        return Fallo(QStringLiteral("La OBRA %1 no tiene puntos: no se ha escrito nada.").arg(obra));
    case ResultadoDxf::FalloLectura:
        LimpiarError();
        return Fallo(QStringLiteral("No se pudieron leer los puntos: %1").arg(detalle));
    case ResultadoDxf::Cancelado:
    case ResultadoDxf::FalloEscritura:
        break;
    }
    return Fallo(QStringLiteral("No se pudo escribir %1: %2").arg(Nativa(fichero), detalle));
}

int LineaOrdenes::ExportarCsv(int obra, bool libreta, const QString& fichero) const
{
    const std::optional<FormatoCsv> csv = Formato(opciones_.value(separador_));
    if (!csv)
        return Fallo(
            QStringLiteral("Separador desconocido: %1 (punto-y-coma o coma)").arg(opciones_.value(separador_)));
    SinProgreso progreso;
    qint64 filas = 0;
    QString detalle;
    const ResultadoCsv resultado = libreta ? ExportarLibretaCsv(obra, *csv, fichero, &progreso, &filas, &detalle)
                                           : ExportarPuntosCsv(obra, *csv, fichero, &progreso, &filas, &detalle);
    return InformarCsv(resultado, filas, fichero, detalle);
}

int LineaOrdenes::Importar() const
{
    const QStringList argumentos = opciones_.positionalArguments();
    if (argumentos.size() != 3)
        return Fallo(QStringLiteral("Uso: --importar-lecturas OBRA ESTACION FICHERO"));
    const std::optional<int> obra = Codigo(argumentos[0]);
    const std::optional<int> estacion = Codigo(argumentos[1]);
    if (!obra || !estacion ||
        !Existe(QStringLiteral("SELECT 1 FROM B_ESTACIONES WHERE CODOBRA=? AND CODEST=?"), {*obra, *estacion}))
        return Fallo(QStringLiteral("No existe la ESTACIÓN %1 de la OBRA %2.").arg(argumentos[1], argumentos[0]));
    const AnalisisLecturas analisis = AnalizarLecturas(argumentos[2], *obra, *estacion);
    if (!analisis.ErrorFichero.isEmpty())
        return Fallo(QStringLiteral("No se puede importar %1: %2").arg(Nativa(argumentos[2]), analisis.ErrorFichero));
    for (const FilaErronea& fila : analisis.Erroneas)
        std::fprintf(stderr, "línea %d: %s\n", fila.Linea, qPrintable(fila.Motivo));
    if (!analisis.Erroneas.isEmpty())
        return Fallo(QStringLiteral("%1 filas erróneas y %2 correctas: no se ha importado nada.")
                         .arg(analisis.Erroneas.size())
                         .arg(analisis.Buenos.size()));
    if (!analisis.Aceptable())
        return Fallo(QStringLiteral("El fichero no tiene lecturas: no se ha importado nada."));
    if (!ImportarLecturas(analisis, *obra, *estacion))
        return Fallo(QStringLiteral("No se pudieron importar las lecturas: %1").arg(ErrorBaseDatos()));
    Decir(QStringLiteral("%1 lecturas importadas en la ESTACIÓN %2 de la OBRA %3.")
              .arg(analisis.Buenos.size())
              .arg(*estacion)
              .arg(*obra));
    return 0;
}

} // namespace corvela
