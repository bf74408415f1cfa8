#include "AnfitrionPrueba.h"
#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "Pulsaciones.h"
#include "controls/Moverse.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QLineEdit>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTest>
#include <sqlite3.h>

// The works card when another instance writes the same works at the same moment.
using namespace corvela;
using pruebas::AnfitrionPrueba;

namespace {

const QString kOtraInstancia = QStringLiteral("otra instancia");

sqlite3* ConexionDelPrograma()
{
    const QVariant manejador = BaseDatos().driver()->handle();
    return *static_cast<sqlite3* const*>(manejador.constData());
}

// Another instance that, the moment the program looks for the next work code,
// tries to add a work with the code the program is about to take. It does not
// wait for a database another writer holds: what it could not write it writes
// once the program is done.
class OtraAlta
{
public:
    explicit OtraAlta(const QString& ruta)
    {
        QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kOtraInstancia);
        otra.setDatabaseName(ruta);
        otra.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        otra.open();
        sqlite3_trace_v2(ConexionDelPrograma(), SQLITE_TRACE_STMT, &OtraAlta::AlEmpezar, this);
    }
    ~OtraAlta()
    {
        sqlite3_trace_v2(ConexionDelPrograma(), 0, nullptr, nullptr);
        QSqlDatabase::database(kOtraInstancia).close();
        QSqlDatabase::removeDatabase(kOtraInstancia);
    }

    bool EscritaEnMedio() const { return escritaEnMedio_; }

    // Adds its work now, with the next code it sees.
    bool Escribir() const
    {
        QSqlQuery q(QSqlDatabase::database(kOtraInstancia));
        return q.exec(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, PROPIETARIO) "
                                     "SELECT COALESCE(MAX(CODOBRA), 0) + 1, 'Otra' FROM B_OBRAS"));
    }

private:
    static int AlEmpezar(unsigned, void* yo, void*, void* texto)
    {
        auto* alta = static_cast<OtraAlta*>(yo);
        if (!alta->intentada_ && QByteArray(static_cast<const char*>(texto)).startsWith("SELECT MAX(CODOBRA)")) {
            alta->intentada_ = true;
            alta->escritaEnMedio_ = alta->Escribir();
        }
        return 0;
    }

    bool intentada_ = false;
    bool escritaEnMedio_ = false;
};

} // namespace

class TstObraCompartida : public QObject
{
    Q_OBJECT

private slots:
    // A new work takes its code and is stored in one step: another instance
    // adding a work at that moment never gets the same code, and the user is
    // never told of a repeated code that the program chose itself.
    void altaSimultaneaSinCodigoRepetido()
    {
        if (pruebas::EnServidor())
            QSKIP("la otra instancia entra por el enganche de sentencias de SQLite");
        pruebas::EntornoPrueba entorno;
        pruebas::InsertarObra(1, QStringLiteral("Primera"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.Escribir(QStringLiteral("CODOBRA"), QString());
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Nueva"));
        {
            OtraAlta otra(entorno.Ruta(QStringLiteral("Corvelax.db")));
            QVERIFY(ficha.GesTablas.Añadir_Registro());
            QVERIFY(!otra.EscritaEnMedio());
            QVERIFY(otra.Escribir());
        }
        QVERIFY(mensajes.Mensajes().isEmpty());
        QCOMPARE(ficha.Campo(QStringLiteral("CODOBRA"))->text(), QStringLiteral("2"));
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = 2")).toString(),
                 QStringLiteral("Nueva"));
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = 3")).toString(),
                 QStringLiteral("Otra"));
    }

    // A work another user changed since the card showed it: nothing is written;
    // the fields the user had not touched take what is stored now, the others keep
    // what was typed, and the notice names what the other user stored where the
    // user typed something else. Saving again then writes the user's own changes
    // over the other's, and loses neither.
    void obraCambiadaSeFunde()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::InsertarObra(3, QStringLiteral("Antiguo"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.Moverse1->Mover(QStringLiteral("P"));
        QVERIFY(EjecutarAccion(
            QStringLiteral("UPDATE B_OBRAS SET PROPIETARIO = ?, POBLACION = ?, TELEFONO = ? WHERE CODOBRA = 3"),
            {QStringLiteral("Ajeno"), QStringLiteral("Lugo"), QStringLiteral("982 000 000")}));
        ficha.Escribir(QStringLiteral("TELEFONO"), QStringLiteral("986 111 111"));
        ficha.Escribir(QStringLiteral("DOMICILIO"), QStringLiteral("Calle Mayor"));
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!ficha.GesTablas.Modificar_Registro());
        QCOMPARE(mensajes.Mensajes().size(), 1);
        const QString aviso = mensajes.UltimoTexto();
        QVERIFY2(aviso.contains(QStringLiteral("otro usuario la ha modificado o borrado")), qPrintable(aviso));
        QVERIFY2(aviso.endsWith(QStringLiteral("donde usted escribió otra cosa:\r\nTeléfono: 982 000 000")),
                 qPrintable(aviso));
        QCOMPARE(ficha.Campo(QStringLiteral("PROPIETARIO"))->text(), QStringLiteral("Ajeno"));
        QCOMPARE(ficha.Campo(QStringLiteral("POBLACION"))->text(), QStringLiteral("Lugo"));
        QCOMPARE(ficha.Campo(QStringLiteral("TELEFONO"))->text(), QStringLiteral("986 111 111"));
        QCOMPARE(ficha.Campo(QStringLiteral("DOMICILIO"))->text(), QStringLiteral("Calle Mayor"));

        QVERIFY(ficha.GesTablas.Modificar_Registro());
        const auto columna = [](const char* nombre) {
            return pruebas::Consultar(QStringLiteral("SELECT %1 FROM B_OBRAS WHERE CODOBRA = 3").arg(nombre))
                .toString();
        };
        QCOMPARE(columna("PROPIETARIO"), QStringLiteral("Ajeno"));
        QCOMPARE(columna("POBLACION"), QStringLiteral("Lugo"));
        QCOMPARE(columna("TELEFONO"), QStringLiteral("986 111 111"));
        QCOMPARE(columna("DOMICILIO"), QStringLiteral("Calle Mayor"));

        // Deleted meanwhile: the notice says so, and promises nothing.
        QVERIFY(EjecutarAccion(QStringLiteral("DELETE FROM B_OBRAS WHERE CODOBRA = 3")));
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!ficha.GesTablas.Modificar_Registro());
        QVERIFY(mensajes.UltimoTexto().endsWith(QStringLiteral("No se ha grabado nada. Ya no está grabada.")));
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM B_OBRAS")).toInt(), 0);
    }

    // The card showed work 3 without stations; another user adds one; deleting
    // the work is then refused by the database, whatever the card showed, with a
    // notice and no offer to retry, and nothing is deleted.
    void obraConEstacionRecienAnadida()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::InsertarObra(3, QStringLiteral("Obra"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.Moverse1->Mover(QStringLiteral("P"));
        pruebas::InsertarEstacion(3, 1);
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!ficha.GesTablas.Borrar_Registro(QStringLiteral("B_OBRAS"), 3));
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QVERIFY(mensajes.UltimoTexto().startsWith(QStringLiteral("Hay otros registros que dependen de este")));
        QCOMPARE(mensajes.Mensajes()[0].icono, Icono::Exclamacion);
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM B_OBRAS")).toInt(), 1);
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM B_ESTACIONES")).toInt(), 1);
    }

    // The server drops the program's connection (restarted, or the network cut
    // it while the program stood idle): the next read and the next save go on
    // over a new connection, without a word to the user.
    void conexionPerdidaSeRehace()
    {
        if (!pruebas::EnServidor())
            QSKIP("conexión con un servidor");
        pruebas::EntornoPrueba entorno;
        pruebas::InsertarObra(1, QStringLiteral("Primera"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        const auto cortar = [] {
            const QVariant proceso = pruebas::Consultar(QStringLiteral("SELECT pg_backend_pid()"));
            QSqlDatabase otra = QSqlDatabase::cloneDatabase(BaseDatos(), kOtraInstancia);
            QVERIFY(otra.open());
            QSqlQuery corte(otra);
            QVERIFY(corte.exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(proceso.toInt())));
            otra.close();
        };
        cortar();
        QVERIFY(ficha.GesTablas.Buscar_Registro());
        QCOMPARE(ficha.GesTablas.RS->RecordCount(), 1);
        QSqlDatabase::removeDatabase(kOtraInstancia);
        cortar();
        ficha.Escribir(QStringLiteral("CODOBRA"), QString());
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Segunda"));
        QVERIFY(ficha.GesTablas.Añadir_Registro());
        QSqlDatabase::removeDatabase(kOtraInstancia);
        // A write that is the first statement after the cut.
        cortar();
        QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST) VALUES (1, 1)")));
        QSqlDatabase::removeDatabase(kOtraInstancia);
        QVERIFY(mensajes.Mensajes().isEmpty());
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = 2")).toString(),
                 QStringLiteral("Segunda"));

        // Out of reach for good: a search says the connection is lost and why, never that no work exists.
        // Done from the server's own database: a database cannot refuse the connection that changes it.
        const QString base = entorno.Destino().base;
        const QString proceso = pruebas::Consultar(QStringLiteral("SELECT pg_backend_pid()")).toString();
        const auto administrar = [](const QStringList& sentencias) {
            {
                QSqlDatabase servidor = QSqlDatabase::cloneDatabase(BaseDatos(), QStringLiteral("servidor"));
                servidor.setDatabaseName(qEnvironmentVariable("PGDATABASE"));
                QVERIFY(servidor.open());
                for (const QString& sentencia : sentencias)
                    QVERIFY2(QSqlQuery(servidor).exec(sentencia), qPrintable(sentencia));
                servidor.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("servidor"));
        };
        administrar({QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS false").arg(base),
                     QStringLiteral("SELECT pg_terminate_backend(%1)").arg(proceso)});
        pruebas::ClicBarra(ficha.BarraFiles1, 3);
        administrar({QStringLiteral("ALTER DATABASE %1 WITH ALLOW_CONNECTIONS true").arg(base)});
        QCOMPARE(ficha.errores, QVector<int>{3151});
        QVERIFY2(mensajes.Mensajes().isEmpty(), qPrintable(mensajes.UltimoTexto()));
    }

    // The server's errors read as the same numbers and causes as SQLite's, in one sentence.
    void erroresDelServidor()
    {
        if (!pruebas::EnServidor())
            QSKIP("errores de PostgreSQL");
        pruebas::EntornoPrueba entorno;
        pruebas::InsertarObra(1, QStringLiteral("Primera"));
        QVERIFY(!EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (1)")));
        QCOMPARE(ErrorPendiente().Numero, kErrorClaveDuplicada);
        QCOMPARE(ErrorPendiente().Causa, QStringLiteral("Ya existe un registro con ese mismo código."));
        QVERIFY(!EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST) VALUES (9, 1)")));
        QCOMPARE(ErrorPendiente().Numero, kErrorConDependientes);
        QVERIFY(!EjecutarAccion(QStringLiteral("UPDATE B_OBRAS SET DESCOBRA = NULL")));
        QCOMPARE(ErrorPendiente().Causa,
                 QStringLiteral("La base de datos ha rechazado los datos porque no cumplen sus reglas."));
        // Whatever default the server was given, a writer reads what the writers
        // before it committed: its snapshot is not taken before it holds the lock.
        QVERIFY(QSqlQuery(BaseDatos()).exec(QStringLiteral("SET default_transaction_isolation = 'repeatable read'")));
        {
            Transaccion transaccion;
            QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT current_setting('transaction_isolation')")).toString(),
                     QStringLiteral("read committed"));
        }

        // A statement that failed inside a transaction is freed on the server once it ends.
        const auto preparadas = [] {
            return pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements")).toInt();
        };
        const int antes = preparadas();
        {
            Transaccion transaccion;
            QVERIFY(!EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (1)")));
        }
        QCOMPARE(preparadas(), antes);
        QVERIFY(!AbrirLectura(QStringLiteral("SELECT * FROM NO_EXISTE")));
        QCOMPARE(ErrorPendiente().Descripcion, QStringLiteral("relation \"no_existe\" does not exist"));
        LimpiarError();

        // A typed code already in use: the user is told so, and nothing changes.
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.Escribir(QStringLiteral("CODOBRA"), QStringLiteral("1"));
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Repetida"));
        mensajes.Responder(Respuesta::Aceptar);
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!ficha.GesTablas.Añadir_Registro());
        QCOMPARE(mensajes.Mensajes().first().texto,
                 QStringLiteral("El registro que intenta añadir ya existe con ese mismo código."));
        QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = 1")).toString(),
                 QStringLiteral("Primera"));
    }
};

QTEST_MAIN(TstObraCompartida)
#include "tst_ObraCompartida.moc"
