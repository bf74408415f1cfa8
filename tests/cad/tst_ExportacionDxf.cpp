#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "ProcesoHijo.h"
#include "ProgresoQueCancela.h"
#include "SalidaEnAmbosMotores.h"
#include "cad/ExportacionDxf.h"
#include "cad/ProgresoScript.h"
#include "records/AccesoDatos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <cerrno>

using namespace corvela;

namespace {

struct EstacionPrueba
{
    int codigo;
    QString descripcion;
    QVariant x, y, z;
    QString capa;     // the layer of its points, as expected
    QString etiqueta; // as a CAD program shows it; empty when it is not drawn
};

struct PuntoPrueba
{
    int estacion, punto;
    QVariant x, y, z;
    QString resena;
    QString etiqueta; // empty when it is not drawn
};

struct ObraPrueba
{
    QVector<EstacionPrueba> estaciones;
    QVector<PuntoPrueba> puntos;
};

// One drawn mark as the independent reader finds it: a point and its label.
struct Marca
{
    QString capa;
    double x, y, z;
    QString etiqueta;
    bool operator==(const Marca& o) const
    {
        return capa == o.capa && x == o.x && y == o.y && z == o.z && etiqueta == o.etiqueta;
    }
};

QString Texto(const Marca& m)
{
    return QStringLiteral("%1 (%2, %3, %4) %5")
        .arg(m.capa)
        .arg(m.x, 0, 'g', 17)
        .arg(m.y, 0, 'g', 17)
        .arg(m.z, 0, 'g', 17)
        .arg(m.etiqueta);
}

} // namespace

Q_DECLARE_METATYPE(ObraPrueba)

namespace {

const QVariant kNulo = QVariant(QMetaType::fromType<double>());

void Insertar(const ObraPrueba& obra)
{
    QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (1)")));
    for (const EstacionPrueba& e : obra.estaciones)
        QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST, COORDX, COORDY, "
                                              "COORDZ) VALUES (1, ?, ?, ?, ?, ?)"),
                               {e.codigo, e.descripcion, e.x, e.y, e.z}));
    for (const PuntoPrueba& p : obra.puntos)
        QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, CC1, CC2, CC3, RESENA) "
                                              "VALUES (1, ?, ?, ?, ?, ?, ?)"),
                               {p.estacion, p.punto, p.x, p.y, p.z, p.resena}));
}

// The marks the drawing must hold, in the order written: stations, then points by station and point.
QVector<Marca> MarcasEsperadas(const ObraPrueba& obra)
{
    QVector<Marca> marcas;
    QHash<int, QString> capas;
    for (const EstacionPrueba& e : obra.estaciones) {
        capas.insert(e.codigo, e.capa);
        if (!e.etiqueta.isEmpty())
            marcas.push_back(
                {QStringLiteral("ESTACIONES"), e.x.toDouble(), e.y.toDouble(), e.z.toDouble(), e.etiqueta});
    }
    for (const PuntoPrueba& p : obra.puntos) {
        if (!p.etiqueta.isEmpty())
            marcas.push_back({capas.value(p.estacion), p.x.toDouble(), p.y.toDouble(), p.z.toDouble(), p.etiqueta});
    }
    return marcas;
}

// Debian's python3-ezdxf belongs to the system's interpreter, which another python3 on the PATH may hide.
QString Python()
{
    const QString sistema = QStringLiteral("/usr/bin/python3");
    return QFileInfo::exists(sistema) ? sistema : QStringLiteral("python3");
}

// What ezdxf finds in the drawing, one tab-separated list per line.
QVector<QStringList> LeerConEzdxf(const QString& ruta)
{
    QProcess python;
    python.start(Python(), {QStringLiteral(CORVELA_LECTOR_DXF), ruta});
    const bool terminado = python.waitForFinished(120000);
    const QByteArray errores = python.readAllStandardError();
    if (!terminado || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("ezdxf no pudo leer el dibujo (se instala con tools/preparar.sh): ") +
                                QString::fromUtf8(errores)),
                     __FILE__, __LINE__);
        return {};
    }
    QVector<QStringList> lineas;
    for (const QString& linea : QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts))
        lineas.push_back(linea.split(u'\t'));
    return lineas;
}

ObraPrueba Levantamiento()
{
    const QString e1 = QStringLiteral("E1_BASE_NORTE"), e2 = QStringLiteral("E2_ESQUINA_PLAZA_ESPANA");
    ObraPrueba obra;
    obra.estaciones = {{1, QStringLiteral("BASE NORTE"), 1000.0, 5000.0, 100.0, e1, QStringLiteral("E1/BASE-NORTE")},
                       {2, QStringLiteral("Esquina Plaza España"), 1052.37, 4987.12, 101.4, e2,
                        QStringLiteral("E2/Esquina-Plaza-España")}};
    const QString borde = QStringLiteral("BORDE CALZADA");
    const QString esquina = QStringLiteral("ESQUINA EDIFICIO");
    auto punto = [](int e, int p, double x, double y, double z, const QString& resena, const QString& etiqueta) {
        return PuntoPrueba{e, p, x, y, z, resena, etiqueta};
    };
    obra.puntos = {
        punto(1, 1, 985.21, 4995.03, 99.812, borde, QStringLiteral("1/1/BORDE-CALZADA")),
        punto(1, 2, 1000.45, 4994.87, 99.874, borde, QStringLiteral("1/2/BORDE-CALZADA")),
        punto(1, 3, 1015.63, 4994.72, 99.921, borde, QStringLiteral("1/3/BORDE-CALZADA")),
        punto(1, 4, 985.34, 5002.01, 99.835, borde, QStringLiteral("1/4/BORDE-CALZADA")),
        punto(1, 5, 1000.58, 5001.88, 99.89, borde, QStringLiteral("1/5/BORDE-CALZADA")),
        punto(1, 6, 1015.77, 5001.74, 99.944, borde, QStringLiteral("1/6/BORDE-CALZADA")),
        punto(1, 7, 998.12, 4998.46, 99.802, QStringLiteral("POZO"), QStringLiteral("1/7/POZO")),
        punto(1, 8, 990.05, 5006.3, 100.12, QStringLiteral("ARBOL"), QStringLiteral("1/8/ARBOL")),
        punto(1, 9, 1004.88, 5006.15, 100.18, QStringLiteral("ARBOL"), QStringLiteral("1/9/ARBOL")),
        punto(1, 10, 1012.4, 5004.02, 100.05, QStringLiteral("FAROLA"), QStringLiteral("1/10/FAROLA")),
        punto(1, 11, 993.7, 4990.25, 99.99, QStringLiteral(""), QStringLiteral("1/11")),
        punto(2, 1, 1030.82, 4994.57, 99.968, borde, QStringLiteral("2/1/BORDE-CALZADA")),
        punto(2, 2, 1046.01, 4994.41, 100.012, borde, QStringLiteral("2/2/BORDE-CALZADA")),
        punto(2, 3, 1030.96, 5001.6, 99.991, borde, QStringLiteral("2/3/BORDE-CALZADA")),
        punto(2, 4, 1046.15, 5001.45, 100.035, borde, QStringLiteral("2/4/BORDE-CALZADA")),
        punto(2, 5, 1038.33, 4998.07, 99.955, QStringLiteral("POZO"), QStringLiteral("2/5/POZO")),
        punto(2, 6, 1050.2, 4990.1, 101.38, esquina, QStringLiteral("2/6/ESQUINA-EDIFICIO")),
        punto(2, 7, 1050.35, 4979.85, 101.42, esquina, QStringLiteral("2/7/ESQUINA-EDIFICIO")),
        punto(2, 8, 1035.6, 5006.95, 100.24, QStringLiteral("ARBOL"), QStringLiteral("2/8/ARBOL")),
        punto(2, 9, 1043.9, 4991.3, 100.06, QStringLiteral("FAROLA"), QStringLiteral("2/9/FAROLA")),
        punto(2, 10, 1057.8, 4995.5, 101.15, QStringLiteral("BANCO"), QStringLiteral("2/10/BANCO")),
    };
    return obra;
}

// Odd descriptions, coordinates that need every digit, and marks that cannot be drawn.
ObraPrueba Rarezas()
{
    const QString e3 = QStringLiteral("E3"), e7 = QStringLiteral("E7_CAMINO_DE_LA_NORA_KM_2_5");
    const QString e12 = QStringLiteral("E12_TORRE_DE_TELECOMUNICACION_S");
    ObraPrueba obra;
    obra.estaciones = {
        {3, QStringLiteral(""), -0.5, 1e-7, kNulo, e3, QStringLiteral("E3")},
        {7, QStringLiteral("Camino de la Ñora (km 2,5)"), kNulo, 10.0, 1.0, e7, QString()},
        {12, QStringLiteral("Torre de telecomunicación «Sierra Espuña» nº 3"), 4512345.123456789, 0.1 + 0.2, 1.0 / 3,
         e12, QStringLiteral("E12/Torre-de-telecomunicación-«Sierra-Espuña»-nº-3")},
    };
    obra.puntos = {
        {3, 1, 4512345.123456789, 4201234.987654321, 654.3210987654321, QStringLiteral("Ñandú árbol"),
         QStringLiteral("3/1/Ñandú-árbol")},
        {3, 2, 1.0 / 3, -2.0 / 3, kNulo, QStringLiteral("COTA \"50\" 'A'"), QStringLiteral("3/2/COTA-\"50\"-'A'")},
        {7, 1, kNulo, 5.0, 1.0, QStringLiteral("SIN X"), QString()},
        {7, 2, 5.0, kNulo, 1.0, QStringLiteral("SIN Y"), QString()},
        {7, 3, 1e-300, 1e300, -0.0, QStringLiteral("PENDIENTE 5% ; ESTE"), QStringLiteral("7/3/PENDIENTE-5%-;-ESTE")},
        {12, 1, 7.0, 8.0, 9.0, QStringLiteral("CAÑO^2 € Ω"), QStringLiteral("12/1/CAÑO^2-€-?")},
        {12, 2, 7.5, 8.5, 9.5, QStringLiteral("TAB\tY\x01Z"), QStringLiteral("12/2/TAB-Y?Z")},
    };
    return obra;
}

} // namespace

class TstExportacionDxf : public QObject
{
    Q_OBJECT
private slots:
    // The same numbers and texts, read from a SQLite file or from a server, give the same drawing.
    void mismoDibujoEnAmbosMotores()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        const auto salidas =
            pruebas::SalidaEnAmbosMotores(entorno, mensajes, pruebas::LlenarObraExigente, [](const QString& ruta) {
                QCOMPARE(EscribirDxfObra(1, 0.5, ruta, nullptr), ResultadoDxf::Escrito);
            });
        QVERIFY(salidas.local.contains("0.30000000000000004"));
        QCOMPARE(salidas.destino, salidas.local);
    }

    void lectorIndependiente_data()
    {
        QTest::addColumn<ObraPrueba>("obra");
        QTest::addColumn<double>("escala");
        QTest::addColumn<double>("altura");
        QTest::addColumn<QStringList>("capas");
        QTest::addColumn<QList<QByteArray>>("trozos"); // bytes the file must hold
        QTest::addColumn<qint64>("sinCoordenadas");
        QTest::newRow("levantamiento a 1:200")
            << Levantamiento() << 0.005 << 0.5
            << QStringList{"0", "ESTACIONES", "E1_BASE_NORTE", "E2_ESQUINA_PLAZA_ESPANA"}
            << QList<QByteArray>{"  2\r\nLAYER\r\n 70\r\n4\r\n",
                                 "E2/Esquina-Plaza-Espa\xF1"
                                 "a\r\n",
                                 " 10\r\n1057.8\r\n 20\r\n4995.5\r\n 30\r\n101.15\r\n"}
            << qint64(0);
        QTest::newRow("rarezas a 1:500") << Rarezas() << 500.0 << 1.25
                                         << QStringList{"0", "ESTACIONES", "E3", "E7_CAMINO_DE_LA_NORA_KM_2_5",
                                                        "E12_TORRE_DE_TELECOMUNICACION_S"}
                                         << QList<QByteArray>{"3/1/\xD1"
                                                              "and\xFA-\xE1rbol\r\n",
                                                              "CA\xD1O^ 2-\x80-?\r\n", "TAB-Y?Z\r\n"}
                                         << qint64(2);
    }

    void lectorIndependiente()
    {
        QFETCH(ObraPrueba, obra);
        QFETCH(double, escala);
        QFETCH(double, altura);
        QFETCH(QStringList, capas);
        QFETCH(QList<QByteArray>, trozos);
        QFETCH(qint64, sinCoordenadas);
        pruebas::EntornoPrueba entorno;
        Insertar(obra);
        const QString ruta = entorno.Ruta(QStringLiteral("obra.dxf"));

        ResumenDxf resumen;
        QString detalle;
        QCOMPARE(EscribirDxfObra(1, escala, ruta, nullptr, &resumen, &detalle), ResultadoDxf::Escrito);
        // Set CORVELA_GUARDAR_DXF to a folder to keep the drawings for a look in a CAD program.
        const QString guardar = qEnvironmentVariable("CORVELA_GUARDAR_DXF");
        if (!guardar.isEmpty())
            QFile::copy(ruta, guardar + QLatin1Char('/') + QString::fromUtf8(QTest::currentDataTag()) +
                                  QStringLiteral(".dxf"));
        const QVector<Marca> esperadas = MarcasEsperadas(obra);
        QCOMPARE(resumen.Estaciones + resumen.Puntos, qint64(esperadas.size()));
        QCOMPARE(resumen.Puntos + resumen.SinCoordenadas, qint64(obra.puntos.size()));
        QCOMPARE(resumen.SinCoordenadas, sinCoordenadas);

        const QByteArray bytes = pruebas::LeerFichero(ruta);
        QVERIFY(bytes.startsWith("999\r\ndxflib "));
        QVERIFY(bytes.contains("\r\n  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\nAC1009\r\n"));
        QVERIFY(bytes.endsWith("  0\r\nENDSEC\r\n  0\r\nEOF\r\n"));
        QVERIFY(bytes.contains("  9\r\n$DWGCODEPAGE\r\n  3\r\nANSI_1252\r\n"));
        QCOMPARE(bytes.count("\r\nPOINT\r\n"), esperadas.size());
        QCOMPARE(bytes.count("\r\nTEXT\r\n"), esperadas.size());
        for (const QByteArray& trozo : trozos)
            QVERIFY2(bytes.contains(trozo), trozo.constData());

        QVector<Marca> puntos, textos;
        QStringList capasLeidas;
        for (const QStringList& l : LeerConEzdxf(ruta)) {
            if (l[0] == u"version") {
                QCOMPARE(l.mid(1), (QStringList{"AC1009", "ANSI_1252", "0"}));
            } else if (l[0] == u"extension") {
                QVector<double> minimo(3, qInf()), maximo(3, -qInf());
                for (const Marca& m : esperadas) {
                    const double c[3] = {m.x, m.y, m.z};
                    for (int i = 0; i < 3; ++i) {
                        minimo[i] = qMin(minimo[i], c[i]);
                        maximo[i] = qMax(maximo[i], c[i]);
                    }
                }
                for (int i = 0; i < 3; ++i) {
                    QCOMPARE(l[1 + i].toDouble(), minimo[i]);
                    QCOMPARE(l[4 + i].toDouble(), maximo[i]);
                }
            } else if (l[0] == u"capa") {
                capasLeidas << l[1];
            } else if (l[0] == u"punto") {
                puntos.push_back({l[1], l[2].toDouble(), l[3].toDouble(), l[4].toDouble(), QString()});
            } else if (l[0] == u"texto") {
                QCOMPARE(l[5].toDouble(), altura);
                textos.push_back({l[1], l[2].toDouble(), l[3].toDouble(), l[4].toDouble(), l[6]});
            } else {
                QFAIL(qPrintable(l.join(u' ')));
            }
        }
        QCOMPARE(capasLeidas, capas);
        QCOMPARE(textos.size(), esperadas.size());
        QCOMPARE(puntos.size(), esperadas.size());
        for (qsizetype i = 0; i < esperadas.size(); ++i) {
            QVERIFY2(textos[i] == esperadas[i],
                     qPrintable(Texto(textos[i]) + QStringLiteral(" <> ") + Texto(esperadas[i])));
            Marca punto = esperadas[i];
            punto.etiqueta.clear();
            QVERIFY2(puntos[i] == punto, qPrintable(Texto(puntos[i]) + QStringLiteral(" <> ") + Texto(punto)));
        }
    }

    void ficheroAnteriorIntacto_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<ResultadoDxf>("resultado");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("cancelado") << "cancelado" << ResultadoDxf::Cancelado << QString();
        QTest::newRow("carpeta protegida") << "protegida" << ResultadoDxf::FalloEscritura << qt_error_string(EACCES);
        QTest::newRow("disco lleno") << "lleno" << ResultadoDxf::FalloEscritura << qt_error_string(EFBIG);
        QTest::newRow("obra sin puntos") << "vacia" << ResultadoDxf::SinPuntos << QString();
    }

    void ficheroAnteriorIntacto()
    {
        QFETCH(QString, caso);
        QFETCH(ResultadoDxf, resultado);
        QFETCH(QString, motivo);
        pruebas::EntornoPrueba entorno;
        pruebas::InsertarEstacion(1, 1);
        if (caso != u"vacia") {
            Transaccion transaccion;
            for (int punto = 1; punto <= 5000; ++punto)
                QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, CC1, CC2, "
                                                      "CC3, RESENA) VALUES (1, 1, ?, ?, ?, 0, 'P')"),
                                       {punto, punto * 0.5, punto * 0.25}));
            QVERIFY(transaccion.Confirmar());
        }
        const QString carpeta = entorno.Ruta(QStringLiteral("dibujos"));
        QVERIFY(QDir().mkpath(carpeta));
        const QString ruta = carpeta + QStringLiteral("/obra.dxf");
        pruebas::EscribirFichero(ruta, "anterior");

        pruebas::ProgresoQueCancela progreso;
        QString detalle;
        auto exportar = [&] {
            return EscribirDxfObra(1, 0.01, ruta, caso == u"cancelado" ? &progreso : nullptr, nullptr, &detalle);
        };
        if (caso == u"protegida") {
            QFile::setPermissions(carpeta, QFileDevice::Permissions(0x5555));
            QFile::setPermissions(entorno.Carpeta(), QFileDevice::Permissions(0x7777));
            pruebas::SinPrivilegios sinPrivilegios;
            if (!sinPrivilegios.Efectivo())
                QSKIP("as root without the right to change the file-system user, every folder is writable");
            QCOMPARE(exportar(), resultado);
        } else if (caso == u"lleno") {
            const auto salida = pruebas::ConDiscoLleno(64 * 1024, [&] {
                const ResultadoDxf escrito = exportar();
                return QByteArray::number(static_cast<int>(escrito)) + ' ' + detalle.toUtf8();
            });
            QVERIFY(salida);
            QCOMPARE(salida->left(salida->indexOf(' ')).toInt(), static_cast<int>(resultado));
            detalle = QString::fromUtf8(salida->mid(salida->indexOf(' ') + 1));
        } else {
            QCOMPARE(exportar(), resultado);
        }
        QVERIFY2(detalle.contains(motivo), qPrintable(detalle));
        if (caso == u"cancelado")
            QCOMPARE(progreso.avisos, (QVector<QPair<qint64, qint64>>{{4096, 5000}}));
        QCOMPARE(pruebas::LeerFichero(ruta), QByteArray("anterior"));
        QCOMPARE(QDir(carpeta).entryList(QDir::Files | QDir::Hidden), QStringList{"obra.dxf"});
    }
};

QTEST_MAIN(TstExportacionDxf)
#include "tst_ExportacionDxf.moc"
