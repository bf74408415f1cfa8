#include "cad/ExportacionCad.h"

#include "cad/ProgresoDialogo.h"
#include "cad/ScriptObra.h"
#include "core/CursorEspera.h"
#include "core/Globales.h"
#include "core/Lanzador.h"
#include "core/Mensajes.h"
#include "core/Parametros.h"
#include "core/TextoNumerico.h"
#include "records/ErrorDatos.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

namespace corvela {

namespace {

const QString kClavePrograma = QStringLiteral("AUTOCAD");
const QString kClaveDestino = QStringLiteral("DESTINO");
const QString kClaveEscala = QStringLiteral("Escala");
const QString kEscalaPorDefecto = QStringLiteral("0.01");

void Avisar(const QString& texto)
{
    Dialogos().MsgBox(texto, Icono::Exclamacion);
}

void AvisarErrorLectura(int obra)
{
    const ErrorDatos error = ErrorPendiente();
    LimpiarError();
    Avisar(QStringLiteral("No se pudieron leer los puntos de la OBRA ") + QString::number(obra) + QStringLiteral(".") +
           SaltoDoble + QString::number(error.Numero) + QStringLiteral("-") + error.Descripcion);
}

void AvisarSinPuntos(int obra)
{
    Avisar(QStringLiteral("La OBRA ") + QString::number(obra) +
           QStringLiteral(" no tiene puntos: no hay nada que llevar a AUTOCAD."));
}

// An answer to a prompt; empty when the user cancels or answers nothing. Line
// breaks of a pasted answer go: one would start a line of its own in the
// settings file and in the script.
std::optional<QString> PedirTexto(const QString& pregunta, const QString& porDefecto)
{
    std::optional<QString> respuesta = Dialogos().InputBox(pregunta, porDefecto);
    if (!respuesta)
        return std::nullopt;
    const QString texto = respuesta->remove(u'\r').remove(u'\n').trimmed();
    if (texto.isEmpty())
        return std::nullopt;
    return texto;
}

// The template in the data folder, where the user edits it; our own goes there
// the first time.
void PonerPlantillaPorDefecto(const QString& ruta)
{
    if (QFile::exists(ruta))
        return;
    if (QFile::copy(RutaRecurso(QStringLiteral("plantillas/ScriptAutoCad.Ini")), ruta))
        QFile::setPermissions(ruta, QFile::permissions(ruta) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

std::optional<PlantillaScript> CargarPlantilla()
{
    const QString ruta = RutaPlantilla();
    PonerPlantillaPorDefecto(ruta);
    QFile fichero(ruta);
    if (!fichero.exists()) {
        Avisar(QStringLiteral("No se encuentra la plantilla del script de AUTOCAD:") + SaltoDoble +
               QDir::toNativeSeparators(ruta));
        return std::nullopt;
    }
    if (!fichero.open(QIODevice::ReadOnly)) {
        Avisar(QStringLiteral("No se puede leer la plantilla del script de AUTOCAD:") + SaltoDoble +
               QDir::toNativeSeparators(ruta) + SaltoDoble + fichero.errorString());
        return std::nullopt;
    }
    std::optional<PlantillaScript> plantilla = PlantillaScript::DesdeBytes(fichero.readAll());
    if (!plantilla) {
        Avisar(QStringLiteral("La plantilla del script de AUTOCAD no tiene el bloque del punto "
                              "entre \"[\" y \"]\":") +
               SaltoDoble + QDir::toNativeSeparators(ruta));
    }
    return plantilla;
}

QString ConSeparadorFinal(const QString& carpeta)
{
    QString ruta = QDir::toNativeSeparators(carpeta);
    if (!ruta.endsWith(QDir::separator()))
        ruta += QDir::separator();
    return ruta;
}

} // namespace

QString RutaScript()
{
    return QDir::toNativeSeparators(RutaDatos(QStringLiteral("SCRIPT.SCR")));
}

QString RutaPlantilla()
{
    return RutaDatos(QStringLiteral("ScriptAutoCad.Ini"));
}

void MostrarRutas(QAbstractButton* botonPrograma, QAbstractButton* botonDestino)
{
    botonPrograma->setToolTip(LeerParametro(kClavePrograma));
    botonDestino->setToolTip(LeerParametro(kClaveDestino));
}

bool ElegirProgramaCad()
{
    const QString guardado = LeerParametro(kClavePrograma);
    const std::optional<QString> elegido =
        Dialogos().ElegirFichero(QStringLiteral("Configuracion Corvela Geoda"), guardado);
    if (!elegido || elegido->isEmpty())
        return false;
    return GrabarParametro(kClavePrograma, QDir::toNativeSeparators(*elegido));
}

bool ElegirDestinoCad()
{
    const QString guardado = LeerParametro(kClaveDestino);
    const QString titulo = guardado.isEmpty() ? QStringLiteral("Ruta Destino Archivo AUTOCAD") : guardado;
    const std::optional<QString> elegida = Dialogos().ElegirCarpeta(titulo, guardado);
    if (!elegida || elegida->isEmpty())
        return false;
    return GrabarParametro(kClaveDestino, ConSeparadorFinal(*elegida));
}

bool GenerarAutoCad(const QString& codigoObra, ProgresoScript* progreso)
{
    const QString script = RutaScript();
    // Without a new script, the one on disk may be an earlier export of another work.
    if (!CrearScript(codigoObra, script, progreso))
        return false;
    const QString programa = LeerParametro(kClavePrograma);
    if (programa.isEmpty()) {
        QClipboard* portapapeles = QGuiApplication::clipboard();
        portapapeles->clear();
        portapapeles->setText(script);
        Dialogos().MsgBox(QStringLiteral("Ejecute desde Autocad el 'SCRIPT':") + script, Icono::Informacion);
        return true;
    }
    if (!Programas().Iniciar(programa, {script})) {
        Avisar(QStringLiteral("No se pudo iniciar AUTOCAD:") + SaltoDoble + programa + SaltoDoble +
               QStringLiteral("Revise la \"Ruta Instalación AUTOCAD\" o ejecute desde Autocad el 'SCRIPT':") +
               SaltoDoble + script);
        return false;
    }
    return true;
}

namespace {

// What a script needs before the user is asked anything: the work, its limits
// and the template.
struct Preparacion
{
    int Obra = 0;
    qint64 Puntos = 0;
    DatosDibujo Datos;
    std::optional<PlantillaScript> Plantilla;
};

std::optional<Preparacion> Preparar(const QString& codigoObra)
{
    Preparacion preparacion;
    bool esCodigo = false;
    preparacion.Obra = codigoObra.trimmed().toInt(&esCodigo);
    if (!esCodigo) {
        Avisar(QStringLiteral("Busque antes la OBRA que desea llevar a AUTOCAD."));
        return std::nullopt;
    }
    QString maxX, minX, maxY, minY;
    preparacion.Puntos = -1;
    if (!LimitesObra(preparacion.Obra, maxX, minX, maxY, minY, &preparacion.Puntos)) {
        if (preparacion.Puntos == 0)
            AvisarSinPuntos(preparacion.Obra);
        else
            AvisarErrorLectura(preparacion.Obra);
        return std::nullopt;
    }
    preparacion.Plantilla = CargarPlantilla();
    if (!preparacion.Plantilla)
        return std::nullopt;
    preparacion.Datos.LimiteMinimo = minX + u',' + minY;
    preparacion.Datos.LimiteMaximo = maxX + u',' + maxY;
    return preparacion;
}

ResultadoScript EscribirConProgreso(const Preparacion& preparacion, const QString& rutaScript, ProgresoScript* progreso,
                                    QString* detalle)
{
    if (progreso) {
        return EscribirScriptObra(preparacion.Obra, *preparacion.Plantilla, preparacion.Datos, rutaScript,
                                  preparacion.Puntos, progreso, detalle);
    }
    CursorEspera espera;
    ProgresoDialogo dialogo;
    return EscribirScriptObra(preparacion.Obra, *preparacion.Plantilla, preparacion.Datos, rutaScript,
                              preparacion.Puntos, &dialogo, detalle);
}

bool Escribir(Preparacion& preparacion, const QString& escala, const QString& nombreDibujo, const QString& rutaScript,
              ProgresoScript* progreso)
{
    preparacion.Datos.NombreDibujo = LeerParametro(kClaveDestino) + nombreDibujo;
    // A decimal comma would split the scale into two values for the CAD program.
    preparacion.Datos.Escala = ComaAPunto(escala);
    QString detalle;
    switch (EscribirConProgreso(preparacion, rutaScript, progreso, &detalle)) {
    case ResultadoScript::Escrito:
        return true;
    case ResultadoScript::Cancelado:
        return false;
    case ResultadoScript::SinPuntos:
        AvisarSinPuntos(preparacion.Obra);
        return false;
    case ResultadoScript::FalloLectura:
        AvisarErrorLectura(preparacion.Obra);
        return false;
    case ResultadoScript::FalloEscritura:
        Avisar(QStringLiteral("No se pudo escribir el script de AUTOCAD:") + SaltoDoble +
               QDir::toNativeSeparators(rutaScript) + SaltoDoble + detalle);
        return false;
    }
    return false;
}

} // namespace

QString EscalaGuardada()
{
    return LeerParametro(kClaveEscala, kEscalaPorDefecto);
}

void RecordarEscala(const QString& escala)
{
    if (escala != EscalaGuardada())
        GrabarParametro(kClaveEscala, escala);
}

bool CrearScript(const QString& codigoObra, const QString& rutaScript, ProgresoScript* progreso)
{
    std::optional<Preparacion> preparacion = Preparar(codigoObra);
    if (!preparacion)
        return false;
    const QString escalaGuardada = EscalaGuardada();
    // "??\?" keeps the three question marks clear of the "??)" trigraph.
    const std::optional<QString> escala =
        PedirTexto(QStringLiteral("Escala de visualización ( 1: ??\?)"), escalaGuardada);
    if (!escala)
        return false;
    const std::optional<QString> nombre = PedirTexto(QStringLiteral("Nombre del dibujo:"), QString());
    if (!nombre)
        return false;
    if (!Escribir(*preparacion, *escala, *nombre, rutaScript, progreso))
        return false;
    RecordarEscala(preparacion->Datos.Escala);
    return true;
}

bool EscribirScript(const QString& codigoObra, const QString& escala, const QString& nombreDibujo,
                    const QString& rutaScript, ProgresoScript& progreso)
{
    std::optional<Preparacion> preparacion = Preparar(codigoObra);
    return preparacion && Escribir(*preparacion, escala, nombreDibujo, rutaScript, &progreso);
}

} // namespace corvela
