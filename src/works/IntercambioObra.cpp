#include "works/IntercambioObra.h"

#include "cad/ExportacionCad.h"
#include "cad/ExportacionDxf.h"
#include "cad/ProgresoDialogo.h"
#include "core/CursorEspera.h"
#include "core/Globales.h"
#include "core/Mensajes.h"
#include "core/Parametros.h"
#include "core/TextoNumerico.h"
#include "intercambio/ExportacionCsv.h"
#include "intercambio/ImportacionLecturas.h"
#include "records/ErrorDatos.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

namespace corvela {

namespace {

// Bad rows listed in the message; the rest are counted.
constexpr int kFilasMostradas = 15;

QString Nativa(const QString& ruta)
{
    return QDir::toNativeSeparators(ruta);
}

const QString kClaveCarpeta = QStringLiteral("Intercambio");

// The folder of the last file exchanged, else where the drawings go
// ("DESTINO"), else the user's documents: never the data folder, where the
// database's own files would be offered.
QString CarpetaPropuesta()
{
    for (const QString& carpeta : {LeerParametro(kClaveCarpeta), LeerParametro(QStringLiteral("DESTINO"))}) {
        if (!carpeta.isEmpty() && QDir(carpeta).exists())
            return carpeta;
    }
    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documentos).exists() ? documentos : QDir::homePath();
}

void RecordarCarpeta(const QString& fichero)
{
    const QString carpeta = QDir::toNativeSeparators(QFileInfo(fichero).absolutePath());
    if (carpeta != LeerParametro(kClaveCarpeta))
        GrabarParametro(kClaveCarpeta, carpeta);
}

QString NombrePropuesto(int obra, const QString& resto)
{
    return QDir(CarpetaPropuesta()).filePath(QStringLiteral("OBRA%1%2").arg(obra).arg(resto));
}

void Informar(const QString& texto)
{
    Dialogos().MsgBox(texto, Icono::Informacion);
}

void Avisar(const QString& texto)
{
    Dialogos().MsgBox(texto, Icono::Exclamacion);
}

void AvisarFallo(const QString& que, const QString& ruta, const QString& detalle)
{
    Avisar(QStringLiteral("No se pudo escribir ") + que + QStringLiteral(":") + SaltoDoble + Nativa(ruta) + SaltoDoble +
           detalle);
}

// The export has said why in detalle; its pending error goes.
void AvisarFalloLectura(int obra, const QString& detalle)
{
    LimpiarError();
    Avisar(QStringLiteral("No se pudieron leer los puntos de la OBRA ") + QString::number(obra) + QStringLiteral(".") +
           SaltoDoble + detalle);
}

void AvisarSinPuntos(int obra)
{
    Avisar(QStringLiteral("La OBRA ") + QString::number(obra) +
           QStringLiteral(" no tiene puntos: no hay nada que exportar."));
}

// The scale as typed (decimal point) and its value.
std::optional<std::pair<QString, double>> PedirEscala()
{
    const std::optional<QString> respuesta =
        Dialogos().InputBox(QStringLiteral("Escala de visualización ( 1: ??\?)"), EscalaGuardada());
    if (!respuesta)
        return std::nullopt;
    const std::optional<double> escala = NumeroCompleto(*respuesta);
    if (!escala || *escala <= 0) {
        Avisar(QStringLiteral("La escala debe ser un número mayor que cero."));
        return std::nullopt;
    }
    return std::pair{ComaAPunto(respuesta->trimmed()), *escala};
}

FormatoCsv PedirFormato()
{
    const Respuesta respuesta = Dialogos().MsgBox(
        QStringLiteral("¿Separar los campos con punto y coma y escribir los decimales con coma "
                       "(hojas de cálculo en español)?") +
            SaltoDoble + QStringLiteral("Pulse NO para separarlos con comas y escribir los decimales con punto."),
        Icono::Pregunta, Botones::SiNo);
    return respuesta == Respuesta::Si ? FormatoCsv{u';', u','} : FormatoCsv{u',', u'.'};
}

QString ListaErroneas(const QVector<FilaErronea>& erroneas)
{
    QString lista;
    for (int i = 0; i < erroneas.size() && i < kFilasMostradas; ++i)
        lista += QStringLiteral("Línea %1: %2\r\n").arg(erroneas[i].Linea).arg(erroneas[i].Motivo);
    if (erroneas.size() > kFilasMostradas)
        lista += QStringLiteral("... y %1 más.\r\n").arg(erroneas.size() - kFilasMostradas);
    return lista;
}

} // namespace

void ExportarDxfObra(int obra)
{
    const auto escala = PedirEscala();
    if (!escala)
        return;
    const std::optional<QString> ruta =
        Dialogos().GuardarFichero(QStringLiteral("Exportar DXF"), NombrePropuesto(obra, QStringLiteral(".dxf")),
                                  QStringLiteral("Dibujos DXF (*.dxf)"));
    if (!ruta)
        return;
    ResumenDxf resumen;
    QString detalle;
    ResultadoDxf resultado;
    {
        CursorEspera espera;
        ProgresoDialogo progreso(QStringLiteral("Exportando el dibujo DXF..."));
        resultado = EscribirDxfObra(obra, escala->second, *ruta, &progreso, &resumen, &detalle);
    }
    switch (resultado) {
    case ResultadoDxf::Escrito: {
        RecordarEscala(escala->first);
        RecordarCarpeta(*ruta);
        QString texto = QStringLiteral("Dibujo DXF escrito:") + SaltoDoble + Nativa(*ruta) + SaltoDoble +
                        QStringLiteral("%1 puntos de %2 estaciones.").arg(resumen.Puntos).arg(resumen.Estaciones);
        if (resumen.SinCoordenadas > 0)
            texto += SaltoDoble +
                     QStringLiteral("%1 puntos sin coordenadas no se han dibujado.").arg(resumen.SinCoordenadas);
        Informar(texto);
        break;
    }
    case ResultadoDxf::SinPuntos:
        AvisarSinPuntos(obra);
        break;
    case ResultadoDxf::Cancelado:
        break;
    case ResultadoDxf::FalloLectura:
        AvisarFalloLectura(obra, detalle);
        break;
    case ResultadoDxf::FalloEscritura:
        AvisarFallo(QStringLiteral("el dibujo DXF"), *ruta, detalle);
        break;
    }
}

void ExportarCsvObra(int obra, bool libretaCompleta)
{
    const FormatoCsv formato = PedirFormato();
    const std::optional<QString> ruta = Dialogos().GuardarFichero(
        QStringLiteral("Exportar CSV"),
        NombrePropuesto(obra, libretaCompleta ? QStringLiteral("-libreta.csv") : QStringLiteral("-puntos.csv")),
        QStringLiteral("Ficheros CSV (*.csv)"));
    if (!ruta)
        return;
    qint64 filas = 0;
    QString detalle;
    ResultadoCsv resultado;
    {
        CursorEspera espera;
        ProgresoDialogo progreso(QStringLiteral("Exportando el fichero CSV..."));
        resultado = libretaCompleta ? ExportarLibretaCsv(obra, formato, *ruta, &progreso, &filas, &detalle)
                                    : ExportarPuntosCsv(obra, formato, *ruta, &progreso, &filas, &detalle);
    }
    switch (resultado) {
    case ResultadoCsv::Escrito:
        RecordarCarpeta(*ruta);
        Informar(QStringLiteral("Fichero CSV escrito:") + SaltoDoble + Nativa(*ruta) + SaltoDoble +
                 QStringLiteral("%1 puntos.").arg(filas));
        break;
    case ResultadoCsv::SinPuntos:
        AvisarSinPuntos(obra);
        break;
    case ResultadoCsv::Cancelado:
        break;
    case ResultadoCsv::FalloLectura:
        AvisarFalloLectura(obra, detalle);
        break;
    case ResultadoCsv::FalloEscritura:
        AvisarFallo(QStringLiteral("el fichero CSV"), *ruta, detalle);
        break;
    }
}

bool ImportarLecturasEstacion(int obra, int estacion)
{
    const std::optional<QString> ruta =
        Dialogos().ElegirFichero(QStringLiteral("Importar Lecturas"), CarpetaPropuesta());
    if (!ruta || ruta->isEmpty())
        return false;
    AnalisisLecturas analisis;
    {
        CursorEspera espera;
        analisis = AnalizarLecturas(*ruta, obra, estacion);
    }
    const QString fichero = Nativa(*ruta);
    if (!analisis.ErrorFichero.isEmpty()) {
        Avisar(QStringLiteral("No se puede importar:") + SaltoDoble + fichero + SaltoDoble + analisis.ErrorFichero);
        return false;
    }
    if (!analisis.Erroneas.isEmpty()) {
        Avisar(QStringLiteral("%1 filas correctas y %2 erróneas en:")
                   .arg(analisis.Buenos.size())
                   .arg(analisis.Erroneas.size()) +
               SaltoDoble + fichero + SaltoDoble + ListaErroneas(analisis.Erroneas) + SaltoDoble +
               QStringLiteral("No se ha importado nada. Corrija el fichero y vuelva a importarlo."));
        return false;
    }
    if (analisis.Buenos.isEmpty()) {
        Avisar(QStringLiteral("El fichero no tiene lecturas:") + SaltoDoble + fichero);
        return false;
    }
    if (Dialogos().MsgBox(
            QStringLiteral("Se importarán %1 lecturas en la ESTACIÓN %2.").arg(analisis.Buenos.size()).arg(estacion) +
                SaltoDoble + QStringLiteral("¿Continuar?"),
            Icono::Pregunta, Botones::SiNo) != Respuesta::Si)
        return false;
    bool importadas = false;
    {
        CursorEspera espera;
        importadas = ImportarLecturas(analisis, obra, estacion);
    }
    if (!importadas) {
        Avisar(QStringLiteral("No se pudieron importar las lecturas:") + SaltoDoble + TextoError(ErrorPendiente()));
        LimpiarError();
        return false;
    }
    RecordarCarpeta(*ruta);
    Informar(QStringLiteral("%1 lecturas importadas en la ESTACIÓN %2.").arg(analisis.Buenos.size()).arg(estacion));
    return true;
}

} // namespace corvela
