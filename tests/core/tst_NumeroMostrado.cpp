#include "core/NumeroMostrado.h"

#include <QTest>

using namespace corvela;

class TstNumeroMostrado : public QObject
{
    Q_OBJECT
private slots:
    void guardadoMientrasSeMuestraIgual_data()
    {
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<QString>("mostrado");
        QTest::addColumn<bool>("olvidar");
        QTest::addColumn<QString>("leido");
        QTest::addColumn<bool>("guardado");
        const QVariant ausente(QMetaType(QMetaType::Double));
        QTest::newRow("sin tocar") << QVariant(1.23456789) << "1,235" << false << "1,235" << true;
        QTest::newRow("texto cambiado") << QVariant(1.23456789) << "1,235" << false << "1,236" << false;
        QTest::newRow("ausente, mostrado vacío") << ausente << "" << false << "" << true;
        QTest::newRow("ausente, luego tecleado") << ausente << "" << false << "2" << false;
        QTest::newRow("olvidado") << QVariant(1.5) << "1,500" << true << "1,500" << false;
        QTest::newRow("olvidado, campo vacío") << QVariant(1.5) << "" << true << "" << false;
        QTest::newRow("nada mostrado") << QVariant() << "" << false << "" << false;
    }

    void guardadoMientrasSeMuestraIgual()
    {
        QFETCH(QVariant, valor);
        QFETCH(QString, mostrado);
        QFETCH(bool, olvidar);
        QFETCH(QString, leido);
        QFETCH(bool, guardado);
        NumeroMostrado numero;
        numero.Mostrar(QVariant(9.0), QStringLiteral("9"));
        numero.Mostrar(valor, mostrado);
        if (olvidar)
            numero.Olvidar();
        const std::optional<QVariant> resultado = numero.Guardado(leido);
        QCOMPARE(resultado.has_value(), guardado);
        if (guardado) {
            QCOMPARE(resultado->isNull(), valor.isNull());
            QCOMPARE(resultado->typeId(), valor.typeId());
            QVERIFY(resultado->toDouble() == valor.toDouble());
        }
    }
};

QTEST_MAIN(TstNumeroMostrado)
#include "tst_NumeroMostrado.moc"
