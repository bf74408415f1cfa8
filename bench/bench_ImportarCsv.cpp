// Analyses and imports a readings file of 100,000 rows into an empty station
// and compares it with the same rows inserted through bare sqlite3 statements in
// one transaction. Target: at most 3 s.
#include "BaseBanco.h"
#include "Medida.h"
#include "core/Globales.h"
#include "intercambio/ImportacionLecturas.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>

using namespace corvela;

namespace {

constexpr int kFilas = 100000;
constexpr int kVeces = 5;
constexpr double kObjetivoMs = 3000;

// Readings as a surveyor takes them: millimetres, the middle the mean of the other two.
QByteArray FicheroLecturas()
{
    QRandomGenerator azar(16);
    QByteArray csv = "Punto;Rese\xC3\xB1"
                     "a;Media;Superior;Inferior;Angulo H.;A. Vert.;Notas\r\n";
    for (int p = 1; p <= kFilas; ++p) {
        const int inferior = 500 + azar.bounded(2000);
        const int superior = inferior + 2 * (10 + azar.bounded(1500));
        const QString fila = QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8\r\n")
                                 .arg(p)
                                 .arg(p % 3 ? QStringLiteral("BORDE CALZADA %1").arg(p % 50) : QString())
                                 .arg(QString::number((inferior + superior) / 2000.0, 'f', 3).replace(u'.', u','))
                                 .arg(QString::number(superior / 1000.0, 'f', 3).replace(u'.', u','))
                                 .arg(QString::number(inferior / 1000.0, 'f', 3).replace(u'.', u','))
                                 .arg(QString::number(azar.bounded(4000000) / 10000.0, 'f', 4).replace(u'.', u','))
                                 .arg(QString::number(80 + azar.bounded(400000) / 10000.0, 'f', 4).replace(u'.', u','))
                                 .arg(p % 7 ? QString() : QStringLiteral("\"nota; con separador\""));
        csv += fila.toUtf8();
    }
    return csv;
}

void VaciarEstacion(int estacion)
{
    banco::Comprobar(EjecutarAccion(QStringLiteral("DELETE FROM B_PUNTOS WHERE CODOBRA=1 AND CODEST=?"), {estacion}),
                     "vaciar la estación");
}

std::vector<std::vector<banco::SqliteCrudo::Valor>> FilasCrudas(const QVector<Punto>& puntos)
{
    std::vector<std::vector<banco::SqliteCrudo::Valor>> filas;
    filas.reserve(static_cast<size_t>(puntos.size()));
    for (const Punto& p : puntos) {
        std::vector<banco::SqliteCrudo::Valor> fila{qint64(p.Codigo), p.Resena.toUtf8()};
        for (double numero : p.Numeros)
            fila.emplace_back(numero);
        fila.emplace_back(p.Notas.toUtf8());
        filas.push_back(std::move(fila));
    }
    return filas;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    banco::BaseBanco base;
    banco::Comprobar(EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (1)")), "obra");
    banco::Comprobar(EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, ALTAPAR, COORDX, "
                                                   "COORDY, COORDZ) VALUES (1, 1, 1.55, 400000, 4500000, 100), "
                                                   "(1, 2, 1.55, 400000, 4500000, 100)")),
                     "estaciones");
    const QString ruta = RutaDatos(QStringLiteral("lecturas.csv"));
    QFile fichero(ruta);
    banco::Comprobar(fichero.open(QIODevice::WriteOnly) && fichero.write(FicheroLecturas()) > 0, "fichero");
    fichero.close();

    AnalisisLecturas ultimo;
    const double ms = banco::Mediana(
        kVeces,
        [&] {
            ultimo = AnalizarLecturas(ruta, 1, 1);
            banco::Comprobar(ultimo.Aceptable() && ultimo.Buenos.size() == kFilas, "análisis");
            banco::Comprobar(ImportarLecturas(ultimo, 1, 1), "importación");
        },
        [] { VaciarEstacion(1); });

    const auto filas = FilasCrudas(ultimo.Buenos);
    banco::SqliteCrudo crudo(RutaDatos(QStringLiteral("Corvelax.db")));
    const double suelo = banco::Mediana(
        kVeces,
        [&] {
            crudo.Insertar("INSERT INTO B_PUNTOS (CODPUNTO, RESENA, LECTMED, LECTSUP, LECTINF, ANGHOR, ANGVER, "
                           "DISTAN, CC1, CC2, CC3, OBSERV, CODOBRA, CODEST) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 2)",
                           filas);
        },
        [] { VaciarEstacion(2); });

    banco::Resultados resultados;
    resultados.Figura(QStringLiteral("analizar e importar %1 lecturas").arg(kFilas), ms, suelo, kObjetivoMs);
    CerrarBaseDatos();
    return resultados.Final();
}
