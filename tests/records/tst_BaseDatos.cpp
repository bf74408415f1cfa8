#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "MensajesGrabados.h"
#include "ProcesoHijo.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/RecordSet.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <cerrno>
#include <optional>

using namespace corvela;
using pruebas::InsertarObra;

namespace {

QByteArray Huella(const QString& ruta)
{
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Runs statements on the file through a connection of the test's own.
void Ejecutar(const QString& ruta, const QStringList& sentencias)
{
    {
        QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("otra"));
        otra.setDatabaseName(ruta);
        QVERIFY(otra.open());
        for (const QString& sentencia : sentencias)
            QVERIFY2(QSqlQuery(otra).exec(sentencia), qPrintable(sentencia));
        otra.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("otra"));
}

// The program's own empty database, closed again.
void CrearBaseDelPrograma(const QString& ruta)
{
    pruebas::MensajesGrabados mensajes;
    mensajes.Responder(Respuesta::Si);
    QCOMPARE(AbrirBaseDatos(ruta), Apertura::Abierta);
    CerrarBaseDatos();
}

QStringList FicherosDeLaBase(const QString& carpeta)
{
    return QDir(carpeta).entryList({QStringLiteral("Corvelax.db*")}, QDir::AllEntries | QDir::NoDotAndDotDot);
}

// A file of the database that the surveyor cannot write: read-only for
// everybody, while the rest is open to everybody.
void ProtegerParaOtros(const QString& carpeta, const QString& protegido)
{
    QFile::setPermissions(carpeta, QFileDevice::Permissions(0x7777));
    const QStringList ficheros = FicherosDeLaBase(carpeta);
    for (const QString& nombre : ficheros) {
        const QString ruta = QDir(carpeta).filePath(nombre);
        QFile::setPermissions(ruta, nombre == protegido ? QFileDevice::Permissions(0x4444)
                                                        : QFileDevice::Permissions(0x6666));
    }
}

// Runs statements on a server's database through a connection of the test's own
// and gives back the tables it then holds, in lower case; empty on failure.
QStringList TablasDelServidor(const QString& base, const QStringList& sentencias = {})
{
    QStringList tablas;
    {
        QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("otra"));
        otra.setDatabaseName(base);
        otra.setConnectOptions(QStringLiteral("options='-c client_min_messages=warning'"));
        if (otra.open()) {
            QSqlQuery q(otra);
            for (const QString& sentencia : sentencias) {
                if (!q.exec(sentencia))
                    qWarning("%s: %s", qPrintable(sentencia), qPrintable(q.lastError().text()));
            }
            if (q.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                      "'public' ORDER BY table_name"))) {
                while (q.next())
                    tablas << q.value(0).toString();
            }
        }
        otra.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("otra"));
    return tablas;
}

// Whether some file of the folder holds the text.
bool AlgunFicheroContiene(const QString& carpeta, const QByteArray& texto)
{
    QDirIterator ficheros(carpeta, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (ficheros.hasNext()) {
        QFile fichero(ficheros.next());
        if (fichero.open(QIODevice::ReadOnly) && fichero.readAll().contains(texto))
            return true;
    }
    return false;
}

enum class CasoServidor { TablasAjenas, Incompleta, SinServidor };

enum class Caso { Texto, SinTablas, TablasAjenas, Vacio, Bloqueado, WalAjeno, ShmAjeno };

} // namespace

Q_DECLARE_METATYPE(Caso)
Q_DECLARE_METATYPE(CasoServidor)

class TstBaseDatos : public QObject
{
    Q_OBJECT
private slots:
    void crearONoCrearAlFaltar()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        // Its folder too is made only when the database is.
        const QString ruta = entorno.Ruta(QStringLiteral("nueva/datos/Corvelax.db"));
        {
            pruebas::MensajesGrabados mensajes;
            mensajes.Responder(Respuesta::No);
            QCOMPARE(AbrirBaseDatos(ruta), Apertura::NoCreada);
            QCOMPARE(mensajes.Mensajes().first().botones, Botones::SiNo);
            QVERIFY(!QFileInfo::exists(entorno.Ruta(QStringLiteral("nueva"))));
        }
        {
            pruebas::MensajesGrabados mensajes;
            mensajes.Responder(Respuesta::Si);
            QCOMPARE(AbrirBaseDatos(ruta), Apertura::Abierta);
            QCOMPARE(LongitudColumna(QStringLiteral("codigopostal")), 10);
            QCOMPARE(LongitudColumna(QStringLiteral("CODOBRA")), 4);
            QCOMPARE(TipoColumna(QStringLiteral("CC1")), QMetaType::Double);
            CerrarBaseDatos();
        }
        pruebas::MensajesGrabados sinPreguntas;
        QCOMPARE(AbrirBaseDatos(ruta), Apertura::Abierta);
        QVERIFY(sinPreguntas.Mensajes().isEmpty());
        QSqlQuery q(BaseDatos());
        QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("wal"));

        // A database made before the points had their indexes gets them when it opens.
        CerrarBaseDatos();
        Ejecutar(ruta, {QStringLiteral("DROP INDEX B_PUNTOS_CC1"), QStringLiteral("DROP INDEX B_PUNTOS_CC2")});
        QCOMPARE(AbrirBaseDatos(ruta), Apertura::Abierta);
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND "
                                                   "name IN ('B_PUNTOS_CC1', 'B_PUNTOS_CC2')"))
                     .toInt(),
                 2);
    }

    // A server's database without any table is offered the program's tables;
    // declining leaves it empty, accepting makes them as declared.
    void servidorVacioOfreceLasTablas()
    {
        if (!pruebas::EnServidor())
            QSKIP("trata de una base de datos de un servidor");
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        const DestinoDatos destino = entorno.Destino();
        {
            pruebas::MensajesGrabados mensajes;
            mensajes.Responder(Respuesta::No);
            QCOMPARE(AbrirBaseDatos(destino), Apertura::NoCreada);
            QCOMPARE(mensajes.Mensajes().size(), 1);
            QVERIFY(mensajes.UltimoTexto().startsWith(
                QStringLiteral("La base de datos no tiene las tablas de Corvela Geoda")));
            QCOMPARE(mensajes.Mensajes()[0].botones, Botones::SiNo);
            QCOMPARE(TablasDelServidor(destino.base), QStringList());
        }
        pruebas::MensajesGrabados mensajes;
        mensajes.Responder(Respuesta::Si);
        QCOMPARE(AbrirBaseDatos(destino), Apertura::Abierta);
        QCOMPARE(MotorActual(), Motor::PostgreSql);
        QCOMPARE(LongitudColumna(QStringLiteral("PROPIETARIO")), 60);
        QCOMPARE(LongitudColumna(QStringLiteral("codigopostal")), 10);
        QCOMPARE(LongitudColumna(QStringLiteral("CODOBRA")), 4);
        QCOMPARE(TipoColumna(QStringLiteral("CC1")), QMetaType::Double);
        InsertarObra(1, QStringLiteral("Núñez"));
        CerrarBaseDatos();
        QCOMPARE(TablasDelServidor(destino.base),
                 (QStringList{QStringLiteral("b_estaciones"), QStringLiteral("b_obras"), QStringLiteral("b_puntos")}));

        // Opened again, as it is, without a question.
        mensajes.Olvidar();
        QCOMPARE(AbrirBaseDatos(destino), Apertura::Abierta);
        QVERIFY(mensajes.Mensajes().isEmpty());
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = 1")).toString(),
                 QStringLiteral("Núñez"));
    }

    // What is not the program's database on a server, or no server at all, is
    // refused with its reason and left as it was.
    void servidorRechazado_data()
    {
        QTest::addColumn<CasoServidor>("caso");
        QTest::addColumn<QString>("inicio");
        QTest::addColumn<QString>("motivo");
        const QString rechazo = QStringLiteral("No se puede usar la base de datos:");
        QTest::newRow("tablas de otro programa")
            << CasoServidor::TablasAjenas << rechazo << QStringLiteral("Tiene tablas de otro programa");
        QTest::newRow("solo algunas de nuestras tablas")
            << CasoServidor::Incompleta << rechazo << QStringLiteral("Falta la tabla B_ESTACIONES");
        QTest::newRow("servidor equivocado")
            << CasoServidor::SinServidor << QStringLiteral("No se puede conectar con la base de datos:") << "";
    }
    void servidorRechazado()
    {
        QFETCH(CasoServidor, caso);
        QFETCH(QString, inicio);
        QFETCH(QString, motivo);
        if (!pruebas::EnServidor())
            QSKIP("trata de una base de datos de un servidor");
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        DestinoDatos destino = entorno.Destino();
        QStringList antes;
        if (caso == CasoServidor::TablasAjenas)
            antes = TablasDelServidor(destino.base, {QStringLiteral("CREATE TABLE CLIENTES (NUMERO INTEGER)"),
                                                     QStringLiteral("INSERT INTO CLIENTES VALUES (7)")});
        else if (caso == CasoServidor::Incompleta)
            antes = TablasDelServidor(destino.base, {QStringLiteral("CREATE TABLE B_OBRAS (CODOBRA INTEGER)")});
        else
            destino.puerto = qEnvironmentVariableIntValue("PGPORT") + 1;

        pruebas::MensajesGrabados mensajes;
        mensajes.Responder(Respuesta::Aceptar);
        QCOMPARE(AbrirBaseDatos(destino), Apertura::Rechazada);
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QVERIFY2(mensajes.UltimoTexto().startsWith(inicio), qPrintable(mensajes.UltimoTexto()));
        QVERIFY2(mensajes.UltimoTexto().contains(motivo), qPrintable(mensajes.UltimoTexto()));
        QVERIFY(mensajes.UltimoTexto().contains(destino.Descripcion()));
        QCOMPARE(mensajes.Mensajes()[0].icono, Icono::Critico);
        QVERIFY(!BaseDatos().isOpen());
        QCOMPARE(TablasDelServidor(entorno.Destino().base), antes);
    }

    // A user that must give a password is asked for it, again when it is wrong;
    // it is kept nowhere, and declining to give it is explained.
    void servidorConContrasena()
    {
        if (!pruebas::EnServidor())
            QSKIP("trata de una base de datos de un servidor");
        const QString usuario = qEnvironmentVariable("CORVELA_PG_USUARIO_CLAVE");
        QVERIFY2(!usuario.isEmpty(), "tools/postgresql-prueba.sh arrancar da el usuario con contraseña");
        pruebas::EntornoPrueba entorno;
        CerrarBaseDatos();
        DestinoDatos destino = entorno.Destino();
        destino.usuario = usuario;
        {
            pruebas::MensajesGrabados mensajes;
            mensajes.Teclear(QStringLiteral("mala"));
            mensajes.Teclear(QStringLiteral("clave"));
            QCOMPARE(AbrirBaseDatos(destino), Apertura::Abierta);
            QCOMPARE(mensajes.Preguntas().size(), 2);
            QVERIFY2(mensajes.Preguntas()[0].startsWith(QStringLiteral("Contraseña de ") + usuario),
                     qPrintable(mensajes.Preguntas()[0]));
            // The second time the user is told why it is asked again.
            QVERIFY2(mensajes.Preguntas()[1].startsWith(QStringLiteral("La contraseña no es correcta.\r\n\r\n") +
                                                        QStringLiteral("Contraseña de ") + usuario),
                     qPrintable(mensajes.Preguntas()[1]));
            QVERIFY(mensajes.Mensajes().isEmpty());
            QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT current_user")).toString(), usuario);
            InsertarObra(1, QStringLiteral("Con contraseña"));
            CerrarBaseDatos();
        }
        QVERIFY(!AlgunFicheroContiene(entorno.Carpeta(), "clave"));

        pruebas::MensajesGrabados mensajes;
        mensajes.Teclear(std::nullopt);
        mensajes.Responder(Respuesta::Aceptar);
        QCOMPARE(AbrirBaseDatos(destino), Apertura::Rechazada);
        QCOMPARE(mensajes.Preguntas().size(), 1);
        QVERIFY(mensajes.UltimoTexto().startsWith(QStringLiteral("No se puede conectar con la base de datos:")));
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("No se ha dado la contraseña.")),
                 qPrintable(mensajes.UltimoTexto()));
        QVERIFY(!BaseDatos().isOpen());
    }

    void rechazadosQuedanIntactos_data()
    {
        QTest::addColumn<Caso>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("fichero de texto") << Caso::Texto << QStringLiteral("Corvelax.db");
        QTest::newRow("SQLite sin nuestras tablas") << Caso::SinTablas << QStringLiteral("B_ESTACIONES");
        QTest::newRow("tablas ajenas con nuestros nombres") << Caso::TablasAjenas << QStringLiteral("DESCOBRA");
        QTest::newRow("fichero vacío") << Caso::Vacio << QStringLiteral("vacío");
        QTest::newRow("bloqueada por otro programa") << Caso::Bloqueado << QStringLiteral("otro programa");
        QTest::newRow("-wal de otro usuario") << Caso::WalAjeno << QStringLiteral("Corvelax.db-wal");
        QTest::newRow("-shm de otro usuario") << Caso::ShmAjeno << QStringLiteral("Corvelax.db-shm");
    }

    void rechazadosQuedanIntactos()
    {
        QFETCH(Caso, caso);
        QFETCH(QString, motivo);
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        const QString ruta = entorno.Ruta(QStringLiteral("Corvelax.db"));
        std::optional<pruebas::BloqueoExterno> bloqueo;
        const bool deOtroUsuario = caso == Caso::WalAjeno || caso == Caso::ShmAjeno;
        switch (caso) {
        case Caso::Texto:
            pruebas::EscribirFichero(ruta, "esto no es una base de datos");
            break;
        case Caso::SinTablas:
            Ejecutar(ruta, {QStringLiteral("CREATE TABLE B_OBRAS (CODOBRA INTEGER)")});
            break;
        case Caso::TablasAjenas:
            Ejecutar(ruta,
                     {QStringLiteral("CREATE TABLE B_OBRAS (CODOBRA INTEGER, NOMBRE TEXT)"),
                      QStringLiteral("CREATE TABLE B_ESTACIONES (CODOBRA INTEGER, CODEST INTEGER)"),
                      QStringLiteral("CREATE TABLE B_PUNTOS (CODOBRA INTEGER, CODEST INTEGER, CODPUNTO INTEGER)")});
            break;
        case Caso::Vacio:
            pruebas::EscribirFichero(ruta, QByteArray());
            break;
        case Caso::Bloqueado:
            // In WAL mode readers pass a writer's lock; the classic journal blocks them.
            CrearBaseDelPrograma(ruta);
            Ejecutar(ruta, {QStringLiteral("PRAGMA journal_mode=DELETE")});
            bloqueo.emplace(ruta);
            QVERIFY(bloqueo->Tomado());
            break;
        case Caso::WalAjeno:
        case Caso::ShmAjeno:
            // Left by a run of the program under another user.
            CrearBaseDelPrograma(ruta);
            pruebas::EscribirFichero(ruta + QStringLiteral("-wal"), QByteArray());
            pruebas::EscribirFichero(ruta + QStringLiteral("-shm"), QByteArray());
            ProtegerParaOtros(entorno.Carpeta(), caso == Caso::WalAjeno ? QStringLiteral("Corvelax.db-wal")
                                                                        : QStringLiteral("Corvelax.db-shm"));
            break;
        }
        const QStringList ficheros = FicherosDeLaBase(entorno.Carpeta());
        const QByteArray antes = Huella(ruta);

        pruebas::MensajesGrabados mensajes;
        mensajes.Responder(Respuesta::Aceptar);
        {
            std::optional<pruebas::SinPrivilegios> sinPrivilegios;
            if (deOtroUsuario && !sinPrivilegios.emplace().Efectivo())
                QSKIP("as root without the right to change the file-system user, every file is writable");
            QCOMPARE(AbrirBaseDatos(ruta), Apertura::Rechazada);
        }
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QCOMPARE(mensajes.Mensajes().first().icono, Icono::Critico);
        QVERIFY2(mensajes.UltimoTexto().contains(motivo), qPrintable(mensajes.UltimoTexto()));
        QVERIFY(!BaseDatos().isOpen());
        QCOMPARE(Huella(ruta), antes);
        QCOMPARE(FicherosDeLaBase(entorno.Carpeta()), ficheros);
    }

    void creacionFallidaNoDejaRastro_data()
    {
        QTest::addColumn<QString>("subcarpeta");
        QTest::addColumn<bool>("discoLleno");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("disco lleno") << QStringLiteral("llena") << true << QString();
        QTest::newRow("carpeta bajo un fichero")
            << QStringLiteral("fichero/datos") << false << QStringLiteral("No se pudo crear la carpeta");
        QTest::newRow("carpeta protegida") << QStringLiteral("protegida") << false << qt_error_string(EACCES);
    }

    void creacionFallidaNoDejaRastro()
    {
        QFETCH(QString, subcarpeta);
        QFETCH(bool, discoLleno);
        QFETCH(QString, motivo);
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        pruebas::EscribirFichero(entorno.Ruta(QStringLiteral("fichero")), "no es una carpeta");
        QVERIFY(QDir(entorno.Carpeta()).mkdir(QStringLiteral("llena")));
        QVERIFY(QDir(entorno.Carpeta()).mkdir(QStringLiteral("protegida")));
        QFile::setPermissions(entorno.Ruta(QStringLiteral("protegida")), QFileDevice::Permissions(0x5555));
        QFile::setPermissions(entorno.Carpeta(), QFileDevice::Permissions(0x7777));
        const QString ruta = entorno.Ruta(subcarpeta + QStringLiteral("/Corvelax.db"));
        const QStringList antes = QDir(entorno.Carpeta()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        auto crear = [&ruta] {
            pruebas::MensajesGrabados mensajes;
            mensajes.Responder(Respuesta::Si);
            mensajes.Responder(Respuesta::Aceptar);
            const Apertura apertura = AbrirBaseDatos(ruta);
            CerrarBaseDatos();
            return QByteArray(apertura == Apertura::Abierta ? "1" : "0") + mensajes.UltimoTexto().toUtf8();
        };
        std::optional<QByteArray> salida;
        if (discoLleno) {
            salida = pruebas::ConDiscoLleno(0, crear);
        } else {
            pruebas::SinPrivilegios sinPrivilegios;
            if (!sinPrivilegios.Efectivo())
                QSKIP("as root without the right to change the file-system user, every folder is writable");
            salida = crear();
        }
        QVERIFY(salida);
        QCOMPARE(salida->left(1), QByteArray("0"));
        const QString aviso = QString::fromUtf8(salida->mid(1));
        QVERIFY2(aviso.startsWith(QStringLiteral("No se pudo crear la base de datos:")) && aviso.contains(ruta) &&
                     aviso.contains(motivo),
                 qPrintable(aviso));
        QCOMPARE(QDir(entorno.Carpeta()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), antes);
        QCOMPARE(FicherosDeLaBase(QFileInfo(ruta).path()), QStringList());

        // The next start offers to create it again.
        pruebas::MensajesGrabados mensajes;
        mensajes.Responder(Respuesta::No);
        QCOMPARE(AbrirBaseDatos(ruta), Apertura::NoCreada);
        QCOMPARE(mensajes.Mensajes().first().botones, Botones::SiNo);
    }

    // Moving through a result is the navigator's; here what it reads at the ends and after a change.
    void valoresDelRecordSet()
    {
        pruebas::EntornoPrueba entorno;
        for (int i = 1; i <= 3; ++i)
            InsertarObra(i, QStringLiteral("Cliente %1").arg(i));
        RecordSet rs = RecordSet::Abrir(QStringLiteral("SELECT * FROM B_OBRAS ORDER BY CODOBRA"));
        rs.MoveLast();
        QCOMPARE(rs.Valor(QStringLiteral("codobra")).toInt(), 3);
        rs.MoveNext();
        QVERIFY(rs.Eof() && !rs.Valor(QStringLiteral("CODOBRA")).isValid());
        LimpiarError();
        rs.SetAbsolutePosition(1);
        QCOMPARE(rs.Valor(QStringLiteral("PROPIETARIO")).toString(), QStringLiteral("Cliente 2"));
        QCOMPARE(rs.ValorCampo(QStringLiteral("DNI")), QVariant(QString()));
        QVERIFY(EjecutarAccion(QStringLiteral("DELETE FROM B_OBRAS WHERE CODOBRA = ?"), {2}));
        QVERIFY(rs.Requery());
        QCOMPARE(rs.RecordCount(), 2);
    }

    void accionesClavesYTransacciones()
    {
        pruebas::EntornoPrueba entorno;
        QCOMPARE(MaximoValor(QStringLiteral("B_OBRAS"), QStringLiteral("CODOBRA")), std::optional<int>(1));
        InsertarObra(7, QStringLiteral("O'Brien"));
        QCOMPARE(MaximoValor(QStringLiteral("B_OBRAS"), QStringLiteral("CODOBRA")), std::optional<int>(8));
        QCOMPARE(MaximoValor(QStringLiteral("B_ESTACIONES"), QStringLiteral("CODEST"),
                             QStringLiteral(" WHERE CODOBRA=?"), {7}),
                 std::optional<int>(1));

        QVERIFY(!EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (?)"), {7}));
        QCOMPARE(ErrorPendiente().Numero, kErrorClaveDuplicada);
        LimpiarError();

        int filas = -1;
        QVERIFY(EjecutarAccion(QStringLiteral("UPDATE B_OBRAS SET DNI = ? WHERE CODOBRA = ?"),
                               {QStringLiteral("1"), 99}, &filas));
        QCOMPARE(filas, 0);

        {
            Transaccion t;
            QVERIFY(t.Iniciada());
            InsertarObra(8, QStringLiteral("Deshecha"));
        }
        QCOMPARE(MaximoValor(QStringLiteral("B_OBRAS"), QStringLiteral("CODOBRA")), std::optional<int>(8));
        {
            Transaccion t;
            InsertarObra(8, QStringLiteral("Hecha"));
            QVERIFY(t.Confirmar());
        }
        RecordSet rs = RecordSet::Abrir(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE PROPIETARIO = ?"),
                                        {QStringLiteral("O'Brien")});
        QCOMPARE(rs.RecordCount(), 1);
        QVERIFY(!MaximoValor(QStringLiteral("NO_EXISTE"), QStringLiteral("X")).has_value());
        QVERIFY(ErrorPendiente().Hay());
    }
};

QTEST_MAIN(TstBaseDatos)
#include "tst_BaseDatos.moc"
