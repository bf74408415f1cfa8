#include "EntornoPrueba.h"
#include "core/DialogoFicheros.h"

#include <QFileSystemModel>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace corvela;

namespace {

// What another program reading the database sees.
QByteArray ObrasVistasDesdeFuera(const QString& base)
{
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {base, QStringLiteral("SELECT COUNT(*) FROM B_OBRAS;")});
    if (!sqlite.waitForFinished(10000))
        return "sin respuesta";
    return sqlite.readAllStandardOutput().trimmed();
}

} // namespace

class TstDialogoFicheros : public QObject
{
    Q_OBJECT
private slots:
    // Listing the data folder must leave the database's locks in place: without
    // them, the next program to open the database takes it as unused, removes its
    // write-ahead log, and what this process saves afterwards is lost.
    void listarLaCarpetaNoSueltaLaBaseDeDatos()
    {
        pruebas::EntornoPrueba entorno;
        const QString base = entorno.Ruta(QStringLiteral("Corvelax.db"));
        pruebas::InsertarObra(1, QStringLiteral("Antes del diálogo"));

        auto dialogo = DialogoFicheros(nullptr, QStringLiteral("Guardar"), entorno.Carpeta(), QFileDialog::AnyFile,
                                       QFileDialog::AcceptSave);
        auto* modelo = dialogo->findChild<QFileSystemModel*>();
        QVERIFY(modelo);
        QSignalSpy cargada(modelo, &QFileSystemModel::directoryLoaded);
        dialogo->show();
        QVERIFY(cargada.wait(10000));
        QTest::qWait(500); // the icons and types of the listed files are fetched after the listing
        dialogo->close();

        QCOMPARE(ObrasVistasDesdeFuera(base), QByteArray("1"));
        pruebas::InsertarObra(2, QStringLiteral("Después del diálogo"));
        QCOMPARE(ObrasVistasDesdeFuera(base), QByteArray("2"));
    }
};

QTEST_MAIN(TstDialogoFicheros)
#include "tst_DialogoFicheros.moc"
