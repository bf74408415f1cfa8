#include "core/CamposEntrada.h"
#include "core/TextoNumerico.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QVBoxLayout>

using namespace corvela;

class TstCamposEntrada : public QObject
{
    Q_OBJECT
private slots:
    void teclaNumericaFiltraYTraduceElSeparador()
    {
        const QString coma = QStringLiteral(",");
        int c = '.';
        QCOMPARE(TeclaNumerica(c, coma), int(','));
        QCOMPARE(c, int(','));
        c = '7';
        QCOMPARE(TeclaNumerica(c, coma), int('7'));
        c = 8;
        QCOMPARE(TeclaNumerica(c, coma), 8);
        for (int rechazada : {int('-'), int('a'), 13, 22, 3}) {
            c = rechazada;
            QCOMPARE(TeclaNumerica(c, coma), 0);
            QCOMPARE(c, 0);
        }
    }

    void teclaEdicion()
    {
        QWidget ventana;
        auto* a = new QLineEdit(&ventana);
        auto* b = new QLineEdit(&ventana);
        auto* notas = new QPlainTextEdit(&ventana);
        auto* capa = new QVBoxLayout(&ventana);
        capa->addWidget(a);
        capa->addWidget(b);
        capa->addWidget(notas);
        new FiltroTeclas(a, TeclaEdicion);
        ventana.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ventana));
        a->setFocus();
        QTest::keyClicks(a, QStringLiteral("di\"x"));
        QCOMPARE(a->text(), QStringLiteral("di'x"));
        QTest::keyClick(a, Qt::Key_Return);
        QCOMPARE(a->text(), QStringLiteral("di'x"));
        QTRY_VERIFY(b->hasFocus());
        int c = 13;
        QCOMPARE(TeclaEdicion(c, notas), 13);
        c = 27;
        QCOMPARE(TeclaEdicion(c, a), 0);
        c = 'q';
        QCOMPARE(TeclaEdicion(c, a), int('q'));
    }

    void contarApariciones()
    {
        int primera = -1, ultima = -1;
        QCOMPARE(ContarApariciones(QStringLiteral("1,2,3"), QStringLiteral(","), primera, ultima), 2);
        QCOMPARE(primera, 2);
        QCOMPARE(ultima, 4);
        ultima = 9;
        QCOMPARE(ContarApariciones(QStringLiteral("123"), QStringLiteral(","), primera, ultima), 0);
        QCOMPARE(primera, 0);
        QCOMPARE(ultima, 9);
    }

    void ajustarNumeroTrasCadaCambio()
    {
        QLineEdit campo;
        QObject::connect(&campo, &QLineEdit::textChanged, [&campo] { AjustarNumero(&campo, QStringLiteral(","), 3); });
        auto escribir = [&campo](const QString& s) {
            campo.setText(s);
            return campo.text();
        };
        QCOMPARE(escribir(QStringLiteral("12,34,")), QStringLiteral("1234,"));
        QCOMPARE(escribir(QStringLiteral("12,3456")), QStringLiteral("12,345"));
        QCOMPARE(escribir(QStringLiteral("12-")), QStringLiteral("-12"));
        QCOMPARE(escribir(QStringLiteral("0-")), QStringLiteral("-0"));
        QCOMPARE(escribir(QStringLiteral("-")), QStringLiteral("-"));
        QCOMPARE(escribir(QStringLiteral("1,5-")), QStringLiteral("-1,5"));
        QCOMPARE(campo.cursorPosition(), campo.text().size());

        auto* azar = QRandomGenerator::global();
        const QString letras = QStringLiteral("0123456789,,--.eE ");
        for (int i = 0; i < 5000; ++i) {
            QString s;
            for (int j = azar->bounded(25); j > 0; --j)
                s += letras[azar->bounded(letras.size())];
            escribir(s);
        }
    }

    void soloDigitos()
    {
        QLineEdit campo;
        SoloDigitos(&campo);
        QTest::keyClicks(&campo, QStringLiteral("1a2,3"));
        QCOMPARE(campo.text(), QStringLiteral("123"));
    }
};

QTEST_MAIN(TstCamposEntrada)
#include "tst_CamposEntrada.moc"
