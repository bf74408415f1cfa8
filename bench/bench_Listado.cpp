// Field book printing: a work of 10,000 points must be read, laid out and written
// as PDF in at most 3 s, one of 100,000 points in at most 30 s, and the memory
// must not grow with the pages already printed (the report is drawn page by page).

#include "BaseBanco.h"
#include "core/Globales.h"
#include "informe/ListadoObra.h"
#include "informe/rptCorvela.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cmath>
#include <cstdio>
#include <unistd.h>

using namespace corvela;

namespace {

double MegasResidentes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> campos = statm.readAll().split(' ');
    return campos.value(1).toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

bool Insertar(const QString& sql, const QVariantList& valores)
{
    if (EjecutarAccion(sql, valores))
        return true;
    std::fprintf(stderr, "no se pudo insertar: %s\n%s\n", qPrintable(sql), qPrintable(ErrorPendiente().Descripcion));
    return false;
}

// A work of the given number of points, 250 to a station, with readings and
// coordinates like a real survey and a note on every seventh point.
bool CrearObra(int codigo, int puntos)
{
    Transaccion transaccion;
    if (!Insertar(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, Expediente, DESCOBRA, PROPIETARIO, POBLACION, "
                                 "PROVINCIA) VALUES (?, ?, ?, ?, ?, ?)"),
                  {codigo, QStringLiteral("EXP-%1").arg(codigo), QStringLiteral("Levantamiento de prueba"),
                   QStringLiteral("Cliente de prueba"), QStringLiteral("Vigo"), QStringLiteral("Pontevedra")}))
        return false;
    constexpr int kPorEstacion = 250;
    for (int i = 0; i < puntos; ++i) {
        const int estacion = i / kPorEstacion + 1;
        const int punto = i % kPorEstacion + 1;
        if (punto == 1 &&
            !Insertar(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                      {codigo, estacion, QStringLiteral("Estación %1").arg(estacion), QStringLiteral("12/03/2024"),
                       1.55, 500000.0 + estacion, 4678000.0 + estacion, 120.0}))
            return false;
        const double lectura = 1.2 + (i % 17) * 0.05;
        if (!Insertar(QStringLiteral("INSERT INTO B_PUNTOS VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      {punto, QStringLiteral("Punto de relleno"), lectura, lectura + 0.2, lectura - 0.2,
                       std::fmod(i * 37.123, 400.0), 98.0 + (i % 9) * 0.3, 40.0 + (i % 50) * 0.7, 500000.0 + i * 0.37,
                       4678000.0 - i * 0.21, 120.0 + (i % 13) * 0.11,
                       i % 7 == 0 ? QStringLiteral("Arqueta junto al bordillo") : QStringLiteral(""), codigo,
                       estacion}))
            return false;
    }
    return transaccion.Confirmar();
}

struct Medida
{
    int paginas = 0;
    double segundos = 0;
    double megasAlCuarto = 0;
    double megasAlFinal = 0;
};

Medida Imprimir(int codigo, const QString& ruta)
{
    Medida medida;
    QElapsedTimer reloj;
    reloj.start();
    ListadoObra registros;
    registros.Abrir(codigo);
    rptCorvela informe;
    informe.FijarOrigen(&registros);
    informe.FijarDecimales(NumDecimales);
    informe.FijarImagen(QImage(RutaRecurso(QStringLiteral("imagen/CORVELAX.JPG"))));
    informe.Progreso = [&medida](int hechas, int total) {
        medida.paginas = total;
        if (hechas == total / 4)
            medida.megasAlCuarto = MegasResidentes();
        if (hechas == total)
            medida.megasAlFinal = MegasResidentes();
    };
    if (!informe.GuardarPdf(ruta))
        medida.paginas = -1;
    medida.segundos = reloj.nsecsElapsed() / 1e9;
    return medida;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    banco::BaseBanco base;

    struct Caso
    {
        int puntos;
        double limite;
    };
    bool cumple = true;
    for (const Caso caso : {Caso{10000, 3.0}, Caso{100000, 30.0}}) {
        if (!CrearObra(caso.puntos, caso.puntos))
            return 1;
        const QString ruta = RutaDatos(QStringLiteral("libreta-%1.pdf").arg(caso.puntos));
        const Medida medida = Imprimir(caso.puntos, ruta);
        // What the page-by-page drawing holds beyond the rows: it must not grow with the pages.
        const double crecimiento = medida.megasAlFinal - medida.megasAlCuarto;
        const bool aTiempo = medida.segundos <= caso.limite;
        const bool memoriaPlana = crecimiento <= 16.0;
        cumple = cumple && aTiempo && memoriaPlana && medida.paginas >= 0;
        std::printf(
            "%6d puntos, %d páginas: %.2f s (límite %.0f s) %s, PDF %.1f MB; memoria al 25 %% de las páginas %.1f MB, "
            "al final %.1f MB (+%.1f MB) %s\n",
            caso.puntos, medida.paginas, medida.segundos, caso.limite, aTiempo ? "bien" : "LENTO",
            QFileInfo(ruta).size() / (1024.0 * 1024.0), medida.megasAlCuarto, medida.megasAlFinal, crecimiento,
            memoriaPlana ? "bien" : "CRECE");
        QFile::remove(ruta);
    }
    CerrarBaseDatos();
    return cumple ? 0 : 1;
}
