#include "EntornoPrueba.h"
#include "core/Globales.h"
#include "core/frmArranque.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

using namespace corvela;

class TstFrmArranque : public QObject
{
    Q_OBJECT
private slots:
    void imagenOTituloYClicQueAbreLaPrincipal()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        int principales = 0;
        frmArranque::FijarPrincipal([&principales] { ++principales; });

        // Without the picture the shadowed title stands in for it.
        CarpetaRecursos = entorno.Carpeta();
        QPointer<frmArranque> sinImagen = frmArranque::Instancia();
        QVERIFY(!sinImagen->ImagenVisible());
        const auto titulos = sinImagen->findChildren<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(titulos.size(), 2);
        for (const QLabel* titulo : titulos) {
            QVERIFY(!titulo->isHidden());
            QCOMPARE(titulo->text(), QStringLiteral("CORVELA GEODA"));
        }
        sinImagen->close();
        QTRY_VERIFY(!frmArranque::Existe());

        // A click on the picture opens the main window at once, and the splash
        // then closes without its one-second linger.
        CarpetaRecursos = QString::fromLocal8Bit(qgetenv("CORVELA_RECURSOS"));
        frmArranque* arranque = frmArranque::Instancia();
        arranque->Mostrar();
        QVERIFY(arranque->ImagenVisible());
        QTest::mouseClick(arranque->findChild<QLabel*>(QStringLiteral("Image1")), Qt::LeftButton);
        QVERIFY(arranque->Pulsada());
        QCOMPARE(principales, 1);
        QElapsedTimer reloj;
        reloj.start();
        frmArranque::Descargar();
        QVERIFY(reloj.elapsed() < 900);
        QTRY_VERIFY(!frmArranque::Existe());

        // Unclicked, the splash lingers for a second before it goes.
        frmArranque::Instancia()->Mostrar();
        reloj.restart();
        frmArranque::Descargar();
        QVERIFY(reloj.elapsed() >= 1000);
        QTRY_VERIFY(!frmArranque::Existe());
    }
};

QTEST_MAIN(TstFrmArranque)
#include "tst_frmArranque.moc"
