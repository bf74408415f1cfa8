// Writes the CAD script of a work of 1,000,000 points and compares it with a
// plain buffered write of the same bytes. Target: at most 3 s, memory bounded.
#include "BaseBanco.h"
#include "cad/PlantillaScript.h"
#include "cad/ProgresoScript.h"
#include "cad/ScriptObra.h"
#include "core/Globales.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QSqlQuery>
#include <cstdio>
#include <ctime>

using namespace corvela;

namespace {

constexpr int kEstaciones = 100;
constexpr int kPuntosPorEstacion = 10000;
constexpr double kObjetivoSegundos = 3.0;

class ProgresoContado : public ProgresoScript
{
public:
    bool Avanzar(qint64, qint64) override
    {
        ++avisos;
        return true;
    }
    int avisos = 0;
};

bool GenerarPuntos()
{
    Transaccion transaccion;
    if (!EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (1)")))
        return false;
    QSqlQuery estacion(BaseDatos());
    estacion.prepare(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST) VALUES (1, ?)"));
    QSqlQuery punto(BaseDatos());
    punto.prepare(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, CC1, CC2, CC3, RESENA) "
                                 "VALUES (1, ?, ?, ?, ?, ?, ?)"));
    for (int e = 1; e <= kEstaciones; ++e) {
        estacion.addBindValue(e);
        if (!estacion.exec())
            return false;
        for (int p = 1; p <= kPuntosPorEstacion; ++p) {
            punto.addBindValue(e);
            punto.addBindValue(p);
            punto.addBindValue(400000.0 + e * 13.1 + p * 0.0173);
            punto.addBindValue(4500000.0 + e * 7.7 - p * 0.0219);
            punto.addBindValue(100.0 + (p % 997) * 0.0131);
            punto.addBindValue(p % 3 == 0 ? QStringLiteral("") : QStringLiteral("BORDE CALZADA %1").arg(p % 50));
            if (!punto.exec())
                return false;
        }
    }
    return transaccion.Confirmar();
}

// Peak resident memory in kB since the last reset.
long PicoMemoria()
{
    QFile estado(QStringLiteral("/proc/self/status"));
    if (!estado.open(QIODevice::ReadOnly))
        return -1;
    const QStringList lineas = QString::fromLatin1(estado.readAll()).split(u'\n');
    for (const QString& linea : lineas) {
        if (linea.startsWith(QLatin1String("VmHWM:")))
            return linea.section(u':', 1).trimmed().section(u' ', 0, 0).toLong();
    }
    return -1;
}

void ReiniciarPicoMemoria()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// What no export can avoid: reading the six values of every point.
double LecturaSola()
{
    QElapsedTimer reloj;
    reloj.start();
    auto puntos = AbrirLectura(QStringLiteral("SELECT CC1, CC2, CC3, CODEST, CODPUNTO, RESENA FROM B_PUNTOS "
                                              "WHERE CODOBRA=? ORDER BY CODEST, CODPUNTO"),
                               {1});
    qint64 validos = 0;
    while (puntos && puntos->next()) {
        for (int i = 0; i < 6; ++i)
            validos += puntos->value(i).isValid();
    }
    return validos > 0 ? reloj.nsecsElapsed() / 1e9 : -1;
}

double EscrituraSimple(const QString& origen, const QString& destino)
{
    QFile entrada(origen);
    entrada.open(QIODevice::ReadOnly);
    const QByteArray bytes = entrada.readAll();
    QElapsedTimer reloj;
    reloj.start();
    QFile salida(destino);
    salida.open(QIODevice::WriteOnly);
    constexpr qsizetype kTrozo = 64 * 1024;
    for (qsizetype i = 0; i < bytes.size(); i += kTrozo)
        salida.write(bytes.constData() + i, qMin(kTrozo, bytes.size() - i));
    salida.close();
    return reloj.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    banco::BaseBanco base;

    QElapsedTimer reloj;
    reloj.start();
    if (!GenerarPuntos())
        return 2;
    std::printf("puntos generados: %d en %.2f s\n", kEstaciones * kPuntosPorEstacion, reloj.nsecsElapsed() / 1e9);

    // The program's own template, from the resources the build copies.
    QFile fichero(RutaRecurso(QStringLiteral("plantillas/ScriptAutoCad.Ini")));
    const auto plantilla =
        fichero.open(QIODevice::ReadOnly) ? PlantillaScript::DesdeBytes(fichero.readAll()) : std::nullopt;
    if (!plantilla) {
        std::fprintf(stderr, "falta la plantilla %s\n", qPrintable(fichero.fileName()));
        return 2;
    }
    const QString script = RutaDatos(QStringLiteral("SCRIPT.SCR"));
    const double lectura = LecturaSola();

    ReiniciarPicoMemoria();
    const long memoriaAntes = PicoMemoria();
    const std::clock_t cpuAntes = std::clock();
    reloj.restart();
    QString maxX, minX, maxY, minY;
    qint64 puntos = 0;
    if (!LimitesObra(1, maxX, minX, maxY, minY, &puntos))
        return 2;
    const double segundosLimites = reloj.nsecsElapsed() / 1e9;
    const DatosDibujo datos{minX + u',' + minY, maxX + u',' + maxY, QStringLiteral("/dibujos/OBRA1"),
                            QStringLiteral("0.5")};
    ProgresoContado progreso;
    if (EscribirScriptObra(1, *plantilla, datos, script, puntos, &progreso) != ResultadoScript::Escrito)
        return 2;
    const double segundos = reloj.nsecsElapsed() / 1e9;
    const double segundosCpu = double(std::clock() - cpuAntes) / CLOCKS_PER_SEC;
    const long memoriaPico = PicoMemoria();
    const qint64 bytes = QFile(script).size();

    const double simple = EscrituraSimple(script, RutaDatos(QStringLiteral("COPIA.SCR")));
    std::printf("script: %lld puntos, %.1f MB en %.2f s (limites %.2f s; %.2f s de procesador), "
                "%d avisos de progreso\n",
                puntos, bytes / 1e6, segundos, segundosLimites, segundosCpu, progreso.avisos);
    std::printf("escritura simple de los mismos bytes: %.3f s; razon %.1f\n", simple, segundos / simple);
    std::printf("solo leer los puntos: %.2f s\n", lectura);
    std::printf("memoria: pico %ld kB al escribir (partiendo de %ld kB; el script ocupa %lld kB)\n", memoriaPico,
                memoriaAntes, bytes / 1024);
    const bool cumple = segundos <= kObjetivoSegundos;
    std::printf("objetivo <= %.0f s: %s\n", kObjetivoSegundos, cumple ? "cumplido" : "NO cumplido");
    CerrarBaseDatos();
    return cumple ? 0 : 1;
}
