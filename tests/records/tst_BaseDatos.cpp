#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/RecordSet.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace corvela;
using pruebas::InsertarObra;

namespace {

QByteArray Huella(const QString& ruta)
{
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

}  // namespace

class TstBaseDatos : public QObject
{
    Q_OBJECT
private slots:
    void crearONoCrearAlFaltar()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        const QString ruta = entorno.Ruta(QStringLiteral("Corvelax.db"));
        {
            pruebas::MensajesGrabados mensajes;
            mensajes.Responder(Respuesta::No);
            QCOMPARE(AbrirBaseDatos(ruta), Apertura::NoCreada);
            QCOMPARE(mensajes.Mensajes().first().botones, Botones::SiNo);
            QVERIFY(!QFile::exists(ruta));
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
    }

    void ficherosQueNoSonDelProgramaNoSeTocan()
    {
        pruebas::EntornoPrueba entorno(QStringLiteral("es_ES"), false);
        const QString ruta = entorno.Ruta(QStringLiteral("Corvelax.db"));
        QFile texto(ruta);
        QVERIFY(texto.open(QIODevice::WriteOnly));
        texto.write("esto no es una base de datos");
        texto.close();
        const QByteArray antes = Huella(ruta);
        pruebas::MensajesGrabados mensajes;
        mensajes.Responder(Respuesta::Aceptar);
        QCOMPARE(AbrirBaseDatos(ruta), Apertura::Rechazada);
        QVERIFY(mensajes.UltimoTexto().contains(ruta));
        QCOMPARE(mensajes.Mensajes().first().icono, Icono::Critico);
        QCOMPARE(Huella(ruta), antes);

        // A SQLite file without the program's tables.
        QFile::remove(ruta);
        {
            QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("otra"));
            otra.setDatabaseName(ruta);
            QVERIFY(otra.open());
            QSqlQuery(otra).exec(QStringLiteral("CREATE TABLE B_OBRAS (CODOBRA INTEGER)"));
            otra.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("otra"));
        const QByteArray sqlite = Huella(ruta);
        mensajes.Responder(Respuesta::Aceptar);
        QCOMPARE(AbrirBaseDatos(ruta), Apertura::Rechazada);
        QVERIFY(mensajes.UltimoTexto().contains(QStringLiteral("B_ESTACIONES")));
        QCOMPARE(Huella(ruta), sqlite);
    }

    void navegacionDelRecordSet()
    {
        pruebas::EntornoPrueba entorno;
        RecordSet vacio = RecordSet::Abrir(QStringLiteral("SELECT * FROM B_OBRAS"));
        QVERIFY(vacio.Valido());
        QVERIFY(vacio.Eof() && vacio.Bof());
        QCOMPARE(vacio.AbsolutePosition(), -1);
        vacio.MoveNext();
        QCOMPARE(ErrorPendiente().Numero, kErrorSinRegistroActual);
        LimpiarError();

        for (int i = 1; i <= 3; ++i)
            InsertarObra(i, QStringLiteral("Cliente %1").arg(i));
        RecordSet rs = RecordSet::Abrir(QStringLiteral("SELECT * FROM B_OBRAS ORDER BY CODOBRA"));
        QCOMPARE(rs.RecordCount(), 3);
        QVERIFY(!rs.Bof() && !rs.Eof());
        QCOMPARE(rs.AbsolutePosition(), 0);
        rs.MoveLast();
        QCOMPARE(rs.Valor(QStringLiteral("codobra")).toInt(), 3);
        rs.MoveNext();
        QVERIFY(rs.Eof());
        QCOMPARE(rs.AbsolutePosition(), -1);
        QVERIFY(!rs.Valor(QStringLiteral("CODOBRA")).isValid());
        LimpiarError();
        rs.MovePrevious();
        QCOMPARE(rs.Valor(0).toInt(), 3);
        rs.MoveFirst();
        rs.MovePrevious();
        QVERIFY(rs.Bof() && !rs.Eof());
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
        QCOMPARE(MaximoValor(QStringLiteral("B_ESTACIONES"), QStringLiteral("CODEST"), QStringLiteral(" WHERE CODOBRA=?"), {7}),
                 std::optional<int>(1));

        QVERIFY(!EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (?)"), {7}));
        QCOMPARE(ErrorPendiente().Numero, kErrorClaveDuplicada);
        LimpiarError();

        int filas = -1;
        QVERIFY(EjecutarAccion(QStringLiteral("UPDATE B_OBRAS SET DNI = ? WHERE CODOBRA = ?"), {QStringLiteral("1"), 99}, &filas));
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
