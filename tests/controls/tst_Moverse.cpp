#include "AnfitrionPrueba.h"
#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "controls/BarraFiles.h"
#include "controls/Moverse.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace corvela;
using pruebas::AnfitrionPrueba;

namespace {

void InsertarObras(int cuantas)
{
    for (int i = 1; i <= cuantas; ++i) {
        pruebas::InsertarObra(i, QStringLiteral("Cliente %1").arg(i));
    }
}

QString Posicion(const Moverse* navegador)
{
    return navegador->findChild<QPushButton*>(QStringLiteral("Command1_2"))->text();
}

QString Codigo(const AnfitrionPrueba& ficha)
{
    return ficha.Campo(QStringLiteral("CODOBRA"))->text();
}

void Pulsar(Moverse* navegador, int boton)
{
    QTest::mouseClick(navegador->findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(boton)), Qt::LeftButton);
}

bool EnEstadoRegistroMostrado(const BarraFiles* barra)
{
    const std::array<bool, 9> esperado{true, true, false, false, true, false, true, true, true};
    for (int i = 0; i < 9; ++i) {
        if (barra->EstBoton(i) != esperado[i])
            return false;
    }
    return true;
}

} // namespace

class TstMoverse : public QObject
{
    Q_OBJECT
private slots:
    void recorridoConVueltaYRotulos()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObras(4);
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.show();
        Moverse* nav = ficha.Moverse1;

        nav->Registros();
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 4"));
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));
        QCOMPARE(ficha.Campo(QStringLiteral("PROPIETARIO"))->text(), QStringLiteral("Cliente 1"));
        QCOMPARE(ficha.desplazamientos, 0);
        QVERIFY(!ficha.BarraFiles1->EstBoton(1)); // Registros leaves the toolbar alone

        Pulsar(nav, 3);
        QCOMPARE(Posicion(nav), QStringLiteral("2 de 4"));
        QCOMPARE(Codigo(ficha), QStringLiteral("2"));
        QCOMPARE(ficha.desplazamientos, 1);
        QVERIFY(EnEstadoRegistroMostrado(ficha.BarraFiles1));

        Pulsar(nav, 4);
        QCOMPARE(Posicion(nav), QStringLiteral("4 de 4"));
        Pulsar(nav, 3);
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 4"));
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));
        Pulsar(nav, 1);
        QCOMPARE(Posicion(nav), QStringLiteral("4 de 4"));
        QCOMPARE(Codigo(ficha), QStringLiteral("4"));
        Pulsar(nav, 0);
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));

        // The position button refreshes the fields without moving.
        ficha.Campo(QStringLiteral("PROPIETARIO"))->setText(QStringLiteral("tocado"));
        Pulsar(nav, 2);
        QCOMPARE(ficha.Campo(QStringLiteral("PROPIETARIO"))->text(), QStringLiteral("Cliente 1"));
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 4"));
        QCOMPARE(ficha.desplazamientos, 6);

        nav->Mover(QStringLiteral("S"));
        QCOMPARE(Codigo(ficha), QStringLiteral("2"));
        nav->Mover(QStringLiteral("A"));
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));
        nav->Mover(QStringLiteral("-"));
        QCOMPARE(Codigo(ficha), QStringLiteral("4"));
        nav->Mover(QStringLiteral("+"));
        nav->Mover(QStringLiteral("U"));
        QCOMPARE(Codigo(ficha), QStringLiteral("4"));
        nav->Mover(QStringLiteral("P"));
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));
        const int antes = ficha.desplazamientos;
        for (const QString& nada : {QStringLiteral("s"), QStringLiteral("p"), QStringLiteral("X"), QString()})
            nav->Mover(nada);
        QCOMPARE(ficha.desplazamientos, antes);
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));
        QVERIFY(mensajes.Mensajes().isEmpty());

        nav->VisibleCtl(false);
        QVERIFY(nav->findChild<QFrame*>(QStringLiteral("FrameMoverse"))->isHidden());
        nav->VisibleCtl(true);
        QVERIFY(!nav->findChild<QFrame*>(QStringLiteral("FrameMoverse"))->isHidden());
    }

    void unRegistroYNinguno()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObras(1);
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        Moverse* nav = ficha.Moverse1;
        nav->Registros();
        Pulsar(nav, 3);
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 1"));
        Pulsar(nav, 1);
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 1"));
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));

        // An empty record set: no record to show, the toolbar clears the screen.
        nav->RSUsado =
            std::make_shared<RecordSet>(RecordSet::Abrir(QStringLiteral("SELECT * FROM B_OBRAS WHERE CODOBRA < 0")));
        const int limpiezas = ficha.limpiezas;
        Pulsar(nav, 3);
        QCOMPARE(Posicion(nav), QStringLiteral("Ningún Registro"));
        QCOMPARE(ficha.limpiezas, limpiezas + 1);
        QVERIFY(ficha.BarraFiles1->EstBoton(3) && !ficha.BarraFiles1->EstBoton(1));
        QCOMPARE(ficha.desplazamientos, 3);
        QVERIFY(mensajes.Mensajes().isEmpty());

        // Registros on it reports that there is no current record.
        mensajes.Responder(Respuesta::Aceptar);
        nav->Registros();
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("3021-No hay un registro activo."));
        QCOMPARE(mensajes.Mensajes().first().icono, Icono::Informacion);
        QCOMPARE(ficha.desplazamientos, 3);
    }
};

QTEST_MAIN(TstMoverse)
#include "tst_Moverse.moc"
