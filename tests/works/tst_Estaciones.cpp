#include "EntornoPrueba.h"
#include "records/AccesoDatos.h"
#include "records/ErrorDatos.h"
#include "works/Estaciones.h"

#include <QTest>

using namespace corvela;

namespace {

// Every column of the work's stations, as text, in code order.
QStringList Estaciones()
{
    QStringList filas;
    auto q = AbrirLectura(QStringLiteral("SELECT * FROM B_ESTACIONES WHERE CODOBRA = 3 ORDER BY CODEST"));
    while (q && q->next()) {
        QStringList valores;
        for (int i = 0; i < 8; ++i)
            valores << (q->value(i).isNull() ? QStringLiteral("NULL") : q->value(i).toString());
        filas << valores.join(u'|');
    }
    return filas;
}

} // namespace

class TstEstaciones : public QObject
{
    Q_OBJECT
private slots:
    void otroPuestoCambiaLaEstacion_data()
    {
        QTest::addColumn<bool>("borrando");
        QTest::addColumn<QString>("cambio");
        QTest::addColumn<bool>("cambiada");
        const QString nada = QStringLiteral("SELECT 1");
        QTest::newRow("grabar, nadie la toca") << false << nada << false;
        QTest::newRow("grabar, otro cambia un numero")
            << false << QStringLiteral("UPDATE B_ESTACIONES SET COORDX = 7 WHERE CODEST = 1") << true;
        QTest::newRow("grabar, otro quita un numero")
            << false << QStringLiteral("UPDATE B_ESTACIONES SET ALTAPAR = NULL WHERE CODEST = 1") << true;
        QTest::newRow("grabar, otro la borra")
            << false << QStringLiteral("DELETE FROM B_ESTACIONES WHERE CODEST = 1") << true;
        QTest::newRow("borrar, nadie la toca") << true << nada << false;
        QTest::newRow("borrar, otro cambia la fecha")
            << true << QStringLiteral("UPDATE B_ESTACIONES SET FECHA = '02/02/02' WHERE CODEST = 1") << true;
    }

    // Station 1 is loaded (a missing COORDX included); another instance may then
    // change it. A save or delete goes ahead only on the station as it was loaded.
    void otroPuestoCambiaLaEstacion()
    {
        QFETCH(bool, borrando);
        QFETCH(QString, cambio);
        QFETCH(bool, cambiada);
        pruebas::EntornoPrueba entorno;
        pruebas::InsertarObra(3, QStringLiteral("Obra"));
        for (int codigo : {1, 2}) {
            QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST, ALTAPAR, "
                                                  "COORDY, COORDZ) VALUES (3, ?, ?, 1.55, 2000.125, 100)"),
                                   {codigo, QStringLiteral("E-%1").arg(codigo)}));
        }
        const Estacion cargada = LeerEstaciones(3).value().first();
        QVERIFY(cargada.Valores[Estacion::X].isNull());
        QVERIFY(EjecutarAccion(cambio));
        const QStringList ajenas = Estaciones();

        Estacion editada = cargada;
        editada.Descripcion = QStringLiteral("mía");
        const bool hecho =
            borrando ? BorrarEstacion(cargada) == Borrado::Borrada : ActualizarEstacion(editada, cargada);
        QCOMPARE(hecho, !cambiada);
        if (cambiada) {
            QCOMPARE(ErrorPendiente().Numero, kErrorRegistroCambiado);
            QVERIFY(ErrorPendiente().Descripcion.startsWith(
                QStringLiteral("La estación 1 ha cambiado en la base de datos desde que se cargó la lista")));
            QCOMPARE(Estaciones(), ajenas);
            LimpiarError();
            return;
        }
        QVERIFY(!ErrorPendiente().Hay());
        QCOMPARE(Estaciones().size(), borrando ? 1 : 2);
        QCOMPARE(Estaciones().last(), ajenas.last());
        if (!borrando)
            QCOMPARE(Estaciones().first(), QStringLiteral("3|1|mía||1.55|NULL|2000.125|100"));
    }
};

QTEST_MAIN(TstEstaciones)
#include "tst_Estaciones.moc"
