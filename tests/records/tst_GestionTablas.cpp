#include "AnfitrionPrueba.h"
#include "EntornoPrueba.h"
#include "MensajesGrabados.h"
#include "SegunMotor.h"
#include "controls/Moverse.h"
#include "core/CamposEntrada.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/GestionTablas.h"

#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace corvela;
using pruebas::AnfitrionPrueba;
using pruebas::InsertarObra;

namespace {

QVariant Columna(int codigo, const QString& columna)
{
    return pruebas::Consultar(QStringLiteral("SELECT %1 FROM B_OBRAS WHERE CODOBRA = ?").arg(columna), {codigo});
}

// The whole stored row of a work, empty when there is none.
QString Fila(int codigo)
{
    QSqlQuery q(BaseDatos());
    q.prepare(QStringLiteral("SELECT * FROM B_OBRAS WHERE CODOBRA = ?"));
    q.addBindValue(codigo);
    if (!q.exec() || !q.next())
        return QString();
    QStringList valores;
    for (int i = 0; i < q.record().count(); ++i)
        valores << q.value(i).toString();
    return valores.join(u'|');
}

int Cuantas(const QString& condicion = QStringLiteral("1 = 1"))
{
    return pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM B_OBRAS WHERE ") + condicion).toInt();
}

// The codes of the last search, in the order found.
QList<int> Encontradas(GestionTablas& g)
{
    QList<int> codigos;
    if (!g.RS)
        return codigos;
    for (g.RS->MoveFirst(); !g.RS->Eof(); g.RS->MoveNext())
        codigos << g.RS->Valor(QStringLiteral("CODOBRA")).toInt();
    LimpiarError();
    return codigos;
}

// Every update of B_OBRAS fails until the given attempt, which succeeds. The
// attempts are counted in INTENTOS: on SQLite a table (RAISE(FAIL) keeps what the
// trigger did first), on a server a sequence (a failed statement undoes its own
// writes, but not the numbers it drew).
void FallarActualizacionesHasta(int intentoCorrecto)
{
    if (pruebas::EnServidor()) {
        QVERIFY(pruebas::Definir(QStringLiteral("CREATE SEQUENCE INTENTOS")));
        QVERIFY(pruebas::DisparadorQueRechaza(QStringLiteral("FALLO"), QStringLiteral("BEFORE UPDATE ON B_OBRAS"),
                                              QStringLiteral("nextval('intentos') < %1").arg(intentoCorrecto),
                                              QStringLiteral("bloqueado")));
        return;
    }
    QVERIFY(pruebas::Definir(QStringLiteral("CREATE TABLE INTENTOS (N INTEGER)")));
    QVERIFY(pruebas::Definir(
        QStringLiteral("CREATE TRIGGER FALLO BEFORE UPDATE ON B_OBRAS BEGIN "
                       "INSERT INTO INTENTOS VALUES (1); "
                       "SELECT RAISE(FAIL, 'bloqueado') WHERE (SELECT COUNT(*) FROM INTENTOS) < %1; END")
            .arg(intentoCorrecto)));
}

void OlvidarIntentos()
{
    QVERIFY(pruebas::Definir(pruebas::EnServidor() ? QStringLiteral("ALTER SEQUENCE INTENTOS RESTART")
                                                   : QStringLiteral("DELETE FROM INTENTOS")));
}

void QuitarFallo()
{
    if (pruebas::EnServidor()) {
        QVERIFY(pruebas::Definir(QStringLiteral("DROP TRIGGER FALLO ON B_OBRAS")));
        QVERIFY(pruebas::Definir(QStringLiteral("DROP FUNCTION FALLO_f")));
        QVERIFY(pruebas::Definir(QStringLiteral("DROP SEQUENCE INTENTOS")));
        return;
    }
    QVERIFY(pruebas::Definir(QStringLiteral("DROP TRIGGER FALLO")));
    QVERIFY(pruebas::Definir(QStringLiteral("DROP TABLE INTENTOS")));
}

int Intentos()
{
    return pruebas::Consultar(
               pruebas::EnServidor()
                   ? QStringLiteral("SELECT CASE WHEN is_called THEN last_value ELSE 0 END FROM INTENTOS")
                   : QStringLiteral("SELECT COUNT(*) FROM INTENTOS"))
        .toInt();
}

// A window bound to a table of its own, keyed by its first column.
class VentanaClientes : public QWidget, public FormularioEnlazado
{
public:
    QWidget* Ventana() override { return this; }
    QString Tabla() const override { return QStringLiteral("CLIENTES"); }
    QVector<CampoEnlazado> CamposEnlazados() const override
    {
        return {{QStringLiteral("NUMERO"), numero}, {QStringLiteral("NOMBRE"), nombre}};
    }

    QLineEdit* numero = new QLineEdit(this);
    QLineEdit* nombre = new QLineEdit(this);
};

QString Cliente(int numero)
{
    return pruebas::Consultar(QStringLiteral("SELECT NOMBRE FROM CLIENTES WHERE NUMERO = ?"), {numero}).toString();
}

} // namespace

class TstGestionTablas : public QObject
{
    Q_OBJECT
private slots:
    void busquedaPorComienzo()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(1, QStringLiteral("García Pérez"));
        InsertarObra(10, QStringLiteral("Garcilaso"));
        InsertarObra(12, QStringLiteral("Ana Garcés"));
        InsertarObra(2, QStringLiteral("Pérez"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        GestionTablas& g = ficha.GesTablas;

        QVERIFY(g.Buscar_Registro());
        QCOMPARE(Encontradas(g).size(), 4);

        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("garc"));
        QVERIFY(g.Buscar_Registro(QString(), QStringLiteral("CODOBRA")));
        QCOMPARE(Encontradas(g), (QList<int>{1, 10}));

        // Numbers compare through their text: 1 finds 1, 10 and 12.
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QString());
        ficha.Escribir(QStringLiteral("CODOBRA"), QStringLiteral("1"));
        QVERIFY(g.Buscar_Registro(QString(), QStringLiteral("CODOBRA")));
        QCOMPARE(Encontradas(g), (QList<int>{1, 10, 12}));

        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Garc"));
        ficha.Escribir(QStringLiteral("DOMICILIO"), QStringLiteral("   "));
        QVERIFY(g.Buscar_Registro(QString(), QStringLiteral("CODOBRA")));
        QCOMPARE(Encontradas(g), (QList<int>{1, 10}));

        g.Where = QStringLiteral("CODOBRA < 10");
        QVERIFY(g.Buscar_Registro());
        QCOMPARE(Encontradas(g), QList<int>{1});
        for (const CampoEnlazado& enlace : ficha.CamposEnlazados())
            enlace.Campo->clear();
        QVERIFY(g.Buscar_Registro(QString(), QStringLiteral("CODOBRA DESC")));
        QCOMPARE(Encontradas(g), (QList<int>{2, 1}));
        g.Where.clear();

        // A leading blank is part of the criterion; nothing found still leaves an empty RS.
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral(" Garc"));
        QVERIFY(!g.Buscar_Registro());
        QVERIFY(g.RS && g.RS->Eof() && g.RS->Bof());
        QVERIFY(!ErrorPendiente().Hay());
        QVERIFY(mensajes.Mensajes().isEmpty());
    }

    void comodinesYMayusculas_data()
    {
        QTest::addColumn<QString>("criterio");
        QTest::addColumn<QList<int>>("esperadas");
        QTest::newRow("asterisco") << "*garc" << QList<int>{1, 2};
        QTest::newRow("interrogación") << "a?b" << QList<int>{3, 4};
        QTest::newRow("subrayado literal") << "a_b" << QList<int>{3};
        QTest::newRow("tanto por ciento literal") << "100%" << QList<int>{5};
        QTest::newRow("apóstrofo") << "O'B" << QList<int>{7};
        QTest::newRow("comillas") << "Dice \"" << QList<int>{8};
        QTest::newRow("barra invertida") << "c:\\" << QList<int>{9};
        QTest::newRow("asterisco y tanto por ciento") << "*%" << QList<int>{5};
        QTest::newRow("eñe mayúscula") << "MUÑOZ" << QList<int>{11};
        QTest::newRow("eñe minúscula") << "muñoz" << QList<int>{11};
        QTest::newRow("acento minúsculo") << "álvarez" << QList<int>{12};
        QTest::newRow("acento mayúsculo") << "ÁLVAREZ" << QList<int>{12};
        QTest::newRow("el acento cuenta") << "alvarez" << QList<int>{13};
        QTest::newRow("diéresis") << "MÜLLER" << QList<int>{14};
        QTest::newRow("comodín y eñe") << "*ÑOZ" << QList<int>{11};
        QTest::newRow("un carácter y eñe") << "mu?OZ" << QList<int>{11};
        QTest::newRow("griego") << "ΣΟΦΊΑ" << QList<int>{15};
    }

    void comodinesYMayusculas()
    {
        QFETCH(QString, criterio);
        QFETCH(QList<int>, esperadas);
        pruebas::EntornoPrueba entorno;
        const QStringList nombres = QStringLiteral("García Pérez|Ana García|a_b|axb|100% Seguro|1000 Seguro|O'Brien|"
                                                   "Dice \"hola\"|c:\\x|c:x|Muñoz|Álvarez|Alvarez|Müller|Σοφία")
                                        .split(u'|');
        for (int i = 0; i < nombres.size(); ++i)
            InsertarObra(i + 1, nombres[i]);
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.Escribir(QStringLiteral("PROPIETARIO"), criterio);
        ficha.GesTablas.Buscar_Registro(QString(), QStringLiteral("CODOBRA"));
        QCOMPARE(Encontradas(ficha.GesTablas), esperadas);
        QVERIFY(mensajes.Mensajes().isEmpty());
    }

    void codigosSinDesbordar()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(2147483646, QStringLiteral("Penúltima"));
        QCOMPARE(MaximoValor(QStringLiteral("B_OBRAS"), QStringLiteral("CODOBRA")), std::optional<int>(2147483647));
        InsertarObra(2147483647, QStringLiteral("Última"));
        QCOMPARE(MaximoValor(QStringLiteral("B_OBRAS"), QStringLiteral("CODOBRA")), std::nullopt);
        QVERIFY(ErrorPendiente().Hay());
        LimpiarError();

        // A new work with no code left: reported, nothing written.
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Sin sitio"));
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!ficha.GesTablas.Añadir_Registro());
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QCOMPARE(mensajes.Mensajes()[0].icono, Icono::Critico);
        QCOMPARE(Cuantas(), 2);
        QCOMPARE(Cuantas(QStringLiteral("CODOBRA < 1")), 0);
        QVERIFY(!ErrorPendiente().Hay());
    }

    void insertarConCodigoVacioEscritoYRepetido()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        GestionTablas& g = ficha.GesTablas;

        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("O'Brien"));
        QVERIFY(g.Añadir_Registro());
        QCOMPARE(ficha.Campo(QStringLiteral("CODOBRA"))->text(), QStringLiteral("1"));
        QCOMPARE(Columna(1, QStringLiteral("PROPIETARIO")).toString(), QStringLiteral("O'Brien"));
        QCOMPARE(Cuantas(QStringLiteral("DOMICILIO = '' AND DNI = ''")), 1);

        ficha.Escribir(QStringLiteral("CODOBRA"), QStringLiteral("007"));
        QVERIFY(g.Añadir_Registro());
        QCOMPARE(ficha.Campo(QStringLiteral("CODOBRA"))->text(), QStringLiteral("7"));
        QCOMPARE(Columna(7, QStringLiteral("CODOBRA")).toInt(), 7);
        QVERIFY(mensajes.Mensajes().isEmpty());

        // A code that is no positive number takes the next free one.
        for (const QString& tecleado : {QStringLiteral("0"), QStringLiteral("-4"), QStringLiteral("abc")}) {
            ficha.Escribir(QStringLiteral("CODOBRA"), tecleado);
            QVERIFY(g.Añadir_Registro());
            QVERIFY(ficha.Campo(QStringLiteral("CODOBRA"))->text().toInt() >= 8);
        }
        QCOMPARE(Cuantas(QStringLiteral("CODOBRA < 1")), 0);
        ficha.Escribir(QStringLiteral("CODOBRA"), QStringLiteral("7"));

        // The same code again: the duplicate message, the report, no retry, no second row.
        mensajes.Responder(Respuesta::Aceptar);
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!g.Añadir_Registro());
        QCOMPARE(mensajes.Mensajes().size(), 2);
        QCOMPARE(mensajes.Mensajes()[0].texto,
                 QStringLiteral("El registro que intenta añadir ya existe con ese mismo código."));
        QCOMPARE(mensajes.Mensajes()[0].icono, Icono::Pregunta);
        QCOMPARE(mensajes.Mensajes()[0].botones, Botones::Aceptar);
        QVERIFY(mensajes.Mensajes()[1].texto.endsWith(
            QStringLiteral("\r\n\r\n¿Desea continuar con la ejecución del programa?")));
        QCOMPARE(mensajes.Mensajes()[1].icono, Icono::Critico);
        QCOMPARE(mensajes.Mensajes()[1].botones, Botones::AceptarCancelar);
        QCOMPARE(Cuantas(), 5);
        QVERIFY(!ErrorPendiente().Hay());

        // With Updatar the failed insert silently becomes an update of the shown work.
        mensajes.Olvidar();
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Nuevo dueño"));
        QVERIFY(g.Añadir_Registro(QString(), true));
        QVERIFY(mensajes.Mensajes().isEmpty());
        QVERIFY(g.Sql.startsWith(QStringLiteral("UPDATE B_OBRAS SET")));
        QCOMPARE(Columna(7, QStringLiteral("PROPIETARIO")).toString(), QStringLiteral("Nuevo dueño"));
        QCOMPARE(Cuantas(), 5);
    }

    void modificarYBorrar()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(3, QStringLiteral("Antiguo"));
        InsertarObra(4, QStringLiteral("Otro"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        GestionTablas& g = ficha.GesTablas;

        for (const CampoEnlazado& enlace : ficha.CamposEnlazados())
            enlace.Campo->setText(enlace.Columna.left(3) + QStringLiteral("'x\""));
        ficha.Escribir(QStringLiteral("CODOBRA"), QStringLiteral("3"));
        ficha.Escribir(QStringLiteral("FAX"), QString());
        QVERIFY(g.Modificar_Registro());
        for (const CampoEnlazado& enlace : ficha.CamposEnlazados()) {
            if (enlace.Columna != QLatin1String("CODOBRA"))
                QCOMPARE(Columna(3, enlace.Columna).toString(), enlace.Campo->text());
        }
        QCOMPARE(Columna(3, QStringLiteral("FAX")), QVariant(QString()));
        QCOMPARE(Columna(4, QStringLiteral("PROPIETARIO")).toString(), QStringLiteral("Otro"));

        // An update that reaches no row is a failure, reported once, never retried.
        ficha.Escribir(QStringLiteral("CODOBRA"), QStringLiteral("99"));
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!g.Modificar_Registro());
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QCOMPARE(mensajes.Mensajes()[0].icono, Icono::Critico);

        mensajes.Olvidar();
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!g.Borrar_Registro(QStringLiteral("B_ESTACIONES"), 3));
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Borrado anulado por falta de Valor Clave."));
        QCOMPARE(mensajes.Mensajes()[0].icono, Icono::Informacion);
        QCOMPARE(Cuantas(), 2);

        // The deleted work leaves the re-queried search result.
        for (const CampoEnlazado& enlace : ficha.CamposEnlazados())
            enlace.Campo->clear();
        QVERIFY(g.Buscar_Registro());
        QVERIFY(g.Borrar_Registro(QString(), 3));
        QCOMPARE(g.RS->RecordCount(), 1);
        QCOMPARE(Cuantas(), 1);

        // After an empty search the work is deleted, but the result is False.
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("nadie"));
        QVERIFY(!g.Buscar_Registro());
        QVERIFY(!g.Borrar_Registro(QStringLiteral("B_OBRAS"), 4));
        QCOMPARE(Cuantas(), 0);

        mensajes.Olvidar();
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!g.Borrar_Registro(QStringLiteral("B_OBRAS"), 4));
        QCOMPARE(mensajes.Mensajes().size(), 1);
    }

    // Any bound window writes to its own table through its own key column.
    void otraTablaConSuClave()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(7, QStringLiteral("Obra"));
        QVERIFY(pruebas::Definir(QStringLiteral("CREATE TABLE CLIENTES (NUMERO INTEGER, NOMBRE TEXT)")));
        pruebas::MensajesGrabados mensajes;
        VentanaClientes ventana;
        GestionTablas g;
        g.Formulario = &ventana;

        for (const QString& nombre : {QStringLiteral("Ana"), QStringLiteral("Luis")}) {
            ventana.numero->clear();
            ventana.nombre->setText(nombre);
            QVERIFY(g.Añadir_Registro());
        }
        QCOMPARE(ventana.numero->text(), QStringLiteral("2"));
        QCOMPARE(Cliente(1), QStringLiteral("Ana"));

        ventana.nombre->setText(QStringLiteral("Luisa"));
        QVERIFY(g.Modificar_Registro());
        QCOMPARE(Cliente(2), QStringLiteral("Luisa"));

        QVERIFY(g.Buscar_Registro());
        QVERIFY(g.Borrar_Registro(QStringLiteral("CLIENTES"), 1));
        QCOMPARE(g.RS->RecordCount(), 1);
        QCOMPARE(Cliente(1), QString());

        // Another table than the window's has no key here.
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!g.Borrar_Registro(QStringLiteral("B_OBRAS"), 7));
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Borrado anulado por falta de Valor Clave."));
        QCOMPARE(Cuantas(), 1);
    }

    void reintentos()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(5, QStringLiteral("Cliente"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.Escribir(QStringLiteral("CODOBRA"), QStringLiteral("5"));
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Cambiado"));

        // Fails once; OK on the question; the second attempt succeeds.
        FallarActualizacionesHasta(2);
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(ficha.GesTablas.Modificar_Registro());
        QCOMPARE(Intentos(), 2);
        QCOMPARE(mensajes.Mensajes().size(), 1);
        const QString causa = QStringLiteral("La base de datos ha rechazado los datos porque no cumplen sus reglas.");
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Error al ejecutar la instrucción SQL, ¿Reintentar?\r\n\r\n") +
                                             causa + QStringLiteral("\r\n\r\nbloqueado"));
        QCOMPARE(mensajes.Mensajes()[0].icono, Icono::Pregunta);
        QCOMPARE(mensajes.Mensajes()[0].botones, Botones::AceptarCancelar);
        QCOMPARE(Columna(5, QStringLiteral("PROPIETARIO")).toString(), QStringLiteral("Cambiado"));

        // Cancel stops; Cancel on the report too shows the error's number and text.
        OlvidarIntentos();
        mensajes.Olvidar();
        mensajes.Responder(Respuesta::Cancelar);
        mensajes.Responder(Respuesta::Cancelar);
        mensajes.Responder(Respuesta::Aceptar);
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Otra vez"));
        QVERIFY(!ficha.GesTablas.Modificar_Registro());
        QCOMPARE(Intentos(), 1);
        QCOMPARE(mensajes.Mensajes().size(), 3);
        QCOMPARE(mensajes.Mensajes()[1].texto,
                 causa + QStringLiteral("\r\n\r\nbloqueado\r\n\r\n¿Desea continuar con la ejecución del programa?"));
        QVERIFY(mensajes.UltimoTexto().startsWith(QStringLiteral("Error ")));
        QVERIFY(mensajes.UltimoTexto().endsWith(QStringLiteral(" - bloqueado")));
        QCOMPARE(mensajes.Mensajes()[2].botones, Botones::Aceptar);

        // Always failing: asked before each of the nine retries, then the report.
        QuitarFallo();
        FallarActualizacionesHasta(1000);
        mensajes.Olvidar();
        for (int i = 0; i < 10; ++i)
            mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(!ficha.GesTablas.Modificar_Registro());
        QCOMPARE(Intentos(), 10);
        QCOMPARE(mensajes.Mensajes().size(), 10);
        QVERIFY(mensajes.Mensajes()[8].texto.contains(QStringLiteral("¿Reintentar?")));
        QCOMPARE(Columna(5, QStringLiteral("PROPIETARIO")).toString(), QStringLiteral("Cambiado"));

        mensajes.Olvidar();
        ficha.GesTablas.VerPosibleError();
        QVERIFY(mensajes.Mensajes().isEmpty());
    }

    void otroPuestoCambiaLaObra_data()
    {
        QTest::addColumn<bool>("borrando");
        QTest::addColumn<QString>("cambio");
        QTest::newRow("grabar una obra cambiada")
            << false << QStringLiteral("UPDATE B_OBRAS SET PROPIETARIO = 'Ajeno' WHERE CODOBRA = 3");
        QTest::newRow("grabar una obra borrada") << false << QStringLiteral("DELETE FROM B_OBRAS WHERE CODOBRA = 3");
        QTest::newRow("borrar una obra cambiada")
            << true << QStringLiteral("UPDATE B_OBRAS SET DOMICILIO = 'Ajeno' WHERE CODOBRA = 3");
    }

    // The card shows work 3 as loaded; another instance changes or deletes it; the
    // user's save or delete then touches nothing and says so, keeping what was typed.
    void otroPuestoCambiaLaObra()
    {
        QFETCH(bool, borrando);
        QFETCH(QString, cambio);
        pruebas::EntornoPrueba entorno;
        InsertarObra(3, QStringLiteral("Antiguo"));
        InsertarObra(4, QStringLiteral("Otro"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        GestionTablas& g = ficha.GesTablas;
        ficha.Moverse1->Mover(QStringLiteral("P"));
        QCOMPARE(ficha.Campo(QStringLiteral("CODOBRA"))->text(), QStringLiteral("3"));
        QVERIFY(EjecutarAccion(cambio));
        const QString ajena = Fila(3);

        ficha.Escribir(QStringLiteral("DOMICILIO"), QStringLiteral("Calle Mayor"));
        mensajes.Responder(Respuesta::Aceptar);
        QVERIFY(borrando ? !g.Borrar_Registro(QStringLiteral("B_OBRAS"), 3) : !g.Modificar_Registro());
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QVERIFY(mensajes.UltimoTexto().startsWith(
            QStringLiteral("La obra 3 ha cambiado en la base de datos desde que se cargó en la ficha")));
        QCOMPARE(mensajes.Mensajes()[0].icono, Icono::Exclamacion);
        QCOMPARE(Fila(3), ajena);
        QCOMPARE(Columna(4, QStringLiteral("PROPIETARIO")).toString(), QStringLiteral("Otro"));
        QCOMPARE(ficha.Campo(QStringLiteral("DOMICILIO"))->text(), QStringLiteral("Calle Mayor"));
        QVERIFY(!ErrorPendiente().Hay());

        // Told, the user may try again: it now goes to the work as stored.
        if (ajena.isEmpty())
            return;
        if (borrando) {
            QVERIFY(g.Borrar_Registro(QStringLiteral("B_OBRAS"), 3));
            QCOMPARE(Fila(3), QString());
        } else {
            QVERIFY(g.Modificar_Registro());
            QCOMPARE(Columna(3, QStringLiteral("DOMICILIO")).toString(), QStringLiteral("Calle Mayor"));
        }
        QCOMPARE(mensajes.Mensajes().size(), 1);
    }

    // Another program holds the database: each attempt waits briefly, and the user
    // is asked before every retry, so that the card can always be let go.
    void baseDeDatosOcupada()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(5, QStringLiteral("Cliente"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.Moverse1->Mover(QStringLiteral("P"));
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Cambiado"));
        const QString ocupada = QStringLiteral("La base de datos está ocupada");
        {
            pruebas::OtroPuestoGrabando otro(entorno.Destino());
            QVERIFY(otro.Tomado());
            mensajes.Responder(Respuesta::Aceptar);
            mensajes.Responder(Respuesta::Cancelar);
            mensajes.Responder(Respuesta::Aceptar);
            QVERIFY(!ficha.GesTablas.Modificar_Registro());
            QCOMPARE(mensajes.Mensajes().size(), 3);
            for (int i = 0; i < 2; ++i) {
                QVERIFY(mensajes.Mensajes()[i].texto.startsWith(
                    QStringLiteral("Error al ejecutar la instrucción SQL, ¿Reintentar?\r\n\r\n") + ocupada));
            }
            QVERIFY(mensajes.Mensajes()[2].texto.startsWith(ocupada));
        }
        QCOMPARE(Columna(5, QStringLiteral("PROPIETARIO")).toString(), QStringLiteral("Cliente"));

        // Free again: saved at the first attempt; other statements wait as long as ever.
        mensajes.Olvidar();
        QVERIFY(ficha.GesTablas.Modificar_Registro());
        QVERIFY(mensajes.Mensajes().isEmpty());
        if (pruebas::EnServidor())
            QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT current_setting('lock_timeout')")).toString(),
                     QStringLiteral("5s"));
        else
            QCOMPARE(pruebas::Consultar(QStringLiteral("PRAGMA busy_timeout")).toInt(), 5000);
    }

    void columnaQueFalta()
    {
        pruebas::EntornoPrueba entorno;
        AnfitrionPrueba ficha;
        pruebas::MensajesGrabados mensajes;
        ficha.Cargar();
        // The code's size limits typing; a longer code the program shows is never cut.
        QCOMPARE(LimiteTecleo(ficha.Campo(QStringLiteral("CODOBRA"))), 4);
        ficha.Escribir(QStringLiteral("CODOBRA"), QStringLiteral("10000"));
        QCOMPARE(ficha.Campo(QStringLiteral("CODOBRA"))->text(), QStringLiteral("10000"));
        const RecordSet sinDni = RecordSet::Abrir(QStringLiteral("SELECT CODOBRA, PROPIETARIO FROM B_OBRAS"));
        QVERIFY(!ficha.GesTablas.MaximaLongitud(&sinDni, &ficha));
        QCOMPARE(ErrorPendiente().Numero, 3265);
        LimpiarError();
    }
};

QTEST_MAIN(TstGestionTablas)
#include "tst_GestionTablas.moc"
