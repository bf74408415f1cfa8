#include "EntornoPrueba.h"
#include "SegunMotor.h"
#include "records/AccesoDatos.h"
#include "records/ErrorDatos.h"
#include "records/LectorFilas.h"

#include <QTest>
#include <vector>

using namespace corvela;

namespace {

// One value as each reader gives it.
struct Leido
{
    bool nulo = false;
    qint64 entero = 0;
    double real = 0;
    QString texto;
};

std::vector<Leido> LeerConLector(const QString& sql, const QVariantList& valores, int columna)
{
    std::vector<Leido> filas;
    const bool leido = LectorFilas::Recorrer(sql, valores, [&](const FilaLeida& f) {
        filas.push_back({f.EsNulo(columna), f.Entero(columna), f.Real(columna), f.Texto(columna)});
    });
    if (!leido)
        QTest::qFail("el lector falló", __FILE__, __LINE__);
    return filas;
}

// What the program read through Qt SQL before: a QVariant converted, a missing value as no text.
std::vector<Leido> LeerConQtSql(const QString& sql, const QVariantList& valores, int columna)
{
    std::vector<Leido> filas;
    auto q = AbrirLectura(sql, valores);
    if (!q)
        return filas;
    while (q->next()) {
        const QVariant v = q->value(columna);
        filas.push_back({v.isNull(), v.toLongLong(), v.toDouble(), v.isNull() ? QString() : v.toString()});
    }
    return filas;
}

void CompararLecturas(const QString& sql, const QVariantList& valores, int columna)
{
    const std::vector<Leido> lector = LeerConLector(sql, valores, columna);
    const std::vector<Leido> qt = LeerConQtSql(sql, valores, columna);
    QCOMPARE(lector.size(), qt.size());
    for (size_t i = 0; i < qt.size(); ++i) {
        QCOMPARE(lector[i].nulo, qt[i].nulo);
        QCOMPARE(lector[i].entero, qt[i].entero);
        QCOMPARE(lector[i].real, qt[i].real);
        QCOMPARE(lector[i].texto, qt[i].texto);
    }
}

} // namespace

class TstLectorFilas : public QObject
{
    Q_OBJECT

private slots:
    // A value stored in a column reads as Qt SQL gave it as a QVariant. Values
    // kept without a type (column V) are SQLite's alone.
    void valoresGuardados_data()
    {
        QTest::addColumn<QString>("columna");
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("real");
        QTest::newRow("nulo en real") << "R" << QVariant() << "" << 0.0;
        QTest::newRow("nulo en texto") << "T" << QVariant() << "" << 0.0;
        QTest::newRow("entero en real") << "R" << QVariant(7) << "7" << 7.0;
        QTest::newRow("real") << "R" << QVariant(105.525277743789) << "105.525277743789" << 105.525277743789;
        QTest::newRow("real negativo") << "R" << QVariant(-2.5) << "-2.5" << -2.5;
        QTest::newRow("entero sin tipo") << "V" << QVariant(qint64(9007199254740993)) << "9007199254740993"
                                         << 9007199254740992.0;
        QTest::newRow("real sin tipo") << "V" << QVariant(2.75) << "2.75" << 2.75;
        QTest::newRow("texto con eñe y tilde") << "T" << QVariant(QStringLiteral("Ñandú á €")) << "Ñandú á €" << 0.0;
        QTest::newRow("texto vacío") << "T" << QVariant(QStringLiteral("")) << "" << 0.0;
        QTest::newRow("número en texto") << "T" << QVariant(QStringLiteral("1.5")) << "1.5" << 1.5;
        QTest::newRow("número con coma en texto") << "T" << QVariant(QStringLiteral("1,5")) << "1,5" << 0.0;
        QTest::newRow("bytes") << "V" << QVariant(QByteArray("ab")) << "ab" << 0.0;
    }
    void valoresGuardados()
    {
        QFETCH(QString, columna);
        QFETCH(QVariant, valor);
        QFETCH(QString, texto);
        QFETCH(double, real);
        if (columna == QLatin1String("V") && pruebas::EnServidor())
            QSKIP("un servidor no guarda valores sin tipo");
        pruebas::EntornoPrueba entorno;
        QVERIFY(pruebas::Definir(pruebas::EnServidor()
                                     ? QStringLiteral("CREATE TABLE T (R DOUBLE PRECISION, T VARCHAR(50))")
                                     : QStringLiteral("CREATE TABLE T (V, R DOUBLE PRECISION, T VARCHAR(50))")));
        QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO T (%1) VALUES (?)").arg(columna), {valor}));
        const QString sql = QStringLiteral("SELECT %1 FROM T").arg(columna);
        CompararLecturas(sql, {}, 0);
        const std::vector<Leido> filas = LeerConLector(sql, {}, 0);
        QCOMPARE(filas.size(), size_t(1));
        QCOMPARE(filas[0].nulo, valor.isNull());
        QCOMPARE(filas[0].texto, texto);
        QCOMPARE(filas[0].real, real);
    }

    // A bound value reaches the statement with the type Qt SQL gives it. A
    // server gives no type to a value selected bare: this is about SQLite's binding.
    void valoresVinculados_data()
    {
        QTest::addColumn<QVariant>("valor");
        QTest::newRow("nulo") << QVariant();
        QTest::newRow("entero") << QVariant(42);
        QTest::newRow("entero largo") << QVariant(qint64(1) << 40);
        QTest::newRow("lógico") << QVariant(true);
        QTest::newRow("real") << QVariant(1.85);
        QTest::newRow("texto") << QVariant(QStringLiteral("Reseña Ñ"));
        QTest::newRow("texto vacío") << QVariant(QStringLiteral(""));
        QTest::newRow("bytes") << QVariant(QByteArray("\x01\x02", 2));
        QTest::newRow("texto nulo") << QVariant(QString());
        QTest::newRow("bytes nulos") << QVariant(QByteArray());
        QTest::newRow("real simple") << QVariant(1.5f);
        QTest::newRow("entero sin signo enorme") << QVariant(quint64(18446744073709551615ULL));
    }
    void valoresVinculados()
    {
        QFETCH(QVariant, valor);
        if (pruebas::EnServidor())
            QSKIP("un servidor no da tipo a un valor vinculado sin más");
        pruebas::EntornoPrueba entorno;
        const QString sql = QStringLiteral("SELECT ?, typeof(?)");
        CompararLecturas(sql, {valor, valor}, 0);
        CompararLecturas(sql, {valor, valor}, 1);
    }

    // Rows come in order, each with all its columns, and a later column is read as its own type.
    void variasFilas()
    {
        pruebas::EntornoPrueba entorno;
        QVERIFY(pruebas::Definir(QStringLiteral("CREATE TABLE T (N INTEGER, R DOUBLE PRECISION, T VARCHAR(50))")));
        for (int i = 1; i <= 3; ++i)
            QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO T VALUES (?, ?, ?)"),
                                   {i, i / 4.0, QStringLiteral("á%1").arg(i)}));
        QStringList vistas;
        QVERIFY(LectorFilas::Recorrer(
            QStringLiteral("SELECT N, R, T FROM T WHERE N >= ? ORDER BY N DESC"), {2}, [&vistas](const FilaLeida& f) {
                vistas << QStringLiteral("%1 %2 %3").arg(f.Entero(0)).arg(f.Real(1)).arg(f.Texto(2));
            }));
        QCOMPARE(vistas, QStringList({QStringLiteral("3 0.75 á3"), QStringLiteral("2 0.5 á2")}));

        // Bytes that are not UTF-8, as an old SQLite file may hold (a server refuses them),
        // read as Qt SQL reads them.
        if (!pruebas::EnServidor()) {
            QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO T VALUES (9, 0, CAST(X'41E98042' AS TEXT))")));
            CompararLecturas(QStringLiteral("SELECT T FROM T WHERE N = 9"), {}, 0);
        }

        // Told to stop, the read ends at once without an error.
        int dadas = 0;
        QVERIFY(LectorFilas::RecorrerMientras(QStringLiteral("SELECT N FROM T ORDER BY N"), {},
                                              [&dadas](const FilaLeida&) { return ++dadas < 2; }));
        QCOMPARE(dadas, 2);
        QVERIFY(!ErrorPendiente().Hay());
    }

    // A failing statement leaves pending the error Qt SQL left, and gives no rows.
    void errores_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("sintaxis") << "SELEC 1";
        QTest::newRow("tabla inexistente") << "SELECT * FROM NO_EXISTE";
        QTest::newRow("al dar la fila") << "SELECT abs(-9223372036854775807 - 1)";
    }
    void errores()
    {
        QFETCH(QString, sql);
        pruebas::EntornoPrueba entorno;
        QVERIFY(!AbrirLectura(sql).has_value());
        const ErrorDatos esperado = ErrorPendiente();
        QVERIFY(esperado.Hay());
        LimpiarError();
        int filas = 0;
        QVERIFY(!LectorFilas::Recorrer(sql, {}, [&filas](const FilaLeida&) { ++filas; }));
        QCOMPARE(filas, 0);
        QCOMPARE(ErrorPendiente().Numero, esperado.Numero);
        QCOMPARE(ErrorPendiente().Descripcion, esperado.Descripcion);
        QCOMPARE(ErrorPendiente().Causa, esperado.Causa);
    }
};

QTEST_MAIN(TstLectorFilas)
#include "tst_LectorFilas.moc"
