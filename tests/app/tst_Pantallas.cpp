// Every window on the screens our users have: inside the screen, no label or
// field over another, every value the program writes readable whole, lists and
// dialogs in the fields' font. One screen a process (CORVELA_PANTALLA, "WxH" or
// "WxH@ratio"), since the offscreen platform reads its screens once.
#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "Pulsaciones.h"
#include "controls/BarraFiles.h"
#include "core/AjusteFormulario.h"
#include "core/BotonMultilinea.h"
#include "core/MensajesQt.h"
#include "core/frmArranque.h"
#include "fieldbook/frmPuntos.h"
#include "informe/ImpresionObra.h"
#include "informe/frmListados.h"
#include "records/AccesoDatos.h"
#include "works/frmFicha.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyleOptionFrame>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace corvela;

namespace {

enum Ventana { Arranque, Ficha, Libreta, Listados };

QWidget* Abrir(Ventana ventana)
{
    switch (ventana) {
    case Arranque:
        frmArranque::Instancia()->Mostrar();
        return frmArranque::Instancia();
    case Ficha:
        return frmFicha::Instancia();
    case Libreta:
        return frmPuntos::Instancia();
    case Listados:
        return frmListados::Instancia();
    }
    return nullptr;
}

QString Nombre(const QWidget* w)
{
    const auto* etiqueta = qobject_cast<const QLabel*>(w);
    const QString texto = etiqueta ? etiqueta->text() : QString();
    return QStringLiteral("%1 \"%2\" %3").arg(w->objectName(), texto, QDebug::toString(w->geometry()));
}

bool Comprobable(const QWidget* w)
{
    return w->isVisible() &&
           (qobject_cast<const QLabel*>(w) || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPushButton*>(w));
}

// The room a line edit leaves for its text.
int AnchoUtil(const QLineEdit* campo)
{
    QStyleOptionFrame opcion;
    opcion.initFrom(campo);
    opcion.lineWidth =
        campo->hasFrame() ? campo->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opcion, campo) : 0;
    const QRect contenido = campo->style()->subElementRect(QStyle::SE_LineEditContents, &opcion, campo);
    const QMargins margenes = campo->textMargins();
    constexpr int kMargenInterior = 2; // the line edit's own margin on each side
    return contenido.width() - margenes.left() - margenes.right() - 2 * kMargenInterior;
}

// The ink of a label's line, centred as the label draws it, within its height.
bool TintaCabe(const QLabel* etiqueta)
{
    const QFontMetrics fm = etiqueta->fontMetrics();
    const int alto = etiqueta->contentsRect().height();
    const int base = (alto - fm.height()) / 2 + fm.ascent();
    const QRect tinta = fm.tightBoundingRect(etiqueta->text());
    return base + tinta.top() >= 0 && base + tinta.bottom() <= alto;
}

// Whatever of a label, field or button does not fit: its text, its parent, a sibling.
QStringList Defectos(QWidget* padre)
{
    QStringList defectos;
    QVector<QWidget*> hermanos;
    for (QObject* o : padre->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisible())
            continue;
        if (qobject_cast<QGroupBox*>(w))
            defectos << Defectos(w);
        if (!Comprobable(w))
            continue;
        if (!padre->rect().contains(w->geometry()))
            defectos << QStringLiteral("fuera de %1: %2").arg(padre->objectName(), Nombre(w));
        for (QWidget* otro : hermanos) {
            if (otro->geometry().intersects(w->geometry()))
                defectos << QStringLiteral("se pisan: %1 y %2").arg(Nombre(otro), Nombre(w));
        }
        hermanos << w;
        const auto* etiqueta = qobject_cast<const QLabel*>(w);
        if (etiqueta && !etiqueta->wordWrap() && !etiqueta->text().isEmpty()) {
            const QFontMetrics fm = etiqueta->fontMetrics();
            if (fm.horizontalAdvance(etiqueta->text()) > etiqueta->contentsRect().width() || !TintaCabe(etiqueta))
                defectos << QStringLiteral("texto cortado (%1x%2): ")
                                    .arg(fm.horizontalAdvance(etiqueta->text()))
                                    .arg(fm.ascent() + fm.descent()) +
                                Nombre(w);
        }
        const auto* boton = qobject_cast<const QPushButton*>(w);
        if (boton && !qobject_cast<const BotonMultilinea*>(w) &&
            boton->fontMetrics().horizontalAdvance(boton->text().remove(u'&')) + 8 > boton->width())
            defectos << QStringLiteral("botón cortado: ") + boton->text();
    }
    return defectos;
}

// The font of what a modal dialog showed, read while it is up, then it is closed.
double PuntosDelDialogo(const std::function<void()>& mostrar)
{
    double puntos = 0;
    QTimer::singleShot(0, [&puntos] {
        QWidget* dialogo = QApplication::activeModalWidget();
        if (!dialogo)
            return;
        puntos = dialogo->font().pointSizeF();
        const auto botones = dialogo->findChildren<QPushButton*>();
        for (QPushButton* b : botones)
            puntos = b->font().pointSizeF() == puntos ? puntos : -1;
        dialogo->close();
    });
    mostrar();
    return puntos;
}

} // namespace

class TstPantallas : public QObject
{
    Q_OBJECT

    std::unique_ptr<pruebas::EntornoPrueba> entorno_;
    std::unique_ptr<pruebas::MensajesGrabados> mensajes_;

private slots:
    void initTestCase()
    {
        entorno_ = std::make_unique<pruebas::EntornoPrueba>();
        mensajes_ = std::make_unique<pruebas::MensajesGrabados>();
        qInfo() << "pantalla" << QGuiApplication::primaryScreen()->size() << "a"
                << QGuiApplication::primaryScreen()->devicePixelRatio();
        pruebas::InsertarObra(1, QStringLiteral("Antonio Fernández Gutiérrez"));
        QVERIFY(EjecutarAccion(QStringLiteral("UPDATE B_OBRAS SET DESCOBRA = ? WHERE CODOBRA = 1"),
                               {QStringLiteral("Levantamiento taquimétrico de la finca Los Olivos")}));
        QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (1, 1, ?, '12/03/2001', 1.55, "
                                              "-12345.678, 54321.123, -999.5)"),
                               {QStringLiteral("E-1 Esquina norte del camino, junto al pozo de la acequia")}));
        QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS VALUES (1, 'ESQ', 2.1, 2.5, 1.7, 310.125, "
                                              "98.75, 79.97, -99999.999, -99999.999, -999.999, ?, 1, 1)"),
                               {QStringLiteral("Esquina de la valla metálica")}));

        frmFicha* ficha = frmFicha::Instancia();
        ficha->show();
        QVERIFY(QTest::qWaitForWindowExposed(ficha));
        pruebas::ClicBarra(ficha->BarraFiles1, 3); // search: the work and its station are shown
        QCOMPARE(ficha->ListView1->model()->rowCount(), 1);
        ficha->ListView1->setCurrentIndex(ficha->ListView1->model()->index(0, 0));
        ficha->VerPuntos();
        frmPuntos* libreta = frmPuntos::Instancia();
        QVERIFY(QTest::qWaitForWindowExposed(libreta));
        pruebas::PulsarFila(libreta->ListView1(), 0); // the point into the entry row
        QCOMPARE(libreta->Text1(8)->text(), QStringLiteral("-99999,999"));
        ImprimirObra(QStringLiteral("1"));
        QVERIFY(frmListados::Existe());
    }

    void ventanaCabeEnPantalla_data()
    {
        QTest::addColumn<int>("ventana");
        QTest::newRow("arranque") << int(Arranque);
        QTest::newRow("ficha") << int(Ficha);
        QTest::newRow("libreta") << int(Libreta);
        QTest::newRow("listados") << int(Listados);
    }

    // Inside the screen's free area, and nothing in it cut or laid over another.
    void ventanaCabeEnPantalla()
    {
        QFETCH(int, ventana);
        QWidget* w = Abrir(static_cast<Ventana>(ventana));
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QRect libre = w->screen()->availableGeometry();
        QVERIFY2(libre.contains(w->frameGeometry()), qPrintable(QDebug::toString(w->frameGeometry())));
        const QStringList defectos = Defectos(w);
        QVERIFY2(defectos.isEmpty(), qPrintable(defectos.join(u'\n')));
    }

    void campoCabeSuValor_data()
    {
        QTest::addColumn<QLineEdit*>("campo");
        QTest::addColumn<QString>("texto");
        frmFicha* f = frmFicha::Instancia();
        frmPuntos* l = frmPuntos::Instancia();
        QTest::newRow("ficha código") << f->txtFields[0] << QStringLiteral("99999");
        QTest::newRow("estación fecha") << f->Text1[1] << QStringLiteral("00/00/0000");
        QTest::newRow("estación altura") << f->Text1[2] << QStringLiteral("9999,999");
        for (int i = 3; i <= 5; ++i)
            QTest::addRow("estación %d", i) << f->Text1[i] << QStringLiteral("-99999,999");
        QTest::newRow("estación código") << f->Text1[6] << QStringLiteral("9999");
        QTest::newRow("decimales") << f->Text2 << QStringLiteral("9");
        QTest::newRow("punto") << l->Text1(0) << QStringLiteral("999");
        for (int i = 2; i <= 6; ++i)
            QTest::addRow("lectura o ángulo %d", i) << l->Text1(i) << QStringLiteral("9999,999");
        QTest::newRow("distancia") << l->Text1(7) << QStringLiteral("9999,99");
        for (int i = 8; i <= 10; ++i)
            QTest::addRow("coordenada %d", i) << l->Text1(i) << QStringLiteral("-99999,999");
    }

    // The widest text the program writes into a field fits it whole.
    void campoCabeSuValor()
    {
        QFETCH(QLineEdit*, campo);
        QFETCH(QString, texto);
        const int ancho = campo->fontMetrics().horizontalAdvance(texto);
        QVERIFY2(ancho <= AnchoUtil(campo),
                 qPrintable(QStringLiteral("%1 necesita %2, tiene %3").arg(texto).arg(ancho).arg(AnchoUtil(campo))));
    }

    // A coordinate longer than its field still reads from its first figure.
    void coordenadaSeLeeDesdeElPrincipio()
    {
        frmPuntos* l = frmPuntos::Instancia();
        pruebas::PulsarFila(l->ListView1(), 0);
        for (int i = 8; i <= 10; ++i)
            QCOMPARE(l->Text1(i)->cursorPosition(), 0);
    }

    void listasYMenusConLaFuenteDeLosCampos_data()
    {
        QTest::addColumn<QAbstractItemView*>("lista");
        QTest::addColumn<QHeaderView*>("cabecera");
        QTest::addColumn<QMenu*>("menu");
        QTest::addColumn<QWidget*>("campo");
        QTest::addColumn<bool>("todaALaVista"); // no column beyond the list's right edge
        QTest::newRow("estaciones") << static_cast<QAbstractItemView*>(frmFicha::Instancia()->ListView1)
                                    << frmFicha::Instancia()->ListView1->header() << frmFicha::Instancia()->Menu2
                                    << static_cast<QWidget*>(frmFicha::Instancia()->Text1[0]) << true;
        QTest::newRow("puntos") << static_cast<QAbstractItemView*>(frmPuntos::Instancia()->ListView1())
                                << frmPuntos::Instancia()->ListView1()->horizontalHeader()
                                << frmPuntos::Instancia()->Menu1()
                                << static_cast<QWidget*>(frmPuntos::Instancia()->Text1(0)) << false;
    }

    // Lists, their headers and menus read as the fields do, no column cuts its
    // header or its values, and a row is as high as one line of the list's text.
    void listasYMenusConLaFuenteDeLosCampos()
    {
        QFETCH(QAbstractItemView*, lista);
        QFETCH(QHeaderView*, cabecera);
        QFETCH(QMenu*, menu);
        QFETCH(QWidget*, campo);
        QFETCH(bool, todaALaVista);
        const double puntos = campo->font().pointSizeF();
        QCOMPARE(lista->font().pointSizeF(), puntos);
        QCOMPARE(cabecera->font().pointSizeF(), puntos);
        QCOMPARE(menu->font().pointSizeF(), puntos);
        const int margen = 2 * (lista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lista) + 1);
        for (int c = 0; c < lista->model()->columnCount(); ++c) {
            const int ancho = cabecera->sectionSize(c);
            QVERIFY2(cabecera->sectionSizeHint(c) <= ancho, qPrintable(QString::number(c)));
            const QString texto = lista->model()->index(0, c).data().toString();
            const bool libre = lista->model()
                                   ->headerData(c, Qt::Horizontal)
                                   .toString()
                                   .contains(QRegularExpression(QStringLiteral("^(Notas|Descripción)$")));
            QVERIFY2(libre || lista->fontMetrics().horizontalAdvance(texto) + margen <= ancho,
                     qPrintable(texto + QStringLiteral(" en ") + QString::number(ancho)));
        }
        if (todaALaVista)
            QVERIFY(cabecera->length() <= lista->viewport()->width());
        QStyleOptionViewItem linea;
        linea.initFrom(lista);
        linea.font = lista->font();
        const QModelIndex primera = lista->model()->index(0, 0);
        QCOMPARE(lista->visualRect(primera).height(), lista->itemDelegate()->sizeHint(linea, primera).height());
    }

    // Message boxes and prompts take the size of the fields of the windows.
    void dialogosConLaFuenteDeLosCampos()
    {
        MensajesQt reales;
        const double campos = frmFicha::Instancia()->txtFields[1]->font().pointSizeF();
        QCOMPARE(PuntosDelDialogo(
                     [&reales] { reales.MsgBox(QStringLiteral("Aviso"), Icono::Informacion, Botones::Aceptar); }),
                 campos);
        QCOMPARE(PuntosDelDialogo([&reales] { reales.InputBox(QStringLiteral("¿Nombre?"), QString()); }), campos);
    }

    // The record the toolbar shows locked reads as plain text, not greyed out.
    void registroMostradoSeLee()
    {
        QLineEdit* campo = frmFicha::Instancia()->txtFields[1];
        QVERIFY(!campo->isEnabled());
        QCOMPARE(campo->text(), QStringLiteral("Antonio Fernández Gutiérrez"));
        QCOMPARE(campo->palette().color(QPalette::Disabled, QPalette::Text),
                 campo->palette().color(QPalette::Active, QPalette::Text));
    }
};

// The screen of this run, from CORVELA_PANTALLA ("1024x768" by default).
int main(int argc, char* argv[])
{
    const QString pantalla = qEnvironmentVariable("CORVELA_PANTALLA", QStringLiteral("1024x768"));
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)(?:@(\\d+))?$")).match(pantalla);
    if (!m.hasMatch())
        return 2;
    QTemporaryDir carpeta;
    const QString config = carpeta.filePath(QStringLiteral("pantalla.json"));
    QFile fichero(config);
    if (!fichero.open(QIODevice::WriteOnly))
        return 1;
    const QString razon = m.captured(3).isEmpty() ? QStringLiteral("1") : m.captured(3);
    fichero.write(QStringLiteral(R"({"screens":[{"name":"S","x":0,"y":0,"width":%1,"height":%2,)"
                                 R"("logicalDpi":96,"dpr":%3}]})")
                      .arg(m.captured(1), m.captured(2), razon)
                      .toUtf8());
    fichero.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
    QApplication aplicacion(argc, argv);
    TstPantallas prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_Pantallas.moc"
