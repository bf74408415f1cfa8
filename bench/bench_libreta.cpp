// The field book on large stations: opening it (loading the list), saving one
// point, renumbering and opening a line, each beside the same rows read or
// written by bare SQL on the same file (the floor).

#include "BaseBanco.h"
#include "core/Globales.h"
#include "fieldbook/frmPuntos.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSqlQuery>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace corvela;

namespace {

constexpr int kObra = 1;
constexpr int kPequena = 1; // 10,000 points
constexpr int kGrande = 2;  // 100,000 points

void Comprobar(bool correcto, const char* que)
{
    if (!correcto) {
        std::fprintf(stderr, "fallo: %s\n", que);
        std::exit(1);
    }
}

void GenerarEstacion(int estacion, int puntos)
{
    Comprobar(EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST, ALTAPAR, COORDX, "
                                            "COORDY, COORDZ) VALUES (?, ?, 'E', 1.55, 1000, 2000, 100)"),
                             {kObra, estacion}),
              "estación");
    Transaccion transaccion;
    QSqlQuery q(BaseDatos());
    q.prepare(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, LECTMED, LECTSUP, LECTINF, "
                             "ANGHOR, ANGVER, DISTAN, CC1, CC2, CC3, OBSERV) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 1; i <= puntos; ++i) {
        const double hz = (i % 4000) / 10.0;
        const QVariantList valores = {kObra,
                                      estacion,
                                      i,
                                      QStringLiteral("p%1").arg(i),
                                      1.5,
                                      1.85,
                                      1.15,
                                      hz,
                                      95.0,
                                      69.57,
                                      1000 + 69.57 * (i % 7),
                                      2000 + 69.57 * (i % 5),
                                      105.525277743789,
                                      QStringLiteral("nota del punto %1").arg(i)};
        for (int c = 0; c < valores.size(); ++c)
            q.bindValue(c, valores[c]);
        Comprobar(q.exec(), "punto");
    }
    Comprobar(transaccion.Confirmar(), "generación");
}

double Milisegundos(const std::function<void()>& accion)
{
    QElapsedTimer reloj;
    reloj.start();
    accion();
    return reloj.nsecsElapsed() / 1e6;
}

// The best of several runs, each prepared by antes outside the timing.
double Mejor(int veces, const std::function<void()>& accion, const std::function<void()>& antes = {})
{
    double mejor = 1e300;
    for (int i = 0; i < veces; ++i) {
        if (antes)
            antes();
        mejor = std::min(mejor, Milisegundos(accion));
    }
    return mejor;
}

void Informar(const char* que, double ms, double suelo, double limite)
{
    std::printf("%-44s %9.2f ms   suelo %8.2f ms   x%6.1f   límite %6.0f ms  %s\n", que, ms, suelo,
                suelo > 0 ? ms / suelo : 0.0, limite, ms <= limite ? "bien" : "SUPERADO");
}

void Abrir(int estacion)
{
    frmPuntos::Corvela(QStringLiteral("Obra"), QStringLiteral("Estación"), 1.55, 1000, 2000, 100, QString(), kObra,
                       estacion);
}

void Cerrar()
{
    if (frmPuntos::Existe())
        frmPuntos::Instancia()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double LeerConSql(int estacion)
{
    return Mejor(3, [estacion] {
        auto q = AbrirLectura(QStringLiteral("SELECT CODPUNTO, RESENA, LECTMED, LECTSUP, LECTINF, ANGHOR, ANGVER, "
                                             "DISTAN, CC1, CC2, CC3, OBSERV FROM B_PUNTOS WHERE CODOBRA=? AND CODEST=? "
                                             "ORDER BY CODPUNTO"),
                              {kObra, estacion});
        int valores = 0;
        while (q->next()) {
            for (int c = 0; c < 12; ++c)
                valores += q->value(c).isValid();
        }
        Comprobar(valores > 0, "lectura");
    });
}

// Every point of the station rewritten by one statement, then put back (outside the timing).
double ActualizarConSql(int estacion)
{
    const QString sql = QStringLiteral("UPDATE B_PUNTOS SET CODPUNTO=-CODPUNTO WHERE CODOBRA=? AND CODEST=?");
    return Mejor(
        3,
        [&] {
            Transaccion t;
            Comprobar(EjecutarAccion(sql, {kObra, estacion}), "actualización");
            Comprobar(t.Confirmar(), "actualización");
        },
        [&] {
            EjecutarAccion(sql, {kObra, estacion});
        });
}

void SeleccionarPrimera(frmPuntos* v)
{
    QTreeView* lista = v->ListView1();
    lista->selectionModel()->setCurrentIndex(lista->model()->index(0, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    banco::BaseBanco base;
    Comprobar(EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (?)"), {kObra}), "obra");
    std::printf("Generando 10.000 y 100.000 puntos...\n");
    GenerarEstacion(kPequena, 10000);
    GenerarEstacion(kGrande, 100000);

    for (auto [estacion, nombre, limite] : {std::tuple{kPequena, "abrir la libreta, 10.000 puntos", 100.0},
                                            std::tuple{kGrande, "abrir la libreta, 100.000 puntos", 1000.0}}) {
        const double ms = Mejor(
            3, [estacion = estacion] { Abrir(estacion); }, Cerrar);
        Informar(nombre, ms, LeerConSql(estacion), limite);
    }

    Cerrar();
    Abrir(kPequena);
    frmPuntos* v = frmPuntos::Instancia();
    const double grabar = Mejor(
        20, [v] { v->Command1(1)->click(); },
        [v] {
            v->Text1(1)->setText(QStringLiteral("nuevo"));
            v->Text1(2)->setText(QStringLiteral("1,500"));
            v->Text1(3)->setText(QStringLiteral("1,85"));
            v->Text1(4)->setText(QStringLiteral("1,15"));
            v->Text1(5)->setText(QStringLiteral("50"));
            v->Text1(6)->setText(QStringLiteral("95"));
        });
    int codigo = 200000;
    const double insertarSql = Mejor(20, [&codigo] {
        Comprobar(EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, LECTMED) "
                                                "VALUES (?, ?, ?, 'x', 1.5)"),
                                 {kObra, kPequena, ++codigo}),
                  "inserción");
    });
    Informar("grabar un punto nuevo, 10.000 puntos", grabar, insertarSql, 10);
    Comprobar(EjecutarAccion(QStringLiteral("DELETE FROM B_PUNTOS WHERE CODOBRA=? AND CODEST=? AND CODPUNTO>10000"),
                             {kObra, kPequena}),
              "limpieza");

    // With the first point gone every code moves.
    const double suelo = ActualizarConSql(kPequena);
    const double renumerar = Mejor(
        3, [v] { v->m1(1)->trigger(); },
        [] {
            EjecutarAccion(QStringLiteral("DELETE FROM B_PUNTOS WHERE CODOBRA=? AND CODEST=? AND CODPUNTO=1"),
                           {kObra, kPequena});
        });
    Informar("renumerar, 10.000 puntos", renumerar, suelo, 200);

    const double abrirLinea = Mejor(
        3, [v] { v->m1(0)->trigger(); },
        [v] {
            EjecutarAccion(QStringLiteral("DELETE FROM B_PUNTOS WHERE CODOBRA=? AND CODEST=? AND CODPUNTO=1"),
                           {kObra, kPequena});
            v->m1(1)->trigger();
            SeleccionarPrimera(v);
        });
    Informar("abrir una línea en el primer punto, 10.000", abrirLinea, suelo, 200);
    Cerrar();
    CerrarBaseDatos();
    return 0;
}
