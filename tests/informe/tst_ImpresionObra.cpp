#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "RelojEnConsultas.h"
#include "core/Globales.h"
#include "core/Parametros.h"
#include "informe/ImpresionObra.h"
#include "informe/MaquetaLibreta.h"
#include "informe/VisorLibreta.h"
#include "informe/frmListados.h"
#include "informe/rptCorvela.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace corvela;

namespace {

void Insertar(const QString& sql, const QVariantList& valores)
{
    QVERIFY2(EjecutarAccion(sql, valores), qPrintable(sql));
}

// Work 1 with two stations, the first holding three points and the second none;
// work 2 without stations.
void CrearObras()
{
    Insertar(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, Expediente, DESCOBRA, PROPIETARIO, DOMICILIO, POBLACION, "
                            "PROVINCIA, CODIGOPOSTAL, TELEFONO, FAX, DNI) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {1, QStringLiteral("EXP-118"), QStringLiteral("Parcela 23 del polígono 4"), QStringLiteral("Ana Núñez"),
              QStringLiteral("Rúa Real 14"), QStringLiteral("Vigo"), QStringLiteral("Pontevedra"),
              QStringLiteral("36202"), QStringLiteral("986123456"), QStringLiteral("986123457"),
              QStringLiteral("36123456B")});
    Insertar(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, DESCOBRA) VALUES (?, ?)"), {2, QStringLiteral("Sin bases")});
    Insertar(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
             {1, 1, QStringLiteral("Base norte"), QStringLiteral("12/03/2024"), 1.55, 500123.4567, 4678123.25, 123.5});
    Insertar(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
             {1, 2, QStringLiteral("Base sur"), QStringLiteral("13/03/2024"), 1.6, 500200.0, 4678000.0, 120.0});
    const QString punto = QStringLiteral("INSERT INTO B_PUNTOS VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Insertar(punto, {1, QStringLiteral("Esquina muro"), 1.5, 1.75, 1.25, 37.1234, 98.4, 49.8756, 500130.1111,
                     4678160.2222, 124.3333, QStringLiteral("Arqueta"), 1, 1});
    Insertar(punto, {2, QStringLiteral("Farola"), 1.2, 1.3, 1.1, 120.5, 101.25, 19.98, 500110.5, 4678110.5, 122.75,
                     QStringLiteral(""), 1, 1});
    // The third point has no readings: its numbers print as zero.
    Insertar(QStringLiteral("INSERT INTO B_PUNTOS (CODPUNTO, RESENA, CODOBRA, CODEST) VALUES (?, ?, ?, ?)"),
             {3, QStringLiteral("Pozo"), 1, 1});
}

QString TextoPdf(const QString& ruta, const QStringList& paginas = {})
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    QStringList{QStringLiteral("-layout")} + paginas + QStringList{ruta, QStringLiteral("-")});
    pdftotext.waitForFinished();
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// The text of a PDF line by line, each line's runs of blanks made one: what it
// says and where lines and pages break, whatever the spacing of the fonts at hand.
QStringList Lineas(const QString& texto)
{
    QStringList lineas = texto.split(u'\n');
    for (QString& linea : lineas)
        linea = linea.simplified();
    return lineas;
}

// Work 7: a station of 70 points whose long descriptions and notes wrap, one with
// a number wider than its column, a station without points and a short one.
void CrearObraDeVariasPaginas()
{
    pruebas::InsertarObra(7, QStringLiteral("Deslinde de la finca Os Muíños"));
    for (int estacion : {1, 2, 3})
        Insertar(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                 {7, estacion, QStringLiteral("Base %1").arg(estacion), QStringLiteral("02/05/2024"), 1.5,
                  500000.0 + estacion, 4678000.0 - estacion, 100.0 + estacion});
    const QString punto = QStringLiteral("INSERT INTO B_PUNTOS VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const auto alta = [&punto](int estacion, int codigo) {
        const QString resena = codigo % 9 == 0 ? QStringLiteral("Esquina del muro de mampostería junto al pozo seco")
                                               : QStringLiteral("Punto %1").arg(codigo);
        const QString nota =
            codigo % 5 == 0 ? QStringLiteral("Nota de campo larga ").repeated(codigo % 3 + 2) : QStringLiteral("");
        const double x = codigo == 33 ? 123456789012.5 : 500000.0 + codigo * 1.25;
        Insertar(punto, {codigo, resena, 1.5, 1.6 + codigo * 0.001, 1.4, codigo * 3.3, 99.5, codigo * 0.75, x,
                         4678000.0 - codigo * 0.5, 100.0 + codigo * 0.01, nota, 7, estacion});
    };
    for (int codigo = 1; codigo <= 70; ++codigo)
        alta(1, codigo);
    for (int codigo = 1; codigo <= 5; ++codigo)
        alta(3, codigo);
}

// While it lives, the user's home folder is a new empty one, without desktop settings.
class CasaNueva
{
public:
    CasaNueva() : casa_(qgetenv("HOME")), configuracion_(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", carpeta_.path().toLocal8Bit());
        qunsetenv("XDG_CONFIG_HOME");
    }
    ~CasaNueva()
    {
        qputenv("HOME", casa_);
        if (!configuracion_.isEmpty())
            qputenv("XDG_CONFIG_HOME", configuracion_);
    }
    QString Ruta(const QString& nombre) const { return QDir(carpeta_.path()).filePath(nombre); }

private:
    QTemporaryDir carpeta_;
    QByteArray casa_;
    QByteArray configuracion_;
};

void CerrarListados()
{
    if (frmListados::Existe())
        frmListados::Instancia()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TstImpresionObra : public QObject
{
    Q_OBJECT
private slots:
    void filasDeLaConsultaUnida()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        CrearObras();

        ImprimirObra(QStringLiteral("1"));
        QVERIFY(frmListados::Existe());
        const ListadoObra& registros = frmListados::Instancia()->Registros();
        QCOMPARE(registros.RecordCount(), 4);
        QCOMPARE(registros.Estaciones().size(), size_t(2));
        QCOMPARE(registros.Estaciones()[0].numeroPuntos, 3);
        QCOMPARE(registros.Estaciones()[1].numeroPuntos, 0);
        QCOMPARE(registros.Punto(2).codigo, 3);
        QCOMPARE(registros.Punto(2).lecturaMedia, 0.0);
        QCOMPARE(registros.Obra().propietario, QStringLiteral("Ana Núñez"));

        ImprimirObra(QStringLiteral("2"));
        QCOMPARE(registros.RecordCount(), 1);
        QVERIFY(registros.Estaciones().empty());

        // Codes are read like the code field: a negative or unknown work gives no row, and no message.
        ImprimirObra(QStringLiteral("-7"));
        QCOMPARE(registros.RecordCount(), 0);
        QVERIFY(!registros.HayObra());
        QVERIFY(mensajes.Mensajes().isEmpty());
        CerrarListados();
    }

    void sinCodigoPideLaObra_data()
    {
        QTest::addColumn<QString>("codigo");
        QTest::newRow("vacío") << QString();
        QTest::newRow("cero") << QStringLiteral("0");
        QTest::newRow("cero con decimales y blancos") << QStringLiteral(" 0,0 ");
        QTest::newRow("letras") << QStringLiteral("abc");
    }

    void sinCodigoPideLaObra()
    {
        QFETCH(QString, codigo);
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        CrearObras();
        mensajes.Responder(Respuesta::Aceptar);
        ImprimirObra(codigo);
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Busque la Obra a Imprimir"));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Informacion);
        QVERIFY(!frmListados::Existe());
    }

    void consultaQueNoSePuedeLeer()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        CrearObras();
        const auto fallida = [&mensajes](const QString& codigo) {
            mensajes.Responder(Respuesta::Aceptar);
            ImprimirObra(codigo);
            return mensajes.UltimoTexto().startsWith(QStringLiteral("No se pudo leer la obra para imprimirla.")) &&
                   mensajes.Mensajes().last().icono == Icono::Critico;
        };

        // Explained, and no window opens.
        CerrarBaseDatos();
        QVERIFY(fallida(QStringLiteral("1")));
        QVERIFY(!frmListados::Existe());

        // An open window keeps the work it shows: saving it still offers that work's file.
        QCOMPARE(AbrirBaseDatos(entorno.Destino()), Apertura::Abierta);
        ImprimirObra(QStringLiteral("1"));
        CerrarBaseDatos();
        QVERIFY(fallida(QStringLiteral("2")));
        mensajes.ElegirRuta(std::nullopt);
        frmListados::Instancia()->findChild<QAction*>(QStringLiteral("GuardarPdf"))->trigger();
        QVERIFY(QFileInfo(mensajes.propuestas.last()).fileName().startsWith(QStringLiteral("Libreta obra 1 - ")));
        CerrarListados();
    }

    void pdfConLaLibretaEntera()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) no está instalado");
        pruebas::EntornoPrueba entorno;
        CrearObras();
        ListadoObra registros;
        QVERIFY(registros.Abrir(1));
        rptCorvela informe;
        informe.FijarOrigen(&registros);
        informe.FijarDecimales(3);
        informe.FijarFecha(QDate(2024, 3, 15));
        QList<QPair<int, int>> progreso;
        informe.Progreso = [&progreso](int hechas, int total) { progreso << qMakePair(hechas, total); };
        const QString ruta = entorno.Ruta(QStringLiteral("libreta.pdf"));
        QVERIFY(informe.GuardarPdf(ruta));
        QCOMPARE(progreso, (QList<QPair<int, int>>{{1, 1}}));

        const QString texto = TextoPdf(ruta);
        const QStringList esperados =
            QStringLiteral("CORVELA GEODA|EXP-118|Parcela 23 del polígono 4|Ana Núñez|Rúa Real 14|Vigo|Pontevedra|"
                           "36202|986123456|986123457|36123456B|Base norte|12/03/2024|1,550|500123,457|4678123,250|"
                           "123,500|Base sur|13/03/2024|1,600|500200,000|4678000,000|120,000|Esquina muro|1,750|"
                           "1,250|37,123|98,400|49,876|500130,111|4678160,222|124,333|Arqueta|Farola|101,250|19,980|"
                           "Pozo|0,000|Impreso el 15/03/2024|Página 1 de 1")
                .split(u'|');
        for (const QString& esperado : esperados)
            QVERIFY2(texto.contains(esperado), qPrintable(esperado));

        informe.FijarDecimales(1);
        QVERIFY(informe.GuardarPdf(ruta));
        const QString conUnDecimal = TextoPdf(ruta);
        QVERIFY(conUnDecimal.contains(QStringLiteral("500130,1")));
        QVERIFY(conUnDecimal.contains(QStringLiteral("37,1")));
        QVERIFY(!conUnDecimal.contains(QStringLiteral("37,123")));
        QVERIFY(!conUnDecimal.contains(QStringLiteral("0,000")));

        // A note far longer than its column is cut, not spread over the pages. Only a
        // SQLite file, which does not hold texts to their declared length, can keep one.
        CORVELA_SOLO_SQLITE();
        Insertar(QStringLiteral("INSERT INTO B_PUNTOS (CODPUNTO, OBSERV, CODOBRA, CODEST) VALUES (?, ?, ?, ?)"),
                 {4, QStringLiteral("Nota muy larga ").repeated(400), 1, 2});
        QVERIFY(registros.Abrir(1));
        progreso.clear();
        QVERIFY(informe.GuardarPdf(ruta));
        QCOMPARE(progreso.last(), qMakePair(1, 1));
    }

    // The text of a book of several pages, line by line, as it has always been printed.
    void pdfComoSiempre()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) no está instalado");
        pruebas::EntornoPrueba entorno;
        CrearObraDeVariasPaginas();
        ListadoObra registros;
        QVERIFY(registros.Abrir(7));
        rptCorvela informe;
        informe.FijarOrigen(&registros);
        informe.FijarFecha(QDate(2024, 5, 3));
        const QString ruta = entorno.Ruta(QStringLiteral("libreta.pdf"));
        QVERIFY(informe.GuardarPdf(ruta));
        QFile referencia(QStringLiteral(CORVELA_REFERENCIAS "/libreta-referencia.txt"));
        QVERIFY(referencia.open(QIODevice::ReadOnly));
        QCOMPARE(Lineas(TextoPdf(ruta)), Lineas(QString::fromUtf8(referencia.readAll())));
    }

    // What the preview draws when a page comes into view reads like that page of the whole book.
    void paginaDibujadaSola()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) no está instalado");
        pruebas::EntornoPrueba entorno;
        CrearObraDeVariasPaginas();
        ListadoObra registros;
        QVERIFY(registros.Abrir(7));
        rptCorvela informe;
        informe.FijarOrigen(&registros);
        const QString libro = entorno.Ruta(QStringLiteral("libreta.pdf"));
        QVERIFY(informe.GuardarPdf(libro));

        const QString sola = entorno.Ruta(QStringLiteral("pagina.pdf"));
        QPdfWriter pdf(sola);
        rptCorvela::PrepararPagina(pdf);
        const std::unique_ptr<MaquetaLibreta> maqueta = informe.Maquetar(pdf);
        const int paginas = maqueta->ContarPaginas();
        QCOMPARE(paginas, 4);
        for (int pagina = 1; pagina <= paginas; ++pagina) {
            {
                QPdfWriter una(sola);
                rptCorvela::PrepararPagina(una);
                QPainter pintor(&una);
                maqueta->DibujarPagina(pintor, pagina, paginas);
            }
            const QString numero = QString::number(pagina);
            QCOMPARE(Lineas(TextoPdf(sola)),
                     Lineas(TextoPdf(libro, {QStringLiteral("-f"), numero, QStringLiteral("-l"), numero})));
        }
    }

    // The file proposed is in the documents folder, named after the work, among PDF
    // files only; once written, the window says where it went.
    void pdfPropuestoYGuardado_data()
    {
        QTest::addColumn<bool>("conDocumentos");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("nombre");
        QTest::newRow("en Documentos") << true << QStringLiteral("1")
                                       << QStringLiteral("Libreta obra 1 - Parcela 23 del polígono 4.pdf");
        QTest::newRow("sin Documentos, en casa")
            << false << QStringLiteral("2") << QStringLiteral("Libreta obra 2 - Sin bases.pdf");
        QTest::newRow("descripción con separadores")
            << true << QStringLiteral("3") << QStringLiteral("Libreta obra 3 - Lote 3 4 norte.pdf");
        QTest::newRow("sin descripción") << true << QStringLiteral("4") << QStringLiteral("Libreta obra 4.pdf");
    }

    void pdfPropuestoYGuardado()
    {
        QFETCH(bool, conDocumentos);
        QFETCH(QString, codigo);
        QFETCH(QString, nombre);
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        CrearObras();
        Insertar(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, DESCOBRA) VALUES (?, ?)"),
                 {3, QStringLiteral("Lote 3/4: \"norte\"\t")});
        pruebas::InsertarObra(4, QStringLiteral("Sin descripción"));
        CasaNueva casa;
        if (conDocumentos)
            QVERIFY(QDir().mkdir(casa.Ruta(QStringLiteral("Documents"))));
        const auto cerrar = qScopeGuard([] { CerrarListados(); });

        ImprimirObra(codigo);
        const QString esperada = casa.Ruta(conDocumentos ? QStringLiteral("Documents/") + nombre : nombre);
        mensajes.ElegirRuta(esperada);
        frmListados::Instancia()->findChild<QAction*>(QStringLiteral("GuardarPdf"))->trigger();
        QCOMPARE(mensajes.propuestas.last(), esperada);
        QCOMPARE(mensajes.filtros.last(), QStringLiteral("Documentos PDF (*.pdf)"));
        QVERIFY(QFileInfo(esperada).size() > 0);
        const QLabel* guardado = frmListados::Instancia()->findChild<QLabel*>(QStringLiteral("RutaGuardada"));
        QCOMPARE(guardado->text(), QStringLiteral("Guardado en ") + esperada);
        QVERIFY(guardado->isVisible());
    }

    void ventanaDelListado()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        CrearObras();

        // Reading the work waits on the database: the hourglass shows throughout
        // (watched from inside the SQLite connection; a server's has no such hook).
        std::optional<pruebas::RelojEnConsultas> reloj;
        if (!pruebas::EnServidor())
            reloj.emplace();
        ImprimirObra(QStringLiteral("1"));
        QVERIFY(!reloj || reloj->SiempreConReloj());
        reloj.reset();
        frmListados* ventana = frmListados::Instancia();
        QVERIFY(ventana->windowState() & Qt::WindowMaximized);
        VisorLibreta* visor = ventana->Visor();
        QCOMPARE(visor->Zoom(), 1.0);
        QCOMPARE(visor->Paginas(), 1);
        QCOMPARE(ventana->Informe().Decimales(), 3);
        QVERIFY(!QGuiApplication::overrideCursor());
        ventana->resize(700, 500);
        QCoreApplication::processEvents();
        QCOMPARE(visor->width(), ventana->width());
        // End and Home go to the bottom and the top of the book.
        QVERIFY(visor->verticalScrollBar()->maximum() > 0);
        QTest::keyClick(visor, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(visor->verticalScrollBar()->value(), visor->verticalScrollBar()->maximum());
        QTest::keyClick(visor, Qt::Key_Home);
        QCOMPARE(visor->verticalScrollBar()->value(), 0);
        // Zoom stays within what the pages drawn whole can afford.
        for (int i = 0; i < 40; ++i)
            visor->Acercar();
        QVERIFY(visor->Zoom() <= 3.0);
        for (int i = 0; i < 80; ++i)
            visor->Alejar();
        QVERIFY(visor->Zoom() >= 0.1);
        visor->FijarZoom(1.0);

        // Printing again with the window open lays it out again with the new data and decimals.
        bool conRelojDeArena = false;
        connect(visor, &VisorLibreta::Maquetado, this, [&conRelojDeArena] {
            conRelojDeArena =
                QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        QVERIFY(GrabarParametro(QStringLiteral("Decimales"), QStringLiteral("2")));
        CargarDecimales();
        ImprimirObra(QStringLiteral("2"));
        QCOMPARE(frmListados::Instancia(), ventana);
        QCOMPARE(ventana->Informe().Decimales(), 2);
        QVERIFY(conRelojDeArena);
        QVERIFY(!QGuiApplication::overrideCursor());

        mensajes.ConfirmarImpresion(false);
        ventana->findChild<QAction*>(QStringLiteral("Imprimir"))->trigger();
        QCOMPARE(mensajes.Preguntas().last(), QStringLiteral("Imprimir"));

        QAction* guardar = ventana->findChild<QAction*>(QStringLiteral("GuardarPdf"));
        mensajes.ElegirRuta(entorno.Ruta(QStringLiteral("copia")));
        guardar->trigger();
        QVERIFY(QFile::exists(entorno.Ruta(QStringLiteral("copia.pdf"))));
        mensajes.ElegirRuta(std::nullopt);
        guardar->trigger();
        mensajes.ElegirRuta(entorno.Ruta(QStringLiteral("no/existe/copia.pdf")));
        mensajes.Responder(Respuesta::Aceptar);
        guardar->trigger();
        QVERIFY(mensajes.UltimoTexto().startsWith(QStringLiteral("No se pudo guardar el fichero:")));
        QVERIFY(mensajes.SinRespuestasPendientes());

        // Closing drops the window; the next print builds a new one.
        CerrarListados();
        QVERIFY(!frmListados::Existe());
        ImprimirObra(QStringLiteral("1"));
        QVERIFY(frmListados::Existe());
        CerrarListados();
    }
};

QTEST_MAIN(TstImpresionObra)
#include "tst_ImpresionObra.moc"
