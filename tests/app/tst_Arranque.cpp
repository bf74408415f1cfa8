// Where the program looks, as it starts, for its resources and for its data: in
// a build tree, in an installed copy, and on a user's first start.
#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "ProcesoHijo.h"
#include "app/Arranque.h"
#include "core/Globales.h"
#include "core/Parametros.h"
#include "core/frmArranque.h"
#include "records/BaseDatos.h"
#include "works/frmFicha.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace corvela;

namespace {

void CrearCarpeta(const QString& ruta)
{
    if (!QDir().mkpath(ruta))
        QTest::qFail(qPrintable(QStringLiteral("no se pudo crear ") + ruta), __FILE__, __LINE__);
}

void CrearFichero(const QString& ruta)
{
    QFile fichero(ruta);
    if (!fichero.open(QIODevice::WriteOnly))
        QTest::qFail(qPrintable(QStringLiteral("no se pudo crear ") + ruta), __FILE__, __LINE__);
}

// The works card once the splash window has handed over to it.
frmFicha* FichaMostrada()
{
    for (QWidget* ventana : QApplication::topLevelWidgets()) {
        if (auto* ficha = qobject_cast<frmFicha*>(ventana); ficha && ficha->isVisible())
            return ficha;
    }
    return nullptr;
}

void CerrarArranque()
{
    if (frmArranque::Existe())
        frmArranque::Instancia()->close();
    if (frmFicha* ficha = FichaMostrada())
        ficha->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TstArranque : public QObject
{
    Q_OBJECT
private slots:
    void carpetaDeRecursos_data()
    {
        QTest::addColumn<QStringList>("carpetas");
        QTest::addColumn<QString>("programa");
        QTest::addColumn<QString>("esperada");
        QTest::newRow("árbol de compilación") << QStringList{"build/IMAGEN"} << "build"
                                              << "build";
        // The standard layout of an install: bin/ and share/corvela-geoda/ under one prefix.
        QTest::newRow("instalado") << QStringList{"usr/bin", "usr/share/corvela-geoda/IMAGEN"} << "usr/bin"
                                   << "usr/share/corvela-geoda";
        QTest::newRow("junto al programa antes que instalado")
            << QStringList{"usr/bin/IMAGEN", "usr/share/corvela-geoda/IMAGEN"} << "usr/bin"
            << "usr/bin";
        QTest::newRow("en ninguna parte") << QStringList{"usr/bin", "usr/share/corvela-geoda"} << "usr/bin"
                                          << "usr/bin";
    }

    void carpetaDeRecursos()
    {
        QFETCH(QStringList, carpetas);
        QFETCH(QString, programa);
        QFETCH(QString, esperada);
        QTemporaryDir raiz;
        for (const QString& carpeta : carpetas)
            CrearCarpeta(QDir(raiz.path()).filePath(carpeta));
        QCOMPARE(BuscarCarpetaRecursos(QDir(raiz.path()).filePath(programa)), QDir(raiz.path()).filePath(esperada));
    }

    void carpetaDeDatos_data()
    {
        QTest::addColumn<bool>("indicada");
        QTest::addColumn<bool>("baseJuntoAlPrograma");
        QTest::addColumn<bool>("programaDeSoloLectura");
        QTest::addColumn<QString>("esperada");
        QTest::newRow("--datos manda") << true << true << false << "indicada";
        QTest::newRow("copia con sus datos") << false << true << false << "programa";
        QTest::newRow("programa sin base de datos") << false << false << false << "usuario";
        QTest::newRow("programa instalado de solo lectura") << false << true << true << "usuario";
    }

    void carpetaDeDatos()
    {
        QFETCH(bool, indicada);
        QFETCH(bool, baseJuntoAlPrograma);
        QFETCH(bool, programaDeSoloLectura);
        QFETCH(QString, esperada);
        QTemporaryDir raiz;
        const QDir carpetas(raiz.path());
        const QString programa = carpetas.filePath(QStringLiteral("bin"));
        const QString usuario = carpetas.filePath(QStringLiteral("casa/.local/share/CorvelaGeoda"));
        CrearCarpeta(programa);
        if (baseJuntoAlPrograma)
            CrearFichero(QDir(programa).filePath(QStringLiteral("Corvelax.db")));
        // Open to everybody but for writing, as an installed program's folder is.
        const auto abierta = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        if (programaDeSoloLectura)
            QVERIFY(QFile::setPermissions(raiz.path(), abierta) && QFile::setPermissions(programa, abierta));

        const QString actual = QDir::currentPath();
        const auto volver = qScopeGuard([&actual] { QDir::setCurrent(actual); });
        // A relative --datos is taken from the current folder.
        QDir::setCurrent(raiz.path());
        QString elegida;
        {
            std::optional<pruebas::SinPrivilegios> usuarioCorriente;
            if (programaDeSoloLectura && !usuarioCorriente.emplace().Efectivo())
                QSKIP("no se pudo actuar como un usuario sin privilegios");
            elegida = CarpetaDeDatos(indicada ? std::optional<QString>(QStringLiteral("mis datos")) : std::nullopt,
                                     programa, usuario);
        }
        const QHash<QString, QString> carpeta{
            {"indicada", carpetas.filePath(QStringLiteral("mis datos"))}, {"programa", programa}, {"usuario", usuario}};
        QCOMPARE(elegida, carpeta[esperada]);
        // Choosing makes nothing: no folder, and nothing left beside the program.
        QVERIFY(!QFileInfo::exists(usuario) && !QFileInfo::exists(carpetas.filePath(QStringLiteral("mis datos"))));
        QCOMPARE(QDir(programa).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
                 baseJuntoAlPrograma ? 1 : 0);
        QFile::setPermissions(raiz.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(programa, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // On a first start in the user's data folder the question names where the
    // database will be; "No" leaves no folder behind, "Sí" makes folder and database.
    void primerArranqueEnLaCarpetaDelUsuario()
    {
        QTemporaryDir casa;
        const QString datos = QDir(casa.path()).filePath(QStringLiteral(".local/share/CorvelaGeoda"));
        const QString recursos = qEnvironmentVariable("CORVELA_RECURSOS");
        pruebas::MensajesGrabados mensajes;

        mensajes.Responder(Respuesta::No);
        QVERIFY(!Main(datos, recursos));
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QVERIFY2(mensajes.UltimoTexto().contains(datos), qPrintable(mensajes.UltimoTexto()));
        QCOMPARE(mensajes.Mensajes().last().botones, Botones::SiNo);
        QVERIFY(!QFileInfo::exists(QDir(casa.path()).filePath(QStringLiteral(".local"))));
        CerrarArranque();

        mensajes.Responder(Respuesta::Si);
        QVERIFY(Main(datos, recursos));
        QVERIFY(QFileInfo(QDir(datos).filePath(QStringLiteral("Corvelax.db"))).size() > 0);
        QCOMPARE(CarpetaDatos, datos);
        CerrarArranque();
        CerrarBaseDatos();
    }

    // A new database named by the settings: the test's empty server database, or
    // the folder's missing file. "No" makes nothing and the question comes again;
    // "Sí" makes it, and the card says which server it works on.
    void primerArranqueEnLaBaseDeLosParametros()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        if (pruebas::EnServidor()) {
            QVERIFY(GrabarParametro(QStringLiteral("MotorBD"), QStringLiteral("PostgreSQL")));
            QVERIFY(GrabarParametro(QStringLiteral("BaseBD"), entorno.Destino().base));
        }
        const QString recursos = qEnvironmentVariable("CORVELA_RECURSOS");
        pruebas::MensajesGrabados mensajes;
        for (const Respuesta respuesta : {Respuesta::No, Respuesta::Si}) {
            mensajes.Responder(respuesta);
            QCOMPARE(Main(entorno.Carpeta(), recursos), respuesta == Respuesta::Si);
            QCOMPARE(mensajes.Mensajes().size(), respuesta == Respuesta::Si ? 2 : 1);
            QCOMPARE(mensajes.Mensajes().last().botones, Botones::SiNo);
            if (respuesta == Respuesta::No)
                CerrarArranque();
        }
        QCOMPARE(DescripcionBaseDatos(), entorno.Destino().Descripcion());
        QTRY_VERIFY(FichaMostrada());
        const frmFicha* ficha = FichaMostrada();
        QCOMPARE(ficha->windowTitle(), QStringLiteral("Ficha de Clientes"));
        QCOMPARE(ficha->lblBaseDatos->isVisible(), pruebas::EnServidor());
        if (pruebas::EnServidor())
            QCOMPARE(ficha->lblBaseDatos->text(), QStringLiteral("Base de datos: ") + entorno.Destino().Descripcion());
        CerrarArranque();
    }

    // --base-datos names the database of one run over the settings' one.
    void laLineaManda()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::InsertarObra(3, QStringLiteral("Íñiguez"));
        CerrarBaseDatos();
        QVERIFY(GrabarParametro(QStringLiteral("MotorBD"), QStringLiteral("PostgreSQL")));
        QVERIFY(GrabarParametro(QStringLiteral("ServidorBD"), entorno.Ruta(QStringLiteral("sin-servidor"))));
        pruebas::MensajesGrabados mensajes;
        DestinoDatos indicada = entorno.Destino();
        indicada.ruta.clear();
        QVERIFY(Main(entorno.Carpeta(), qEnvironmentVariable("CORVELA_RECURSOS"), indicada));
        QVERIFY(mensajes.Mensajes().isEmpty());
        QCOMPARE(DescripcionBaseDatos(), entorno.Destino().Descripcion());
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = 3")).toString(),
                 QStringLiteral("Íñiguez"));
        CerrarArranque();
    }
};

QTEST_MAIN(TstArranque)
#include "tst_Arranque.moc"
