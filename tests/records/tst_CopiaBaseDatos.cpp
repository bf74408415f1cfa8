#include "EntornoPrueba.h"
#include "records/AccesoDatos.h"
#include "records/CopiaBaseDatos.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <limits>

using namespace corvela;

namespace {

const QString kConexionOrigen = QStringLiteral("origen-prueba");

// The values no copy may bend: the smallest and largest doubles, a sum with no
// short decimal form, a negative zero; texts with every character SQL quotes.
const QVector<double> kReales{1e-300,
                              -0.0,
                              0.1 + 0.2,
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::denorm_min(),
                              -123456.789012345678,
                              105.525277743789};
const QStringList kTextos{QStringLiteral("Ñandú cigüeña ÁÉÍÓÚ"), QStringLiteral("O'Brien \"el Alto\""),
                          QStringLiteral("100% \\ C:\\obras\\n; --"), QStringLiteral(""), QStringLiteral("?$1 :v")};

struct Tabla
{
    const char* nombre;
    const char* columnas;
    const char* orden;
};

const Tabla kObras{"B_OBRAS",
                   "CODOBRA,Expediente,DESCOBRA,PROPIETARIO,DOMICILIO,POBLACION,PROVINCIA,"
                   "CODIGOPOSTAL,TELEFONO,FAX,DNI",
                   "CODOBRA"};
const Tabla kEstaciones{"B_ESTACIONES", "CODOBRA,CODEST,DESCEST,FECHA,ALTAPAR,COORDX,COORDY,COORDZ", "CODOBRA,CODEST"};
const Tabla kPuntos{"B_PUNTOS",
                    "CODPUNTO,RESENA,LECTMED,LECTSUP,LECTINF,ANGHOR,ANGVER,DISTAN,CC1,CC2,CC3,OBSERV,"
                    "CODOBRA,CODEST",
                    "CODOBRA,CODEST,CODPUNTO"};

QString Seleccion(const Tabla& tabla)
{
    return QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
        .arg(QLatin1String(tabla.columnas), QLatin1String(tabla.nombre), QLatin1String(tabla.orden));
}

// A value of the list, or null on every fourth turn.
QVariant Real(int i)
{
    return i % 4 == 3 ? QVariant(QMetaType::fromType<double>()) : QVariant(kReales[i % kReales.size()]);
}

QString Texto(int i)
{
    return kTextos[i % kTextos.size()];
}

// A SQLite file made as the program makes its database, through a connection of the test's own.
class FicheroOrigen
{
public:
    explicit FicheroOrigen(const QString& ruta, const QStringList& esquema = Esquema())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConexionOrigen);
        db.setDatabaseName(ruta);
        if (!db.open())
            QTest::qFail("no se pudo crear el fichero de origen", __FILE__, __LINE__);
        for (const QString& sentencia : esquema)
            Ejecutar(sentencia, {});
    }
    ~FicheroOrigen()
    {
        QSqlDatabase::database(kConexionOrigen, false).close();
        QSqlDatabase::removeDatabase(kConexionOrigen);
    }

    static QStringList Esquema()
    {
        QFile f(QStringLiteral(":/esquema.sql"));
        f.open(QIODevice::ReadOnly);
        QStringList sentencias = QString::fromUtf8(f.readAll()).split(u';', Qt::SkipEmptyParts);
        sentencias.removeIf([](const QString& s) { return s.trimmed().isEmpty(); });
        return sentencias;
    }

    void Ejecutar(const QString& sql, const QVariantList& valores)
    {
        QSqlQuery q(QSqlDatabase::database(kConexionOrigen, false));
        q.prepare(sql);
        for (const QVariant& v : valores)
            q.addBindValue(v);
        if (!q.exec())
            QTest::qFail(qPrintable(sql + QStringLiteral(": ") + q.lastError().text()), __FILE__, __LINE__);
    }

    // Two works (one with every field blank), a station with every value and one
    // without coordinates, and the points asked for, spread over both stations.
    void Llenar(int puntos)
    {
        Ejecutar(QStringLiteral("INSERT INTO B_OBRAS VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
                 {7, Texto(0), Texto(1), Texto(2), Texto(0), Texto(1), Texto(2), QStringLiteral("28001"),
                  QStringLiteral("+34 91"), Texto(4), QStringLiteral("12345678Z")});
        Ejecutar(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (2147483646)"), {});
        Ejecutar(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (?,?,?,?,?,?,?,?)"),
                 {7, 1, Texto(0), QStringLiteral("06/12/2026"), kReales[0], kReales[1], kReales[2], kReales[3]});
        Ejecutar(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST) VALUES (7, 2, ?)"), {Texto(2)});
        for (int i = 0; i < puntos; ++i) {
            QVariantList fila{i + 1, Texto(i)};
            for (int c = 0; c < 9; ++c)
                fila << Real(i + c);
            fila << Texto(i + 1) << 7 << 1 + i % 2;
            Ejecutar(QStringLiteral("INSERT INTO B_PUNTOS VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"), fila);
        }
    }

    QSqlDatabase Db() const { return QSqlDatabase::database(kConexionOrigen, false); }
};

QByteArray Huella(const QString& ruta)
{
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

qint64 Contar(const char* tabla)
{
    return pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(tabla)).toLongLong();
}

// Every row of the table reads the same on both sides: nulls null, doubles to the bit.
void CompararTabla(QSqlDatabase origen, const Tabla& tabla)
{
    QSqlQuery leido(origen);
    QVERIFY(leido.exec(Seleccion(tabla)));
    auto copiado = AbrirLectura(Seleccion(tabla));
    QVERIFY(copiado);
    int fila = 0;
    for (; leido.next(); ++fila) {
        QVERIFY2(copiado->next(), qPrintable(QStringLiteral("faltan filas en %1").arg(QLatin1String(tabla.nombre))));
        for (int c = 0; c < leido.record().count(); ++c) {
            const QVariant a = leido.value(c);
            const QVariant b = copiado->value(c);
            const QString donde = QStringLiteral("%1 fila %2 columna %3: %4 / %5")
                                      .arg(QLatin1String(tabla.nombre))
                                      .arg(fila)
                                      .arg(leido.record().fieldName(c), a.toString(), b.toString());
            QVERIFY2(a.isNull() == b.isNull(), qPrintable(donde));
            if (a.isNull())
                continue;
            if (a.typeId() == QMetaType::Double)
                QVERIFY2(a.toDouble() == b.toDouble(), qPrintable(donde));
            else
                QVERIFY2(a.toString() == b.toString(), qPrintable(donde));
        }
    }
    QVERIFY2(!copiado->next(), qPrintable(QStringLiteral("sobran filas en %1").arg(QLatin1String(tabla.nombre))));
}

} // namespace

class TstCopiaBaseDatos : public QObject
{
    Q_OBJECT

private slots:
    // Every work, station and point arrives as it was, across statements of many rows.
    void copiaExacta_data()
    {
        QTest::addColumn<int>("puntos");
        QTest::newRow("sin puntos") << 0;
        QTest::newRow("un punto") << 1;
        QTest::newRow("una sentencia justa") << 100;
        QTest::newRow("varias sentencias") << 250;
    }
    void copiaExacta()
    {
        QFETCH(int, puntos);
        pruebas::EntornoPrueba entorno;
        const QString ruta = entorno.Ruta(QStringLiteral("local.db"));
        FicheroOrigen origen(ruta);
        origen.Llenar(puntos);
        const QByteArray antes = Huella(ruta);

        QString motivo;
        const auto hecha = CopiarBaseLocal(ruta, motivo);
        QVERIFY2(hecha, qPrintable(motivo));
        QVERIFY(motivo.isEmpty());
        QCOMPARE(hecha->obras, qint64(2));
        QCOMPARE(hecha->estaciones, qint64(2));
        QCOMPARE(hecha->puntos, qint64(puntos));
        for (const Tabla& tabla : {kObras, kEstaciones, kPuntos}) {
            CompararTabla(origen.Db(), tabla);
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(Huella(ruta), antes);
    }

    // A refused copy writes nothing, and the database takes a good copy afterwards.
    void rechazada_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("explicacion");
        QTest::newRow("destino con obras") << "destino con obras"
                                           << "ya tiene obras";
        QTest::newRow("origen inexistente") << "inexistente"
                                            << "No existe el fichero";
        QTest::newRow("no es base de datos") << "texto"
                                             << "no es una base de datos de Corvela Geoda";
        QTest::newRow("de otro programa") << "otro programa"
                                          << "Falta la tabla B_OBRAS";
        QTest::newRow("falta una columna") << "sin columna"
                                           << "le faltan columnas: OBSERV";
        QTest::newRow("falla a mitad") << "punto sin estacion"
                                       << "B_PUNTOS";
    }
    void rechazada()
    {
        QFETCH(QString, caso);
        QFETCH(QString, explicacion);
        pruebas::EntornoPrueba entorno;
        const QString ruta = entorno.Ruta(QStringLiteral("local.db"));
        if (caso == QLatin1String("destino con obras")) {
            pruebas::InsertarObra(99, QStringLiteral("Ya estaba"));
            FicheroOrigen(ruta).Llenar(3);
        } else if (caso == QLatin1String("texto")) {
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("CODOBRA;DESCOBRA\n1;Obra\n");
        } else if (caso == QLatin1String("otro programa")) {
            FicheroOrigen(ruta, {QStringLiteral("CREATE TABLE CLIENTES (ID INTEGER)")});
        } else if (caso == QLatin1String("sin columna")) {
            QStringList esquema = FicheroOrigen::Esquema();
            for (QString& sentencia : esquema)
                sentencia.remove(QStringLiteral("OBSERV VARCHAR(100) NOT NULL DEFAULT '',"));
            FicheroOrigen(ruta, esquema).Llenar(0);
        } else if (caso == QLatin1String("punto sin estacion")) {
            // Past the first statement, so that rows were already written.
            FicheroOrigen origen(ruta);
            origen.Llenar(150);
            origen.Ejecutar(QStringLiteral("INSERT INTO B_PUNTOS (CODPUNTO, CODOBRA, CODEST) VALUES (1, 7, 9)"), {});
        }
        const qint64 obras = Contar("B_OBRAS");

        QString motivo;
        QVERIFY(!CopiarBaseLocal(ruta, motivo));
        QVERIFY2(motivo.contains(explicacion), qPrintable(motivo));
        QCOMPARE(Contar("B_OBRAS"), obras);
        QCOMPARE(Contar("B_ESTACIONES"), qint64(0));
        QCOMPARE(Contar("B_PUNTOS"), qint64(0));
        if (obras > 0)
            return;

        const QString buena = entorno.Ruta(QStringLiteral("buena.db"));
        FicheroOrigen(buena).Llenar(5);
        const auto hecha = CopiarBaseLocal(buena, motivo);
        QVERIFY2(hecha, qPrintable(motivo));
        QCOMPARE(hecha->puntos, qint64(5));
        QCOMPARE(Contar("B_PUNTOS"), qint64(5));
    }
};

QTEST_GUILESS_MAIN(TstCopiaBaseDatos)
#include "tst_CopiaBaseDatos.moc"
