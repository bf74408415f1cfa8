#include "EntornoPrueba.h"
#include "core/Globales.h"
#include "core/frmArranque.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace corvela;

class TstFrmArranque : public QObject
{
    Q_OBJECT

    int principales = 0;
    QStringList sucesos;

    // The splash with its picture, shown as at start-up.
    frmArranque* Mostrado()
    {
        CarpetaRecursos = QString::fromLocal8Bit(qgetenv("CORVELA_RECURSOS"));
        frmArranque* arranque = frmArranque::Instancia();
        arranque->Mostrar();
        return arranque;
    }

    static void PulsarImagen(frmArranque* arranque)
    {
        QTest::mouseClick(arranque->findChild<QLabel*>(QStringLiteral("Image1")), Qt::LeftButton);
    }

    // Notes, once the event loop next runs, whether the splash is still on screen.
    void AnotarAlVolverAlBucle()
    {
        QTimer::singleShot(0, this, [this] {
            sucesos << (frmArranque::Existe() && frmArranque::Instancia()->isVisible() ? QStringLiteral("visible")
                                                                                       : QStringLiteral("cerrada"));
        });
    }

private slots:
    void init()
    {
        principales = 0;
        sucesos.clear();
        frmArranque::FijarPrincipal([this] {
            ++principales;
            sucesos << QStringLiteral("principal");
        });
    }

    void cleanup()
    {
        if (frmArranque::Existe())
            frmArranque::Instancia()->close();
        QTRY_VERIFY(!frmArranque::Existe());
    }

    void tituloSinImagen()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        CarpetaRecursos = entorno.Carpeta();
        frmArranque* sinImagen = frmArranque::Instancia();
        QVERIFY(!sinImagen->ImagenVisible());
        const auto titulos = sinImagen->findChildren<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(titulos.size(), 2);
        for (const QLabel* titulo : titulos) {
            QVERIFY(!titulo->isHidden());
            QCOMPARE(titulo->text(), QStringLiteral("CORVELA GEODA"));
        }
    }

    // The main window comes one second after the database opens, not before.
    void temporizadorDeUnSegundo()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        frmArranque* arranque = Mostrado();
        QVERIFY(arranque->ImagenVisible());
        auto* temporizador = arranque->findChild<QTimer*>();
        QVERIFY(temporizador);
        QCOMPARE(temporizador->interval(), 1000);
        QVERIFY(!temporizador->isActive());
        arranque->IniciarTemporizador();
        QVERIFY(temporizador->isActive());
        QTRY_COMPARE(principales, 1);
        frmArranque::Descargar();
        QVERIFY(!temporizador->isActive());
    }

    // A click on the picture opens the main window at once; unloading the splash
    // then waits for nothing.
    void clicQueAbreLaPrincipal()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        frmArranque* arranque = Mostrado();
        PulsarImagen(arranque);
        QVERIFY(arranque->Pulsada());
        QCOMPARE(principales, 1);
        // Were the wait not cut short by the click, this would hang for an hour.
        arranque->Esperar(3600);
        frmArranque::Descargar();
        QTRY_VERIFY(!frmArranque::Existe());
        QCOMPARE(sucesos, QStringList{QStringLiteral("principal")});
    }

    // Unclicked, the splash lingers on screen while the program goes on, until the
    // wait is over or the picture is clicked.
    void esperaHastaElClic()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        frmArranque* arranque = Mostrado();
        AnotarAlVolverAlBucle();
        frmArranque::Descargar();
        QTRY_VERIFY(!frmArranque::Existe());
        AnotarAlVolverAlBucle();
        QTRY_COMPARE(sucesos, (QStringList{QStringLiteral("visible"), QStringLiteral("cerrada")}));

        arranque = Mostrado();
        QTimer::singleShot(0, this, [arranque] { PulsarImagen(arranque); });
        arranque->Esperar(3600);
        QVERIFY(arranque->Pulsada());
        QCOMPARE(principales, 1);
    }
};

QTEST_MAIN(TstFrmArranque)
#include "tst_frmArranque.moc"
