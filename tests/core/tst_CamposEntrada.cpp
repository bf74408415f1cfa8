#include "EntornoPrueba.h"
#include "core/CamposEntrada.h"
#include "core/TextoNumerico.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace corvela;

namespace {

// A numeric field with three decimals, tidied after every change as the windows wire it.
class CampoNumerico : public QLineEdit
{
public:
    CampoNumerico()
    {
        connect(this, &QLineEdit::textChanged, this, [this] { AjustarNumero(this, QStringLiteral(","), 3); });
    }
};

} // namespace

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

    void ajustarNumeroTrasCadaCambio_data()
    {
        QTest::addColumn<QString>("escrito");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("dos comas: vale la última") << QStringLiteral("12,34,") << QStringLiteral("1234,");
        QTest::newRow("decimales de más") << QStringLiteral("12,3456") << QStringLiteral("12,345");
        QTest::newRow("menos detrás") << QStringLiteral("12-") << QStringLiteral("-12");
        QTest::newRow("menos tras un cero") << QStringLiteral("0-") << QStringLiteral("-0");
        QTest::newRow("menos solo") << QStringLiteral("-") << QStringLiteral("-");
        QTest::newRow("menos tras decimales") << QStringLiteral("1,5-") << QStringLiteral("-1,5");
    }

    void ajustarNumeroTrasCadaCambio()
    {
        QFETCH(QString, escrito);
        QFETCH(QString, esperado);
        CampoNumerico campo;
        campo.setText(escrito);
        QCOMPARE(campo.text(), esperado);
        QCOMPARE(campo.cursorPosition(), campo.text().size());
    }

    void limiteDeTecleo_data()
    {
        QTest::addColumn<QString>("inicial");
        QTest::addColumn<int>("desde");
        QTest::addColumn<int>("cuantos"); // selected before the edit
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("pegado");
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<bool>("soloTecleo");
        const auto fila = [](const char* nombre, const char* inicial, int desde, int cuantos, const char* tecleado,
                             const char* pegado, const char* esperado, bool soloTecleo) {
            QTest::newRow(nombre) << QString(inicial) << desde << cuantos << QString(tecleado) << QString(pegado)
                                  << QString(esperado) << soloTecleo;
        };
        fila("teclas hasta el límite", "", 0, 0, "123456", "", "1234", false);
        fila("teclas sobre una selección", "1234", 1, 2, "xyz", "", "1xy4", false);
        fila("pegar lo que cabe", "12", 2, 0, "", "abcdef", "12ab", false);
        fila("pegar en medio", "12", 1, 0, "", "abcdef", "1ab2", false);
        fila("pegar sobre una selección", "1234", 0, 3, "", "abcdef", "abc4", false);
        fila("pegar en un campo lleno", "1234", 4, 0, "", "ab", "1234", false);
        fila("texto del programa más largo", "10000", 5, 0, "5", "6", "10000", false);
        fila("borrar del texto del programa", "10000", 4, 1, "", "", "1000", false);
        fila("borrar de un texto del programa aún largo", "1000000", 6, 1, "", "", "100000", false);
        fila("solo tecleo: teclas hasta el límite", "", 0, 0, "123456", "", "1234", true);
        fila("solo tecleo: teclas sobre una selección", "1234", 1, 2, "xyz", "", "1xy4", true);
        fila("solo tecleo: pegar entero", "12", 1, 0, "", "abcdef", "1abcdef2", true);
        fila("solo tecleo: texto del programa más largo", "10000", 5, 0, "5", "", "10000", true);
    }

    void limiteDeTecleo()
    {
        QFETCH(QString, inicial);
        QFETCH(int, desde);
        QFETCH(int, cuantos);
        QFETCH(QString, tecleado);
        QFETCH(QString, pegado);
        QFETCH(QString, esperado);
        QFETCH(bool, soloTecleo);
        QLineEdit campo;
        new FiltroTeclas(&campo, TeclaEdicion, 0,
                         soloTecleo ? FiltroTeclas::Limite::SoloTecleo : FiltroTeclas::Limite::TecleoYPegado);
        LimitarTecleo(&campo, 4);
        QCOMPARE(LimiteTecleo(&campo), 4);
        campo.setText(inicial);
        QCOMPARE(campo.text(), inicial);
        campo.setSelection(desde, cuantos);
        if (cuantos > 0 && tecleado.isEmpty() && pegado.isEmpty())
            QTest::keyClick(&campo, Qt::Key_Delete);
        QTest::keyClicks(&campo, tecleado);
        if (!pegado.isEmpty()) {
            QApplication::clipboard()->setText(pegado);
            QTest::keySequence(&campo, QKeySequence::Paste);
        }
        QCOMPARE(campo.text(), esperado);
        QCOMPARE(campo.maxLength(), QLineEdit().maxLength());
    }

    void limiteSinFiltroPropio()
    {
        QLineEdit campo;
        LimitarTecleo(&campo, 2);
        QTest::keyClicks(&campo, QStringLiteral("abc"));
        QCOMPARE(campo.text(), QStringLiteral("ab"));
        campo.clear();
        QApplication::clipboard()->setText(QStringLiteral("xyz"));
        campo.paste();
        QCOMPARE(campo.text(), QStringLiteral("xy"));
        campo.setText(QStringLiteral("programa"));
        QCOMPARE(campo.text(), QStringLiteral("programa"));
        LimitarTecleo(&campo, 0);
        campo.clear();
        QTest::keyClicks(&campo, QStringLiteral("abc"));
        QCOMPARE(campo.text(), QStringLiteral("abc"));
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
