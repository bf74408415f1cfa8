#include "EntornoPrueba.h"
#include "core/DialogoFicheros.h"
#include "core/MensajesQt.h"

#include <QApplication>
#include <QFileSystemModel>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

    // The save picker the program shows offers only the files of its filter, in the
    // proposed folder with the proposed name, and is the picker above.
    void guardarConSuFiltro()
    {
        QTemporaryDir carpeta;
        const QString propuesta = carpeta.filePath(QStringLiteral("Libreta obra 1.pdf"));
        QFileDialog* visto = nullptr;
        QStringList filtros;
        QString directorio;
        QStringList elegidos;
        bool propio = false;
        QString extension;
        QTimer espera;
        connect(&espera, &QTimer::timeout, this, [&] {
            auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialogo)
                return;
            visto = dialogo;
            filtros = dialogo->nameFilters();
            directorio = dialogo->directory().path();
            elegidos = dialogo->selectedFiles();
            propio = dialogo->testOption(QFileDialog::DontUseNativeDialog);
            extension = dialogo->defaultSuffix();
            dialogo->reject();
        });
        espera.start(10);

        MensajesQt dialogos;
        QCOMPARE(dialogos.GuardarFichero(QStringLiteral("Guardar como PDF"), propuesta,
                                         QStringLiteral("Documentos PDF (*.pdf)")),
                 std::nullopt);
        QVERIFY(visto);
        QCOMPARE(filtros, QStringList{QStringLiteral("Documentos PDF (*.pdf)")});
        QCOMPARE(directorio, carpeta.path());
        QCOMPARE(elegidos, QStringList{propuesta});
        QVERIFY(propio);
        // Added before the dialog asks about replacing a file, so it asks about the right one.
        QCOMPARE(extension, QStringLiteral("pdf"));
    }
};

QTEST_MAIN(TstDialogoFicheros)
#include "tst_DialogoFicheros.moc"
