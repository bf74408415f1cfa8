#include "EntornoPrueba.h"
#include "LanzadorGrabado.h"
#include "MensajesGrabados.h"
#include "Pulsaciones.h"
#include "cad/ExportacionCad.h"
#include "controls/BarraFiles.h"
#include "controls/Moverse.h"
#include "core/ArchivoIni.h"
#include "core/Globales.h"
#include "core/Parametros.h"
#include "core/TextoNumerico.h"
#include "fieldbook/frmPuntos.h"
#include "informe/frmListados.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/RecordSet.h"
#include "works/frmFicha.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using namespace corvela;
using pruebas::ClicBarra;

namespace {

enum Boton { Nueva, Abrir, Guardar, Buscar, Imprimir, Borrar, Limpiar };
enum Campo { Codigo = 0, Propietario = 1, Descripcion = 10 };

QVariant Valor(const QString& sql, const QVariantList& valores = {})
{
    RecordSet rs = RecordSet::Abrir(sql, valores);
    return rs.Eof() ? QVariant() : rs.Valor(0);
}

QString Celda(frmFicha* f, int fila, int columna)
{
    return f->ListView1->model()->index(fila, columna).data().toString();
}

// Another program in the way of every change to the stations while it lives: on
// SQLite a trigger refuses it; on a server a second connection holds the table
// locked, so that a writer gives up after its wait.
class EstacionesBloqueadas
{
public:
    explicit EstacionesBloqueadas(const pruebas::EntornoPrueba& entorno)
    {
        if (!pruebas::EnServidor()) {
            QVERIFY(QSqlQuery(BaseDatos())
                        .exec(QStringLiteral("CREATE TRIGGER bloqueo BEFORE UPDATE ON B_ESTACIONES BEGIN SELECT "
                                             "RAISE(ABORT, 'bloqueada'); END")));
            return;
        }
        QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kOtra);
        otra.setDatabaseName(entorno.Destino().base);
        QVERIFY(otra.open() && otra.transaction());
        QVERIFY(QSqlQuery(otra).exec(QStringLiteral("LOCK TABLE B_ESTACIONES IN EXCLUSIVE MODE")));
    }
    ~EstacionesBloqueadas()
    {
        if (!pruebas::EnServidor()) {
            QSqlQuery(BaseDatos()).exec(QStringLiteral("DROP TRIGGER bloqueo"));
            return;
        }
        {
            QSqlDatabase otra = QSqlDatabase::database(kOtra, false);
            otra.rollback();
            otra.close();
        }
        QSqlDatabase::removeDatabase(kOtra);
    }
    EstacionesBloqueadas(const EstacionesBloqueadas&) = delete;
    EstacionesBloqueadas& operator=(const EstacionesBloqueadas&) = delete;

    // What the refusal tells the user.
    static QString Aviso()
    {
        return pruebas::EnServidor() ? QStringLiteral("La base de datos está ocupada") : QStringLiteral("bloqueada");
    }

private:
    inline static const QString kOtra = QStringLiteral("otro-programa");
};

void ElegirFila(frmFicha* f, int fila)
{
    const QModelIndex indice = f->ListView1->model()->index(fila, 0);
    f->ListView1->setCurrentIndex(indice);
    f->EstacionAEditor();
}

void Teclear(QLineEdit* campo, const QString& texto)
{
    campo->setFocus();
    campo->selectAll();
    QTest::keyClicks(campo, texto);
}

QString NombreCliente(int codigo)
{
    return Valor(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = ?"), {codigo}).toString();
}

int Cuantas(const QString& tabla)
{
    return Valor(QStringLiteral("SELECT COUNT(*) FROM ") + tabla).toInt();
}

frmFicha* FichaVisible()
{
    frmFicha* f = frmFicha::Instancia();
    f->show();
    f->activateWindow();
    if (!QTest::qWaitForWindowActive(f))
        QTest::qFail("la ficha no llega a mostrarse", __FILE__, __LINE__);
    return f;
}

void Cerrar(QPointer<frmFicha> f)
{
    f->close();
    QTRY_VERIFY(f.isNull());
}

// A right click on a row of the stations list, as the user does it.
void ClicDerecho(frmFicha* f, int fila)
{
    QWidget* vista = f->ListView1->viewport();
    const QPoint punto = f->ListView1->visualRect(f->ListView1->model()->index(fila, 2)).center();
    QTest::mouseClick(vista, Qt::RightButton, Qt::NoModifier, punto);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, punto, vista->mapToGlobal(punto));
    QApplication::sendEvent(vista, &menu);
}

// A key pressed with no aim, wherever the keyboard focus happens to be.
void TeclaSuelta(QWidget* ventana, Qt::Key tecla)
{
    QWidget* foco = QApplication::focusWidget();
    QTest::keyClick(foco ? foco : ventana, tecla);
}

void ElegirDelMenu(frmFicha* f, QAction* entrada)
{
    QTRY_VERIFY(f->Menu2->isVisible());
    QTest::mouseClick(f->Menu2, Qt::LeftButton, Qt::NoModifier, f->Menu2->actionGeometry(entrada).center());
    QTRY_VERIFY(!f->Menu2->isVisible());
}

} // namespace

class TstFrmFicha : public QObject
{
    Q_OBJECT
private slots:
    // A failed test must not hand its windows, bound to its own database, to the next one.
    void cleanup()
    {
        QList<QPointer<QWidget>> ventanas;
        for (QWidget* ventana : QApplication::topLevelWidgets()) {
            if (!ventana->parentWidget())
                ventanas << ventana;
        }
        for (const QPointer<QWidget>& ventana : ventanas)
            delete ventana.data();
    }

    void cicloDeUnaObraYSusEstaciones()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        QPointer<frmFicha> f = frmFicha::Instancia();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QVERIFY(mensajes.Mensajes().isEmpty());
        QCOMPARE(f->windowTitle(), QStringLiteral("Ficha de Clientes"));
        QVERIFY(f->txtFields[Codigo]->isEnabled());
        QVERIFY(!f->Text1[0]->isEnabled());
        QVERIFY(f->Moverse1->isHidden());

        // A new work, saved with the next code.
        ClicBarra(f->BarraFiles1, Nueva);
        f->txtFields[Descripcion]->setText(QStringLiteral("Parcela 12"));
        f->txtFields[Propietario]->setText(QStringLiteral("O'Brien García"));
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("El Registro ha sido añadido"));
        QCOMPARE(Valor(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = 1")).toString(),
                 QStringLiteral("O'Brien García"));
        QVERIFY(f->txtFields[Propietario]->text().isEmpty());
        EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, PROPIETARIO) VALUES (2, 'Pérez')"));

        // Found by the start of the client's name, then opened for editing.
        ClicBarra(f->BarraFiles1, Limpiar);
        f->txtFields[Propietario]->setText(QStringLiteral("O'Br"));
        ClicBarra(f->BarraFiles1, Buscar);
        QVERIFY(f->Moverse1->isVisibleTo(f));
        QCOMPARE(f->txtFields[Codigo]->text(), QStringLiteral("1"));
        ClicBarra(f->BarraFiles1, Abrir);
        QVERIFY(f->Text1[0]->isEnabled());
        QVERIFY(!f->txtFields[Codigo]->isEnabled());

        // Stations 1 and 2; numbers typed with a point are stored as numbers.
        Teclear(f->Text1[0], QStringLiteral("Base 'A'"));
        Teclear(f->Text1[2], QStringLiteral("1.55"));
        QCOMPARE(f->Text1[2]->text(), QStringLiteral("1,55"));
        Teclear(f->Text1[3], QStringLiteral("1000,4"));
        f->Command2[1]->click();
        Teclear(f->Text1[0], QStringLiteral("Base B"));
        f->Command2[1]->click();
        QCOMPARE(f->ListView1->model()->rowCount(), 2);
        QCOMPARE(Celda(f, 1, 1), QStringLiteral("2"));
        QCOMPARE(Valor(QStringLiteral("SELECT ALTAPAR FROM B_ESTACIONES WHERE CODEST = 1")).toDouble(), 1.55);
        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODEST = 1")).toString(),
                 QStringLiteral("Base 'A'"));
        QVERIFY(!f->txtFields[Codigo]->isEnabled());

        // With no decimals shown, saving an untouched station keeps its stored numbers.
        f->Text2->setText(QStringLiteral("0"));
        QCOMPARE(ArchivoIni::Leer(FicheroIni, QStringLiteral("PARAMETROS"), QStringLiteral("Decimales")),
                 QStringLiteral("0"));
        ElegirFila(f, 0);
        QCOMPARE(f->Text1[3]->text(), QStringLiteral("1000,"));
        Teclear(f->Text1[0], QStringLiteral("Base A"));
        f->Command2[1]->click();
        QCOMPARE(Valor(QStringLiteral("SELECT COORDX FROM B_ESTACIONES WHERE CODEST = 1")).toDouble(), 1000.4);
        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODEST = 1")).toString(),
                 QStringLiteral("Base A"));
        QCOMPARE(f->ListView1->model()->rowCount(), 2);

        // Moving the selection without loading the editor: the save still goes to the station the editor holds.
        ElegirFila(f, 0);
        f->ListView1->setCurrentIndex(f->ListView1->model()->index(1, 0));
        Teclear(f->Text1[0], QStringLiteral("Base A1"));
        f->Command2[1]->click();
        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODEST = 1")).toString(),
                 QStringLiteral("Base A1"));
        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODEST = 2")).toString(),
                 QStringLiteral("Base B"));
        QCOMPARE(Valor(QStringLiteral("SELECT COORDX FROM B_ESTACIONES WHERE CODEST = 2")).isNull(), true);

        // The field book reduces from the stored station, not from the rounded list.
        f->ListView1->setCurrentIndex(f->ListView1->model()->index(0, 0));
        f->m2[0]->trigger();
        QTRY_VERIFY(frmPuntos::Existe());
        QPointer<frmPuntos> libreta = frmPuntos::Instancia();
        QVERIFY(QTest::qWaitForWindowActive(libreta));
        for (const auto& [campo, texto] : {std::pair{2, "1,000"}, {3, "1,5"}, {4, "0,5"}, {5, "100"}, {6, "100"}}) {
            Teclear(libreta->Text1(campo), QString::fromLatin1(texto));
            QTest::keyClick(libreta->Text1(campo), Qt::Key_Tab);
        }
        QCOMPARE(ValorNumerico(libreta->Text1(8)->text()), 1100.4);
        libreta->close();
        QTRY_VERIFY(libreta.isNull());

        f->Text2->setText(QStringLiteral("2"));
        QCOMPARE(Celda(f, 0, 4), QStringLiteral("1,55"));

        // A station with points stays; one without goes.
        EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO) VALUES (1, 2, 1)"));
        f->ListView1->setCurrentIndex(f->ListView1->model()->index(1, 0));
        mensajes.Responder(Respuesta::Si);
        mensajes.Responder(Respuesta::Aceptar);
        f->BorrarEstacionElegida();
        QCOMPARE(mensajes.Mensajes()[mensajes.Mensajes().size() - 2].texto, QStringLiteral("¿Borrar la Estacion?"));
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("No puede eliminar una estación con PUNTOS"));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Critico);
        QCOMPARE(f->ListView1->model()->rowCount(), 2);
        f->ListView1->setCurrentIndex(f->ListView1->model()->index(0, 0));
        mensajes.Responder(Respuesta::Si);
        f->BorrarEstacionElegida();
        QCOMPARE(f->ListView1->model()->rowCount(), 1);
        QCOMPARE(Valor(QStringLiteral("SELECT COUNT(*) FROM B_ESTACIONES")).toInt(), 1);

        // The work still has a station: deleting it is refused.
        ClicBarra(f->BarraFiles1, Limpiar);
        f->txtFields[Codigo]->setText(QStringLiteral("1"));
        ClicBarra(f->BarraFiles1, Buscar);
        QCOMPARE(f->ListView1->model()->rowCount(), 1);
        ClicBarra(f->BarraFiles1, Abrir);
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Borrar);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Elimine todas las estaciones Antes de Elimintar la OBRA"));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Informacion);
        QCOMPARE(Valor(QStringLiteral("SELECT COUNT(*) FROM B_OBRAS")).toInt(), 2);
        QVERIFY(mensajes.SinRespuestasPendientes());
        f->close();
        QTRY_VERIFY(f.isNull());
    }

    void estacionSinObraYTeclasDeLaFicha()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        QPointer<frmFicha> f = frmFicha::Instancia();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        ClicBarra(f->BarraFiles1, Nueva);
        f->Text1[0]->setEnabled(true);
        f->Text1[0]->setText(QStringLiteral("Sin obra"));
        mensajes.Responder(Respuesta::Aceptar);
        f->GrabarEstacion();
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Exclamacion);
        QCOMPARE(Valor(QStringLiteral("SELECT COUNT(*) FROM B_ESTACIONES")).toInt(), 0);

        f->Text1[0]->clear();
        mensajes.Responder(Respuesta::Aceptar);
        f->GrabarEstacion();
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Descripta el Texto de la estación"));

        // A refused update keeps the station in the editor: saving again retries it.
        EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (3)"));
        EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST) VALUES (3, 1, 'E1')"));
        ClicBarra(f->BarraFiles1, Limpiar);
        f->txtFields[Codigo]->setText(QStringLiteral("3"));
        ClicBarra(f->BarraFiles1, Buscar);
        ClicBarra(f->BarraFiles1, Abrir);
        ElegirFila(f, 0);
        f->Text1[0]->setText(QStringLiteral("E1 corregida"));
        {
            const EstacionesBloqueadas bloqueo(entorno);
            mensajes.Responder(Respuesta::Aceptar);
            f->GrabarEstacion();
            QVERIFY2(mensajes.UltimoTexto().contains(EstacionesBloqueadas::Aviso()),
                     qPrintable(mensajes.UltimoTexto()));
            QCOMPARE(f->Text1[0]->text(), QStringLiteral("E1 corregida"));
        }
        f->GrabarEstacion();
        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODOBRA = 3")).toString(),
                 QStringLiteral("E1 corregida"));
        QCOMPARE(Valor(QStringLiteral("SELECT COUNT(*) FROM B_ESTACIONES WHERE CODOBRA = 3")).toInt(), 1);

        Teclear(f->txtFields[Descripcion], QStringLiteral("Casa \"azul\""));
        QCOMPARE(f->txtFields[Descripcion]->text(), QStringLiteral("Casa 'azul'"));
        QTest::keyClick(f->txtFields[Descripcion], Qt::Key_Return);
        QTRY_VERIFY(f->txtFields[Propietario]->hasFocus());
        f->close();
        QTRY_VERIFY(f.isNull());
    }

    void configuracionExportacionEImpresion()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        pruebas::LanzadorGrabado lanzador;
        EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, DESCOBRA) VALUES (5, 'Finca')"));
        EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST) VALUES (5, 1)"));
        EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, CC1, CC2, CC3) "
                                      "VALUES (5, 1, 1, 'poste', 10.5, 20.25, 3)"));
        QPointer<frmFicha> f = frmFicha::Instancia();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));

        const QString programa = entorno.Ruta(QStringLiteral("Mi CAD/cad"));
        mensajes.ElegirRuta(programa);
        f->Command1[1]->click();
        QCOMPARE(f->Command1[1]->toolTip(), programa);

        f->txtFields[Codigo]->setText(QStringLiteral("5"));
        ClicBarra(f->BarraFiles1, Buscar);
        mensajes.Teclear(QStringLiteral("0,5"));
        mensajes.Teclear(QStringLiteral("finca"));
        f->Command1[3]->click();
        QVERIFY(QFile::exists(RutaDatos(QStringLiteral("SCRIPT.SCR"))));
        QCOMPARE(lanzador.llamadas.size(), 1);
        QCOMPARE(lanzador.llamadas.first().programa, programa);
        QCOMPARE(lanzador.llamadas.first().argumentos, QStringList{RutaDatos(QStringLiteral("SCRIPT.SCR"))});

        ClicBarra(f->BarraFiles1, Imprimir);
        QTRY_VERIFY(frmListados::Existe());
        frmListados::Instancia()->close();
        f->close();
        QTRY_VERIFY(f.isNull());
    }

    // Saving a changed work says so, as adding one does; a save that fails tells only why.
    void guardarConfirmaLosCambios()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        pruebas::InsertarObra(1, QStringLiteral("Uno"));
        QPointer<frmFicha> f = FichaVisible();
        f->txtFields[Codigo]->setText(QStringLiteral("1"));
        ClicBarra(f->BarraFiles1, Buscar);
        ClicBarra(f->BarraFiles1, Abrir);
        Teclear(f->txtFields[Propietario], QStringLiteral("Uno revisado"));
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("El Registro ha sido modificado"));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Informacion);
        QCOMPARE(mensajes.Mensajes().last().botones, Botones::Aceptar);
        QCOMPARE(NombreCliente(1), QStringLiteral("Uno revisado"));

        ClicBarra(f->BarraFiles1, Abrir);
        Teclear(f->txtFields[Propietario], QStringLiteral("No guardado"));
        CerrarBaseDatos();
        mensajes.Olvidar();
        mensajes.Responder(Respuesta::Cancelar);
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(mensajes.Mensajes().size(), 2);
        QVERIFY(mensajes.Mensajes().first().texto.startsWith(QStringLiteral("Error al ejecutar la instrucción SQL")));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Critico);
        Cerrar(f);
    }

    void obrasDeCincoCifras()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        pruebas::InsertarObra(1000, QStringLiteral("Mil"));
        pruebas::InsertarObra(10000, QStringLiteral("Diez mil"));
        QPointer<frmFicha> f = FichaVisible();

        f->txtFields[Propietario]->setText(QStringLiteral("Diez"));
        ClicBarra(f->BarraFiles1, Buscar);
        QCOMPARE(f->txtFields[Codigo]->text(), QStringLiteral("10000"));
        ClicBarra(f->BarraFiles1, Abrir);
        Teclear(f->txtFields[Propietario], QStringLiteral("Diez mil uno"));
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(NombreCliente(10000), QStringLiteral("Diez mil uno"));
        QCOMPARE(NombreCliente(1000), QStringLiteral("Mil"));

        ClicBarra(f->BarraFiles1, Abrir);
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Borrar);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("¿Desea borrar el registro?"));
        QCOMPARE(Cuantas(QStringLiteral("B_OBRAS WHERE CODOBRA = 10000")), 0);
        QCOMPARE(NombreCliente(1000), QStringLiteral("Mil"));

        // The work after 9999 is 10000, shown and stored as such.
        pruebas::InsertarObra(9999, QStringLiteral("Penúltima"));
        mensajes.Olvidar();
        ClicBarra(f->BarraFiles1, Limpiar);
        ClicBarra(f->BarraFiles1, Nueva);
        Teclear(f->txtFields[Propietario], QStringLiteral("Nueva"));
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("El Registro ha sido añadido"));
        QCOMPARE(NombreCliente(10000), QStringLiteral("Nueva"));
        QCOMPARE(NombreCliente(1000), QStringLiteral("Mil"));
        QCOMPARE(Cuantas(QStringLiteral("B_OBRAS")), 3);
        QVERIFY(mensajes.SinRespuestasPendientes());
        Cerrar(f);
    }

    void estacionNuevaTrasElMenu_data()
    {
        QTest::addColumn<int>("entrada");
        QTest::newRow("Ver Puntos") << 0;
        QTest::newRow("Salir") << 3;
    }

    void estacionNuevaTrasElMenu()
    {
        QFETCH(int, entrada);
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        pruebas::InsertarObra(7, QStringLiteral("Con estación"));
        EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST, ALTAPAR) "
                                      "VALUES (7, 1, 'Base', 1.5)"));
        for (int punto = 1; punto <= 6; ++punto)
            EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO) VALUES (7, 1, ?)"),
                           {punto});
        QPointer<frmFicha> f = FichaVisible();
        f->txtFields[Codigo]->setText(QStringLiteral("7"));
        ClicBarra(f->BarraFiles1, Buscar);
        ClicBarra(f->BarraFiles1, Abrir);

        ClicDerecho(f, 0);
        ElegirDelMenu(f, f->m2[entrada]);
        if (frmPuntos::Existe()) {
            QPointer<frmPuntos> libreta = frmPuntos::Instancia();
            libreta->close();
            QTRY_VERIFY(libreta.isNull());
        }
        Teclear(f->Text1[0], QStringLiteral("Nueva"));
        QTest::mouseClick(f->Command2[1], Qt::LeftButton);

        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODEST = 1")).toString(),
                 QStringLiteral("Base"));
        QCOMPARE(Valor(QStringLiteral("SELECT ALTAPAR FROM B_ESTACIONES WHERE CODEST = 1")).toDouble(), 1.5);
        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODEST = 2")).toString(),
                 QStringLiteral("Nueva"));
        QCOMPARE(Cuantas(QStringLiteral("B_PUNTOS WHERE CODEST = 1")), 6);
        QCOMPARE(f->ListView1->model()->rowCount(), 2);
        QVERIFY(mensajes.Mensajes().isEmpty());
        Cerrar(f);
    }

    // The editor's station is compared with the station as it was loaded, even when
    // the list has been read again since for another reason.
    void estacionCambiadaPorOtroPuesto()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        pruebas::InsertarObra(7, QStringLiteral("Con estación"));
        EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST, ALTAPAR) "
                                      "VALUES (7, 1, 'Base', 1.5)"));
        QPointer<frmFicha> f = FichaVisible();
        f->txtFields[Codigo]->setText(QStringLiteral("7"));
        ClicBarra(f->BarraFiles1, Buscar);
        ClicBarra(f->BarraFiles1, Abrir);
        ElegirFila(f, 0);
        EjecutarAccion(QStringLiteral("UPDATE B_ESTACIONES SET DESCEST = 'De otro puesto' WHERE CODEST = 1"));
        f->CargarEstaciones();

        Teclear(f->Text1[0], QStringLiteral("Mia"));
        mensajes.Responder(Respuesta::Aceptar);
        QTest::mouseClick(f->Command2[1], Qt::LeftButton);
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("ha cambiado")), qPrintable(mensajes.UltimoTexto()));
        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODEST = 1")).toString(),
                 QStringLiteral("De otro puesto"));

        // Another user changes the instrument height while this one types Z: the
        // refused save leaves the editor with the stored height and the typed Z,
        // and saving again keeps both.
        EjecutarAccion(QStringLiteral("UPDATE B_ESTACIONES SET ALTAPAR = 1.65 WHERE CODEST = 1"));
        Teclear(f->Text1[5], QStringLiteral("101,5"));
        mensajes.Responder(Respuesta::Aceptar);
        QTest::mouseClick(f->Command2[1], Qt::LeftButton);
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("ha cambiado")), qPrintable(mensajes.UltimoTexto()));
        QCOMPARE(f->Text1[0]->text(), QStringLiteral("Mia"));
        QCOMPARE(ValorNumerico(f->Text1[2]->text()), 1.65);
        const int avisos = mensajes.Mensajes().size();
        QTest::mouseClick(f->Command2[1], Qt::LeftButton);
        QCOMPARE(mensajes.Mensajes().size(), avisos);
        QCOMPARE(Valor(QStringLiteral("SELECT ALTAPAR FROM B_ESTACIONES WHERE CODEST = 1")).toDouble(), 1.65);
        QCOMPARE(Valor(QStringLiteral("SELECT COORDZ FROM B_ESTACIONES WHERE CODEST = 1")).toDouble(), 101.5);
        QCOMPARE(Valor(QStringLiteral("SELECT DESCEST FROM B_ESTACIONES WHERE CODEST = 1")).toString(),
                 QStringLiteral("Mia"));
        Cerrar(f);
    }

    void decimalesALaVistaYAsalvoDelTeclado()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        pruebas::InsertarObra(1, QStringLiteral("Uno"));
        QPointer<frmFicha> f = FichaVisible();
        QCOMPARE(f->Text2->text(), QStringLiteral("3"));
        QCOMPARE(NumDecimales, 3);

        // A stray key after a search, a save or a delete reaches no setting.
        f->txtFields[Codigo]->setText(QStringLiteral("1"));
        ClicBarra(f->BarraFiles1, Buscar);
        TeclaSuelta(f, Qt::Key_7);
        ClicBarra(f->BarraFiles1, Abrir);
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        TeclaSuelta(f, Qt::Key_8);
        ClicBarra(f->BarraFiles1, Abrir);
        mensajes.Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Borrar);
        TeclaSuelta(f, Qt::Key_9);
        QCOMPARE(f->Text2->text(), QStringLiteral("3"));
        QCOMPARE(NumDecimales, 3);
        QCOMPARE(Cuantas(QStringLiteral("B_OBRAS")), 0);
        Cerrar(f);

        // A stored setting is shown as it is in effect, two digits included.
        ArchivoIni::Escribir(FicheroIni, QStringLiteral("PARAMETROS"), QStringLiteral("Decimales"),
                             QStringLiteral("12"));
        CargarDecimales();
        f = FichaVisible();
        QCOMPARE(f->Text2->text(), QStringLiteral("12"));
        QCOMPARE(NumDecimales, 12);
        Cerrar(f);
    }

    // The exchange entries of the stations' menu, as the surveyor uses them: the
    // field book out as CSV and back into the empty station, a drawing out as DXF,
    // and a file with a bad row that imports nothing.
    void intercambioDesdeElMenu()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        pruebas::InsertarObra(7, QStringLiteral("Con estaciones"));
        EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES (CODOBRA, CODEST, DESCEST, ALTAPAR, COORDX, COORDY, "
                                      "COORDZ) VALUES (7, 1, 'Base', 1.5, 1000, 2000, 100), (7, 2, 'Copia', 1.5, "
                                      "1000, 2000, 100)"));
        QVERIFY(EjecutarAccion(
            QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, LECTMED, LECTSUP, "
                           "LECTINF, ANGHOR, ANGVER, DISTAN, CC1, CC2, CC3, OBSERV) VALUES "
                           "(7, 1, 1, 'ÁRBOL', 1.5, 1.6, 1.4, 50, 100, 20, 1014.1421, 2014.1421, 100, "
                           "'junto al muro; \"viejo\"'), "
                           "(7, 1, 2, 'POZO', 1.5, 1.6, 1.4, 150, 99.5, 19.99, 1014.13, 1985.87, 100.157, "
                           "'')")));
        QPointer<frmFicha> f = FichaVisible();
        f->txtFields[Codigo]->setText(QStringLiteral("7"));
        ClicBarra(f->BarraFiles1, Buscar);

        const QString csv = entorno.Ruta(QStringLiteral("libreta.csv"));
        mensajes.Responder(Respuesta::Si); // ";" and the decimal comma
        mensajes.ElegirRuta(csv);
        mensajes.Responder(Respuesta::Aceptar);
        ClicDerecho(f, 0);
        ElegirDelMenu(f, f->m3[3]);
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("2 puntos")), qPrintable(mensajes.UltimoTexto()));
        QVERIFY(mensajes.UltimoTexto().contains(csv));
        // The first picker never opens among the database's own files.
        QVERIFY(!mensajes.propuestas.first().startsWith(entorno.Carpeta()));

        mensajes.ElegirRuta(csv);
        mensajes.Responder(Respuesta::Si);
        mensajes.Responder(Respuesta::Aceptar);
        ClicDerecho(f, 1);
        ElegirDelMenu(f, f->m3[0]);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("2 lecturas importadas en la ESTACIÓN 2."));
        for (const char* columna : {"RESENA", "LECTMED", "LECTSUP", "LECTINF", "ANGHOR", "ANGVER", "OBSERV"}) {
            const QString sql = QStringLiteral("SELECT group_concat(%1, '|') FROM (SELECT %1 FROM B_PUNTOS WHERE "
                                               "CODOBRA = 7 AND CODEST = ? ORDER BY CODPUNTO)")
                                    .arg(QLatin1String(columna));
            QCOMPARE(Valor(sql, {2}), Valor(sql, {1}));
        }

        const QString dxf = entorno.Ruta(QStringLiteral("obra7.dxf"));
        mensajes.Teclear(QStringLiteral("0,005"));
        mensajes.ElegirRuta(dxf);
        mensajes.Responder(Respuesta::Aceptar);
        ClicDerecho(f, 0);
        ElegirDelMenu(f, f->m3[1]);
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("4 puntos de 2 estaciones")),
                 qPrintable(mensajes.UltimoTexto()));
        QVERIFY(QFileInfo(dxf).size() > 0);
        QCOMPARE(EscalaGuardada(), QStringLiteral("0.005"));

        QFile mala(entorno.Ruta(QStringLiteral("mala.csv")));
        QVERIFY(mala.open(QIODevice::WriteOnly));
        mala.write("Punto,Rese\xc3\xb1"
                   "a,Media,Superior,Inferior,Angulo H.,A. Vert.,Notas\r\n"
                   "3,A,1.5,1.6,1.4,10,100,\r\n"
                   "4,B,uno,1.6,1.4,10,100,\r\n");
        mala.close();
        mensajes.ElegirRuta(mala.fileName());
        mensajes.Responder(Respuesta::Aceptar);
        ClicDerecho(f, 1);
        ElegirDelMenu(f, f->m3[0]);
        // The picker opens where the last file went.
        QCOMPARE(mensajes.propuestas.last(), QDir::toNativeSeparators(entorno.Carpeta()));
        QVERIFY2(mensajes.UltimoTexto().contains(QStringLiteral("Línea 3:")), qPrintable(mensajes.UltimoTexto()));
        QVERIFY(mensajes.UltimoTexto().contains(QStringLiteral("No se ha importado nada")));
        QCOMPARE(Cuantas(QStringLiteral("B_PUNTOS WHERE CODEST = 2")), 2);

        // A cancelled save picker writes nothing and says nothing.
        mensajes.Olvidar();
        mensajes.Responder(Respuesta::No);
        mensajes.ElegirRuta(std::nullopt);
        ClicDerecho(f, 0);
        ElegirDelMenu(f, f->m3[2]);
        QCOMPARE(mensajes.Mensajes().size(), 1);
        Cerrar(f);
    }
};

QTEST_MAIN(TstFrmFicha)
#include "tst_frmFicha.moc"
