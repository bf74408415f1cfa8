// The field book on stations of 1,000 to 100,000 points (a million with
// CORVELA_BANCO_MILLON=1): opening it, saving a new and an edited point,
// renumbering and opening a line, each timed until the window has repainted and
// set beside the same rows read or written through the sqlite3 C API on the same
// file (the floor). Ends non-zero when a target is missed.

#include "BaseBanco.h"
#include "Medida.h"
#include "core/Globales.h"
#include "fieldbook/frmPuntos.h"
#include "records/BaseDatos.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <cstdio>
#include <vector>

using namespace corvela;
using namespace corvela::banco;

namespace {

constexpr int kObra = 1;
constexpr int kVacia = 99; // a station without points, to make the window read another one afresh
constexpr int kVeces = 7;
constexpr int kVecesGrabar = 15;
// Saving is judged above the durable one-row commit, which the disk sets: the
// program's own part, and that part not growing with the station.
constexpr double kEncimaGrabar = 3;
constexpr double kCrecimientoGrabar = 1.5;
constexpr double kMargenGrabar = 1;

struct Tamano
{
    int estacion;
    qint64 puntos;
    QString nombre;
};

const char* const kLectura = "SELECT CODPUNTO, RESENA, LECTMED, LECTSUP, LECTINF, ANGHOR, ANGVER, DISTAN, CC1, CC2, "
                             "CC3, OBSERV FROM B_PUNTOS WHERE CODOBRA=?1 AND CODEST=?2 ORDER BY CODPUNTO";
const char* const kLecturaCodigos = "SELECT CODPUNTO FROM B_PUNTOS WHERE CODOBRA=?1 AND CODEST=?2 ORDER BY CODPUNTO";
const char* const kInsercion = "INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, LECTMED, LECTSUP, LECTINF, "
                               "ANGHOR, ANGVER, DISTAN, CC1, CC2, CC3, OBSERV) VALUES (?1, ?2, ?3, 'nuevo', 1.5, "
                               "1.85, 1.15, 50, 95, 69.57, 1049.193, 2049.193, 105.525, '')";
const char* const kCambio =
    "UPDATE B_PUNTOS SET RESENA='otra' || ?4, LECTMED=1.5, LECTSUP=1.85, LECTINF=1.15, ANGHOR=50, "
    "ANGVER=95, DISTAN=69.57, CC1=1049.193, CC2=2049.193, CC3=105.525, OBSERV='' "
    "WHERE CODOBRA=?1 AND CODEST=?2 AND CODPUNTO=?3";
const char* const kBorrarPrimero = "DELETE FROM B_PUNTOS WHERE CODOBRA=?1 AND CODEST=?2 AND CODPUNTO=1";
const char* const kBorrarNuevos = "DELETE FROM B_PUNTOS WHERE CODOBRA=?1 AND CODEST=?2 AND CODPUNTO>?3";
// Opening a line at point ?3: the highest code, every code from ?3 up by ?4 and
// back down by ?5 from ?6, a blank point in the freed code.
const char* const kMaximoDesde = "SELECT MAX(CODPUNTO) FROM B_PUNTOS WHERE CODOBRA=?1 AND CODEST=?2 AND CODPUNTO>=?3";
const char* const kSubir = "UPDATE B_PUNTOS SET CODPUNTO=CODPUNTO+?4 WHERE CODOBRA=?1 AND CODEST=?2 AND CODPUNTO>=?3";
const char* const kBajar = "UPDATE B_PUNTOS SET CODPUNTO=CODPUNTO-?5 WHERE CODOBRA=?1 AND CODEST=?2 AND CODPUNTO>=?6";
const char* const kBlanco = "INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, LECTMED, LECTSUP, LECTINF, "
                            "ANGHOR, ANGVER, DISTAN, CC1, CC2, CC3, OBSERV) VALUES (?1, ?2, ?3, '', 0, 0, 0, 0, 0, 0, "
                            "0, 0, 0, '')";
const char* const kRenumerar = "UPDATE B_PUNTOS SET CODPUNTO=?3 WHERE CODOBRA=?1 AND CODEST=?2 AND CODPUNTO=?4";

void GenerarEstacion(SqliteCrudo& crudo, int estacion, qint64 puntos)
{
    crudo.Ejecutar({"INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST, ALTAPAR, COORDX, COORDY, COORDZ) "
                    "VALUES (?1, ?2, 'E', 1.55, 1000, 2000, 100)",
                    "INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, LECTMED, LECTSUP, LECTINF, ANGHOR, "
                    "ANGVER, DISTAN, CC1, CC2, CC3, OBSERV) "
                    "WITH RECURSIVE n(i) AS (SELECT 1 WHERE ?3 > 0 UNION ALL SELECT i + 1 FROM n WHERE i < ?3) "
                    "SELECT ?1, ?2, i, 'p' || i, 1.5, 1.85, 1.15, (i % 4000) / 10.0, 95.0, 69.57, "
                    "1000 + 69.57 * (i % 7), 2000 + 69.57 * (i % 5), 105.525277743789, 'nota del punto ' || i "
                    "FROM n"},
                   {kObra, estacion, puntos});
}

// Lets every pending event and repaint run, so that a timing starts from a still window.
void Calmar(frmPuntos* v)
{
    HastaPintado(v, [v] { v->update(); });
    QCoreApplication::processEvents();
}

void Abrir(int estacion)
{
    frmPuntos::Corvela(QStringLiteral("Obra"), QStringLiteral("Estación"), 1.55, 1000, 2000, 100, QString(), kObra,
                       estacion);
}

frmPuntos* AbrirPintada(int estacion)
{
    Abrir(estacion);
    frmPuntos* v = frmPuntos::Instancia();
    HastaPintado(v, [] {});
    return v;
}

// The window reads the station again, as when it is opened afresh.
frmPuntos* Releer(int estacion)
{
    Abrir(kVacia);
    frmPuntos* v = AbrirPintada(estacion);
    Calmar(v);
    return v;
}

void Cerrar()
{
    if (frmPuntos::Existe())
        frmPuntos::Instancia()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void SeleccionarPrimera(frmPuntos* v)
{
    QTableView* lista = v->ListView1();
    const QModelIndex primera = lista->model()->index(0, 0);
    lista->selectionModel()->setCurrentIndex(primera, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit lista->clicked(primera);
}

void MedirApertura(Resultados& r, SqliteCrudo& crudo, const Tamano& t)
{
    const double suelo = Mediana(kVeces, [&] { crudo.Leer(kLectura, {kObra, t.estacion}); });
    const double ms = Mediana(
        t.puntos >= 1000000 ? 5 : kVeces, [&] { AbrirPintada(t.estacion); }, Cerrar);
    const bool grande = t.puntos >= 10000;
    const QString que = QStringLiteral("abrir la libreta, pintada, %1").arg(t.nombre);
    if (t.puntos >= 1000000)
        r.FiguraSegunSuelo(que, ms, suelo, 1000, 2);
    else
        r.Figura(que, ms, suelo, t.puntos == 10000 ? 40 : 0, grande ? 2 : 0);
}

// A new point typed in the entry row and saved with the station's next code.
double MedirAlta(Resultados& r, SqliteCrudo& crudo, const Tamano& t)
{
    qint64 codigo = t.puntos + 1000000;
    const double suelo = Mediana(kVecesGrabar, [&] { crudo.Ejecutar({kInsercion}, {kObra, t.estacion, ++codigo}); });
    crudo.Ejecutar({kBorrarNuevos}, {kObra, t.estacion, t.puntos});

    frmPuntos* v = Releer(t.estacion);
    const double ms = Mediana(
        kVecesGrabar, [v] { HastaPintado(v, [v] { v->Command1(1)->click(); }); },
        [v] {
            v->Text1(1)->setText(QStringLiteral("nuevo"));
            v->Text1(2)->setText(QStringLiteral("1,500"));
            v->Text1(3)->setText(QStringLiteral("1,85"));
            v->Text1(4)->setText(QStringLiteral("1,15"));
            v->Text1(5)->setText(QStringLiteral("50"));
            v->Text1(6)->setText(QStringLiteral("95"));
            Calmar(v);
        });
    Comprobar(v->ListView1()->model()->rowCount() == t.puntos + kVecesGrabar, "los puntos nuevos en la lista");
    crudo.Ejecutar({kBorrarNuevos}, {kObra, t.estacion, t.puntos});
    r.SobreSuelo(QStringLiteral("grabar un punto nuevo, pintado, %1").arg(t.nombre), ms, suelo, kEncimaGrabar);
    return ms;
}

// The first point loaded from the list, its description changed, saved.
double MedirCambio(Resultados& r, SqliteCrudo& crudo, const Tamano& t)
{
    qint64 cambio = 0;
    const double suelo = Mediana(kVecesGrabar, [&] { crudo.Ejecutar({kCambio}, {kObra, t.estacion, 1, ++cambio}); });
    frmPuntos* v = Releer(t.estacion);
    int vez = 0;
    const double ms = Mediana(
        kVecesGrabar, [v] { HastaPintado(v, [v] { v->Command1(1)->click(); }); },
        [v, &vez] {
            SeleccionarPrimera(v);
            v->Text1(1)->setText(QStringLiteral("ed%1").arg(++vez));
            Calmar(v);
        });
    Comprobar(v->ListView1()->model()->index(0, 1).data().toString() == QStringLiteral("ed%1").arg(vez),
              "el punto cambiado en la lista");
    r.SobreSuelo(QStringLiteral("grabar un punto cambiado, pintado, %1").arg(t.nombre), ms, suelo, kEncimaGrabar);
    return ms;
}

// With the first point gone, renumbering moves every code down by one.
void MedirRenumerar(Resultados& r, SqliteCrudo& crudo, const Tamano& t)
{
    std::vector<std::vector<SqliteCrudo::Valor>> cambios;
    for (qint64 k = 1; k < t.puntos; ++k)
        cambios.push_back({qint64{kObra}, qint64{t.estacion}, k, k + 1});
    const double suelo = Mediana(
        kVeces,
        [&] {
            crudo.Leer(kLecturaCodigos, {kObra, t.estacion});
            crudo.Insertar(kRenumerar, cambios);
        },
        [&] {
            crudo.Ejecutar({kBorrarPrimero}, {kObra, t.estacion});
        });

    frmPuntos* v = nullptr;
    const double ms = Mediana(
        kVeces, [&v] { HastaPintado(v, [&v] { v->m1(1)->trigger(); }); },
        [&] {
            crudo.Ejecutar({kBorrarPrimero}, {kObra, t.estacion});
            v = Releer(t.estacion);
        });
    Comprobar(v->ListView1()->model()->index(0, 0).data().toString() == QStringLiteral("1"), "renumerada");
    r.FiguraSegunSuelo(QStringLiteral("renumerar, pintado, %1").arg(t.nombre), ms, suelo, 50, 2);
}

// A line opened at the first point moves every code up by one.
void MedirAbrirLinea(Resultados& r, SqliteCrudo& crudo, const Tamano& t)
{
    const qint64 n = crudo.Leer(kLecturaCodigos, {kObra, t.estacion});
    const std::vector<qint64> abrir = {kObra, t.estacion, 1, n + 1, n, n + 2};
    // Back as before, once a line is open: the blank point gone, every code one down again.
    const std::vector<qint64> deshacer = {kObra, t.estacion, 1, n + 2, n + 3, n + 3};
    bool abierta = false;
    const auto restaurar = [&] {
        if (abierta)
            crudo.Ejecutar({kBorrarPrimero, kSubir, kBajar}, deshacer);
        abierta = false;
    };
    const double suelo = Mediana(
        kVeces,
        [&] {
            crudo.Ejecutar({kMaximoDesde, kSubir, kBajar, kBlanco}, abrir);
            abierta = true;
        },
        restaurar);
    restaurar();

    frmPuntos* v = nullptr;
    const double ms = Mediana(
        kVeces,
        [&] {
            HastaPintado(v, [v] { v->m1(0)->trigger(); });
            abierta = true;
        },
        [&] {
            restaurar();
            v = Releer(t.estacion);
            SeleccionarPrimera(v);
            Calmar(v);
        });
    Comprobar(v->ListView1()->model()->rowCount() == n + 1, "la línea abierta");
    restaurar();
    r.FiguraSegunSuelo(QStringLiteral("abrir una línea en el primer punto, pintado, %1").arg(t.nombre), ms, suelo, 50,
                       2);
}

// The floor commits as durably as the program's connection does, no more.
void IgualarSincronia(SqliteCrudo& crudo)
{
    QSqlQuery q(BaseDatos());
    Comprobar(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next(), "sincronía");
    const char* const kSincronia[] = {"PRAGMA synchronous=0", "PRAGMA synchronous=1", "PRAGMA synchronous=2",
                                      "PRAGMA synchronous=3"};
    const int nivel = q.value(0).toInt();
    Comprobar(nivel >= 0 && nivel <= 3, "sincronía");
    crudo.Ajustar(kSincronia[nivel]);
    std::printf("PRAGMA synchronous=%d en el programa y en el suelo\n", nivel);
}

// The offscreen platform says on every opening that it cannot raise a window.
void SinAvisosDePlataforma(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (!texto.contains(QLatin1String("does not support raise()")))
        qt_message_output(tipo, contexto, texto);
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(SinAvisosDePlataforma);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    BaseBanco base;
    SqliteCrudo crudo(RutaDatos(QStringLiteral("Corvelax.db")));
    IgualarSincronia(crudo);
    crudo.Ejecutar({"INSERT INTO B_OBRAS (CODOBRA) VALUES (?1)"}, {kObra});
    GenerarEstacion(crudo, kVacia, 0);

    std::vector<Tamano> tamanos = {{1, 1000, QStringLiteral("1.000")},
                                   {2, 10000, QStringLiteral("10.000")},
                                   {3, 100000, QStringLiteral("100.000")}};
    const bool millon = qEnvironmentVariable("CORVELA_BANCO_MILLON") == QLatin1String("1");
    if (millon)
        tamanos.push_back({4, 1000000, QStringLiteral("1.000.000")});
    std::printf("Mediana de %d pasadas (%d al grabar); el suelo, la misma SQL por la API C de sqlite3.\n", kVeces,
                kVecesGrabar);
    std::printf("1.000.000 de puntos: %s\n",
                millon ? "medidos (CORVELA_BANCO_MILLON=1)" : "no se miden; CORVELA_BANCO_MILLON=1 los incluye");
    for (const Tamano& t : tamanos)
        GenerarEstacion(crudo, t.estacion, t.puntos);
    // Every reader, the program's and the floor's, reads the file, not a long log.
    Comprobar(QSqlQuery(BaseDatos()).exec(QStringLiteral("PRAGMA wal_checkpoint")), "checkpoint");

    Resultados r;
    for (const Tamano& t : tamanos)
        MedirApertura(r, crudo, t);
    const Tamano& mayor = tamanos.back();
    Cerrar();
    ReiniciarPico();
    AbrirPintada(mayor.estacion);
    std::printf("memoria tras abrir %s puntos: %.1f MB, pico %.1f MB\n", qPrintable(mayor.nombre), MemoriaResidente(),
                PicoMemoria());
    Cerrar();
    std::vector<double> altas;
    std::vector<double> cambios;
    for (const Tamano& t : tamanos) {
        altas.push_back(MedirAlta(r, crudo, t));
        cambios.push_back(MedirCambio(r, crudo, t));
    }
    r.Crecimiento(QStringLiteral("grabar un punto nuevo, %1 frente a 1.000").arg(mayor.nombre), altas.front(),
                  altas.back(), kCrecimientoGrabar, kMargenGrabar);
    r.Crecimiento(QStringLiteral("grabar un punto cambiado, %1 frente a 1.000").arg(mayor.nombre), cambios.front(),
                  cambios.back(), kCrecimientoGrabar, kMargenGrabar);
    MedirRenumerar(r, crudo, tamanos[1]);
    MedirAbrirLinea(r, crudo, tamanos[1]);
    Cerrar();
    return r.Final();
}
