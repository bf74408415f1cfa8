#include "core/AjusteFormulario.h"
#include "core/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace corvela;

namespace {

// A window of 6000 by 4000 twips at 300, 300 with 8-point controls, some in a frame.
struct Ventana
{
    QWidget ventana;
    QLineEdit* texto;
    QGroupBox* marco;
    QLineEdit* enMarco;
    QTreeView* lista;
    QLabel* label5;
    QComboBox* combo;
    QMenu* menu;

    Ventana()
    {
        QFont ocho = ventana.font();
        ocho.setPointSizeF(8);
        ventana.setFont(ocho);
        ColocarTwips(&ventana, 300, 300, 6000, 4005);
        texto = Crear<QLineEdit>(&ventana, "Text1", 150, 150, 1500, 300);
        marco = Crear<QGroupBox>(&ventana, "Frame1", 150, 600, 4500, 2400);
        enMarco = Crear<QLineEdit>(marco, "txtFields", 150, 300, 1500, 300);
        lista = Crear<QTreeView>(marco, "ListView1", 150, 900, 3000, 1200);
        label5 = Crear<QLabel>(marco, "Label5", 1800, 300, 900, 300);
        combo = Crear<QComboBox>(&ventana, "Combo1", 150, 3150, 1500, 315);
        menu = new QMenu(&ventana);
        new QTimer(&ventana);
    }

    template <typename T> static T* Crear(QWidget* padre, const char* nombre, int x, int y, int ancho, int alto)
    {
        auto* control = new T(padre);
        control->setObjectName(QString::fromLatin1(nombre));
        ColocarTwips(control, x, y, ancho, alto);
        return control;
    }
};

} // namespace

class TstAjusteFormulario : public QObject
{
    Q_OBJECT
private slots:
    void pantallaDe1024x768()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(1024, 768));
        Ventana v;
        Ajustar_Form(&v.ventana);
        // 6000 by 4005 twips at 300, 300 become 9600 by 6408 at 480, 480.
        QCOMPARE(v.ventana.geometry(), QRect(32, 32, 640, 427));
        QCOMPARE(v.texto->geometry(), QRect(16, 16, 160, 32));
        QCOMPARE(v.texto->font().pointSizeF(), 12.8);
        // Inside a frame: placed in the grown frame, the font scaled once, not again by the frame's.
        QCOMPARE(v.marco->geometry(), QRect(16, 64, 480, 256));
        QCOMPARE(v.enMarco->geometry(), QRect(16, 32, 160, 32));
        QCOMPARE(v.enMarco->font().pointSizeF(), 12.8);
        QCOMPARE(v.marco->font().pointSizeF(), 12.8);
        QCOMPARE(v.lista->geometry(), QRect(16, 96, 320, 128));
        QCOMPARE(v.lista->font().pointSizeF(), 12.8);
        QCOMPARE(v.label5->geometry(), RectTwips(1800, 300, 900, 300));
        QCOMPARE(v.label5->font().pointSizeF(), 8.0);
        QCOMPARE(v.combo->geometry(), QRect(16, 336, 160, 21));
        QCOMPARE(v.combo->font().pointSizeF(), 12.8);

        QCOMPARE(v.menu->font().pointSizeF(), 12.8);

        // A second call scales again, as far as the window with its frame fits the
        // screen (1024 - 16 of 640 wide), and moves it inside.
        Ajustar_Form(&v.ventana);
        QCOMPARE(v.ventana.geometry(), QRect(0, 45, 1008, 683));
        QCOMPARE(v.enMarco->font().pointSizeF(), 12.8 * 1008 / 640);
        QCOMPARE(v.lista->font().pointSizeF(), 12.8 * 1008 / 640);
    }

    void pantallaAncha_data()
    {
        QTest::addColumn<QSize>("pantalla");
        QTest::addColumn<double>("puntos");
        QTest::newRow("1920x1080") << QSize(1920, 1080) << 8.0 * 1080 / 480;
        QTest::newRow("1280x1024") << QSize(1280, 1024) << 16.0;
        QTest::newRow("1024x768") << QSize(1024, 768) << 12.8;
    }

    // Text grows by the smaller factor, so it stays within the height made for it.
    void pantallaAncha()
    {
        QFETCH(QSize, pantalla);
        QFETCH(double, puntos);
        Ventana v;
        Ajustar_Form(&v.ventana, pantalla);
        QCOMPARE(v.texto->font().pointSizeF(), puntos);
        QCOMPARE(v.lista->font().pointSizeF(), puntos);
        QVERIFY(v.texto->height() >= QFontMetrics(v.texto->font()).height());
    }

    // Controls that meet stay apart whatever the rounding.
    void controlesContiguosNoSeSolapan()
    {
        QWidget ventana;
        QLabel arriba(&ventana);
        QLineEdit abajo(&ventana);
        ColocarTwips(&ventana, 0, 0, 9600, 7200);
        ColocarTwips(&arriba, 120, 120, 600, 240);
        ColocarTwips(&abajo, 120, 360, 600, 285);
        arriba.setObjectName(QStringLiteral("Label3"));
        abajo.setObjectName(QStringLiteral("Text1"));
        Ajustar_Form(&ventana, QSize(1024, 768));
        QVERIFY(!arriba.geometry().intersects(abajo.geometry()));
        QCOMPARE(arriba.geometry().bottom() + 1, abajo.geometry().top());
    }

    void pantallaDe640x480NoCambiaNada()
    {
        Ventana v;
        const QRect antes = v.enMarco->geometry();
        Ajustar_Form(&v.ventana, QSize(640, 480));
        QCOMPARE(v.ventana.geometry(), RectTwips(300, 300, 6000, 4005));
        QCOMPARE(v.enMarco->geometry(), antes);
        QCOMPARE(v.enMarco->font().pointSizeF(), 8.0);
        QCOMPARE(v.texto->font().pointSizeF(), 8.0);
    }
};

// The whole run gets a 1024 by 768 offscreen screen.
int main(int argc, char* argv[])
{
    QTemporaryDir carpeta;
    const QString config = carpeta.filePath(QStringLiteral("pantalla.json"));
    QFile fichero(config);
    if (!fichero.open(QIODevice::WriteOnly))
        return 1;
    fichero.write(R"({"screens":[{"name":"S","x":0,"y":0,"width":1024,"height":768,"logicalDpi":96}]})");
    fichero.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
    QApplication aplicacion(argc, argv);
    TstAjusteFormulario prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_AjusteFormulario.moc"
