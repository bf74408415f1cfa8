#include "EntornoPrueba.h"
#include "LibretaPrueba.h"
#include "MensajesGrabados.h"
#include "RelojEnConsultas.h"
#include "SegunMotor.h"
#include "core/Parametros.h"
#include "fieldbook/PuntosEstacion.h"
#include "fieldbook/Reduccion.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <optional>

using namespace corvela;
using pruebas::MensajesGrabados;

namespace {

enum Campo { kCodigo, kResena, kMedia, kSuperior, kInferior, kHz, kV, kDist, kX, kY, kZ, kNotas };
enum Operacion { kGrabar, kCopiar, kBorrar, kAbrirLinea, kAlta, kRenumerar };
constexpr int kPaginaAbajo = -2;
constexpr int kPaginaArriba = -3;

void CrearPunto(int obra, int estacion, int codigo, const QString& resena = {}, std::array<double, 9> n = {})
{
    QVERIFY(EjecutarAccion(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, LECTMED, LECTSUP, "
                                          "LECTINF, ANGHOR, ANGVER, DISTAN, CC1, CC2, CC3) "
                                          "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                           {obra, estacion, codigo, resena, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], n[8]}));
}

// Work 3, station 2 with the given points, each read level at 20 m.
void CrearEstacion(const QList<int>& puntos = {})
{
    pruebas::InsertarEstacion(3, 2);
    for (int codigo : puntos)
        CrearPunto(3, 2, codigo, QStringLiteral("p%1").arg(codigo), {1.5, 1.6, 1.4, 0, 100, 20, 1000, 2020, 100});
}

QVector<Punto> Tabla(int obra = 3, int estacion = 2)
{
    return PuntosEstacion(obra, estacion).Leer().value_or(QVector<Punto>());
}

QList<int> Codigos(int obra = 3, int estacion = 2)
{
    QList<int> codigos;
    for (const Punto& p : Tabla(obra, estacion))
        codigos << p.Codigo;
    return codigos;
}

// Every cell of the list, row by row.
QStringList Celdas(const pruebas::LibretaPrueba& l)
{
    QStringList celdas;
    for (int fila = 0; fila < l.filas(); ++fila) {
        for (int columna = 0; columna < frmPuntos::kCampos; ++columna)
            celdas << l.celda(fila, columna);
    }
    return celdas;
}

// The field book of work 3, station 2 (height 1.55 at 1000, 2000, 100), shown and active.
class Libreta : public pruebas::LibretaPrueba
{
public:
    explicit Libreta(int estacion = 2)
        : LibretaPrueba(3, estacion, QStringLiteral("Los Olivos"), QStringLiteral("E-2"), 1.55, 1000, 2000, 100,
                        QStringLiteral("12/03/2001"))
    {
    }

    // Types a field and leaves it with Tab, as the user does.
    void rellenar(int i, const QString& s) const
    {
        escribir(i, s);
        QTest::keyClick(campo(i), Qt::Key_Tab);
    }
    // Right click on a row, then the pop-up entry chosen.
    void elegir(int fila, int entrada) const
    {
        pulsarFila(fila, Qt::RightButton);
        v->Menu1()->close();
        v->m1(entrada)->trigger();
    }
    int seleccionada() const
    {
        const auto filas = v->ListView1()->selectionModel()->selectedRows();
        return filas.isEmpty() ? -1 : filas.first().row();
    }
    bool entradaVacia() const
    {
        for (int i = 0; i < frmPuntos::kCampos; ++i) {
            if (!texto(i).isEmpty())
                return false;
        }
        return true;
    }
};

} // namespace

class TstFrmPuntos : public QObject
{
    Q_OBJECT
private slots:
    void abrirConCabeceraYPuntos()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion();
        pruebas::InsertarEstacion(3, 4);
        CrearPunto(3, 2, 5, QStringLiteral("muro"), {1.5, 1.85, 1.15, 50, 95, 69.57, 1049.19341876715, 2049.2, 105.5});
        CrearPunto(3, 2, 1, QStringLiteral("poste"));
        QVERIFY(EjecutarAccion(QStringLiteral("UPDATE B_PUNTOS SET LECTMED = NULL WHERE CODPUNTO = 1")));
        MensajesGrabados mensajes;
        // A station of many points takes a while to read: the hourglass shows throughout.
        std::optional<pruebas::RelojEnConsultas> reloj;
        if (pruebas::RelojEnConsultas::Posible())
            reloj.emplace();
        else
            qInfo("sin comprobar el reloj: la conexión con el servidor no deja ver cada paso de una lectura");
        Libreta l;
        QVERIFY(!reloj || reloj->SiempreConReloj());
        reloj.reset();
        const QStringList cabecera = QStringLiteral("OBRA:Los Olivos|Estación: E-2|Altura = 1,55|X = 1000|Y = 2000|"
                                                    "Z = 100|Fecha: 12/03/2001|Nº Obra:3  Estación:2")
                                         .split(u'|');
        for (int i = 0; i < cabecera.size(); ++i)
            QCOMPARE(l.v->Label1(i)->text(), cabecera[i]);

        // Code order, the user's decimals, a missing number as zero; nothing selected, focus in "Reseña".
        QCOMPARE(l.filas(), 2);
        QCOMPARE(l.celda(0, 0), QStringLiteral("1"));
        QCOMPARE(l.celda(0, 2), QStringLiteral("0,000"));
        QCOMPARE(l.celda(1, 1), QStringLiteral("muro"));
        QCOMPARE(l.celda(1, 8), QStringLiteral("1049,193"));
        QCOMPARE(l.seleccionada(), -1);
        QVERIFY(l.entradaVacia());
        QTRY_VERIFY(l.campo(kResena)->hasFocus());

        // Another station while open: its points, an empty entry row, no selection, its header.
        l.pulsarFila(1);
        QCOMPARE(l.texto(kCodigo), QStringLiteral("5"));
        frmPuntos::Corvela(QStringLiteral("Los Olivos"), QStringLiteral("E-4"), 1.5, 0, 0, 0, QString(), 3, 4);
        QCOMPARE(frmPuntos::Instancia(), l.v);
        QVERIFY(l.filas() == 0 && l.entradaVacia() && l.seleccionada() == -1);
        QCOMPARE(l.v->Label1(7)->text(), QStringLiteral("Nº Obra:3  Estación:4"));
        l.lecturas();
        l.escribir(kResena, QStringLiteral("nuevo"));
        l.grabar();
        QCOMPARE(Codigos(3, 4), QList<int>{1});
        QCOMPARE(Codigos(3, 2), (QList<int>{1, 5}));

        // "Salir" unloads the window; the next opening shows that station's points.
        QTest::mouseClick(l.v->Command3(), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!frmPuntos::Existe());
        Libreta otra;
        QCOMPARE(otra.filas(), 2);
    }

    void tecladoDeLaFilaDeEntrada()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion();
        MensajesGrabados mensajes;
        Libreta l;
        l.escribir(kMedia, QStringLiteral("1.5"));
        QCOMPARE(l.texto(kMedia), QStringLiteral("1,5"));
        QTest::keyClicks(l.campo(kMedia), QStringLiteral("x-+4"));
        QCOMPARE(l.texto(kMedia), QStringLiteral("1,54"));
        l.escribir(kSuperior, QStringLiteral("12,3456789"));
        QCOMPARE(l.texto(kSuperior), QStringLiteral("12,345"));
        // The code takes whole numbers only, three digits typed at most.
        l.escribir(kCodigo, QStringLiteral("1,2.34"));
        QCOMPARE(l.texto(kCodigo), QStringLiteral("123"));
        // Free text is never tidied as a number.
        l.escribir(kResena, QStringLiteral("a,bcdefg"));
        QCOMPARE(l.texto(kResena), QStringLiteral("a,bcde"));
        l.escribir(kNotas, QStringLiteral("o'Donnell, 1.5 -x"));
        QCOMPARE(l.texto(kNotas), QStringLiteral("o'Donnell, 1.5 -x"));
        // The whole text is selected on entering a field.
        l.campo(kMedia)->setFocus();
        QTRY_COMPARE(l.campo(kMedia)->selectedText(), QStringLiteral("1,54"));
    }

    void reduccionYComprobacionDeHilos()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion();
        MensajesGrabados mensajes;
        Libreta l;
        l.rellenar(kMedia, QStringLiteral("1,5"));
        l.rellenar(kSuperior, QStringLiteral("1,85"));
        // Leaving the lower reading checks the wires; 1,5 is not the text 1,500: Yes keeps it.
        mensajes.Responder(Respuesta::Si);
        l.rellenar(kInferior, QStringLiteral("1,15"));
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QCOMPARE(mensajes.Mensajes().first().icono, Icono::Pregunta);
        QCOMPARE(l.texto(kMedia), QStringLiteral("1,5"));
        l.rellenar(kHz, QStringLiteral("50"));
        QVERIFY(l.texto(kDist).isEmpty());
        l.rellenar(kV, QStringLiteral("95"));
        QCOMPARE(l.texto(kDist), QStringLiteral("69,57"));
        QCOMPARE(l.texto(kX), QStringLiteral("1049,193"));
        QCOMPARE(l.texto(kZ), QStringLiteral("105,525"));
        // Another horizontal angle changes nothing until "A. Vert." is left again.
        l.rellenar(kHz, QStringLiteral("100"));
        QCOMPARE(l.texto(kX), QStringLiteral("1049,193"));

        // "Grabar" reduces again for the changed angle, and stores the full coordinates.
        mensajes.Responder(Respuesta::Si);
        l.grabar();
        QVector<Punto> tabla = Tabla();
        QCOMPARE(tabla.size(), 1);
        QCOMPARE(tabla[0].Numeros[kCoordenadaX], CoordenadaX(100, 69.57, 1000));
        QCOMPARE(tabla[0].Numeros[kCoordenadaZ], CoordenadaZ(1.55, 1.5, 95, 69.57, 100));
        QCOMPARE(tabla[0].Numeros[kLecturaMedia], 1.5);
        QVERIFY(l.entradaVacia());
        QCOMPARE(l.celda(0, 8), QStringLiteral("1069,570"));

        // Coordinates typed by hand after the last change of a reading are kept.
        l.lecturas();
        l.escribir(kX, QStringLiteral("7"));
        l.grabar();
        QCOMPARE(Tabla().last().Numeros[kCoordenadaX], 7.0);
        QCOMPARE(Tabla().last().Numeros[kCoordenadaY], 0.0);

        // Wires out of order: the message, nothing saved, the entry row as it was.
        l.escribir(kMedia, QStringLiteral("1,500"));
        l.escribir(kSuperior, QStringLiteral("1,4"));
        l.escribir(kInferior, QStringLiteral("1,6"));
        mensajes.Olvidar();
        mensajes.Responder(Respuesta::Aceptar); // on leaving "Inferior"
        mensajes.Responder(Respuesta::Aceptar); // on "Grabar"
        l.grabar();
        QCOMPARE(mensajes.Mensajes().size(), 2);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("Lectura de hilos incorrecta"));
        QCOMPARE(Tabla().size(), 2);
        QCOMPARE(l.texto(kSuperior), QStringLiteral("1,4"));
    }

    void grabarCodigosYFallos()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion();
        MensajesGrabados mensajes;
        Libreta l;
        l.lecturas();
        l.escribir(kResena, QStringLiteral("o'p"));
        l.grabar();
        QCOMPARE(Codigos(), QList<int>{1});
        QCOMPARE(Tabla()[0].Resena, QStringLiteral("o'p"));
        for (int codigo : {2, 5}) {
            l.lecturas();
            l.escribir(kCodigo, QString::number(codigo));
            l.grabar();
        }
        l.lecturas();
        l.grabar();
        QCOMPARE(Codigos(), (QList<int>{1, 2, 5, 6}));

        // A lower code typed by hand joins the list at its end until the next load.
        l.lecturas();
        l.escribir(kCodigo, QStringLiteral("3"));
        l.grabar();
        QCOMPARE(l.celda(4, 0), QStringLiteral("3"));

        // A code in use, the code 0, a code pasted with decimals: a message, no row, the entry row
        // kept, the window open.
        const char* noEntero = "El número de PUNTO ha de ser un número entero mayor que cero.";
        for (const auto& [codigo, texto] :
             {std::pair{"2", "El registro que intenta añadir ya existe con ese mismo código."},
              std::pair{"0", noEntero}, std::pair{"1,5", noEntero}}) {
            l.lecturas();
            l.campo(kCodigo)->setText(QString::fromLatin1(codigo));
            mensajes.Responder(Respuesta::Aceptar);
            l.grabar();
            QCOMPARE(mensajes.UltimoTexto(), QString::fromUtf8(texto));
            QCOMPARE(l.filas(), 5);
            QCOMPARE(l.texto(kCodigo), QString::fromLatin1(codigo));
            QCOMPARE(l.texto(kSuperior), QStringLiteral("1,6"));
            // Ready for another code: typing replaces the refused one.
            QTRY_VERIFY(l.campo(kCodigo)->hasFocus());
            QCOMPARE(l.campo(kCodigo)->selectedText(), QString::fromLatin1(codigo));
        }
        QCOMPARE(Codigos(), (QList<int>{1, 2, 3, 5, 6}));

        // A database that cannot be written: the record layer's report, nothing changes.
        pruebas::SoloLectura(true);
        l.escribir(kCodigo, QStringLiteral("9"));
        mensajes.Responder(Respuesta::Aceptar);
        l.grabar();
        QVERIFY2(mensajes.UltimoTexto().startsWith(
                     QStringLiteral("La base de datos es de solo lectura: no se puede grabar en ella.\r\n\r\n")),
                 qPrintable(mensajes.UltimoTexto()));
        QVERIFY(
            mensajes.UltimoTexto().endsWith(QStringLiteral("\r\n\r\n¿Desea continuar con la ejecución del programa?")));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Critico);
        QCOMPARE(l.filas(), 5);
        QVERIFY(frmPuntos::Existe() && l.v->isVisible());
        pruebas::SoloLectura(false);

        // A code the program chose that clashes (another instance took it) is chosen
        // afresh on the next try: the code field stays as the user left it, empty.
        QVERIFY(pruebas::DisparadorQueEjecuta(
            QStringLiteral("choca"), QStringLiteral("BEFORE INSERT ON B_PUNTOS"),
            QStringLiteral("NEW.RESENA = 'choca'"),
            QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA) VALUES (NEW.CODOBRA, NEW.CODEST, "
                           "NEW.CODPUNTO, 'ajeno')")));
        l.lecturas();
        l.escribir(kResena, QStringLiteral("choca"));
        l.campo(kCodigo)->clear();
        mensajes.Responder(Respuesta::Aceptar);
        l.grabar();
        QCOMPARE(mensajes.UltimoTexto(),
                 QStringLiteral("El registro que intenta añadir ya existe con ese mismo código."));
        QCOMPARE(l.texto(kCodigo), QString());
        l.escribir(kResena, QStringLiteral("bien"));
        l.grabar();
        QCOMPARE(Codigos(), (QList<int>{1, 2, 3, 5, 6, 7}));
    }

    // Pasted texts are not limited by the field; the database would keep them whole.
    void textoPegadoMasLargoQueSuColumna()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion();
        MensajesGrabados mensajes;
        Libreta l;
        l.lecturas();
        const QString largo = QString(60, u'r') + QStringLiteral("ñ");
        for (int campo : {kResena, kNotas}) {
            QGuiApplication::clipboard()->setText(campo == kResena ? largo : largo.repeated(3));
            l.campo(campo)->setFocus();
            l.campo(campo)->selectAll();
            QTest::keyClick(l.campo(campo), Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(l.texto(kResena), largo);
        mensajes.Responder(Respuesta::Aceptar);
        l.grabar();
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QCOMPARE(mensajes.UltimoTexto(),
                 QStringLiteral("El texto de Reseña pasa de los 50 caracteres que admite la base de datos: se ha "
                                "recortado.\r\nEl texto de Notas pasa de los 100 caracteres que admite la base de "
                                "datos: se ha recortado."));
        QCOMPARE(Tabla()[0].Resena, largo.left(50));
        QCOMPARE(Tabla()[0].Notas, largo.repeated(3).left(100));
    }

    void otroPuestoCambiaLaEstacion_data()
    {
        QTest::addColumn<int>("operacion");
        QTest::addColumn<QStringList>("cambio");
        const QString cambiar = QStringLiteral("UPDATE B_PUNTOS SET LECTSUP = 1.7 WHERE CODPUNTO = 3");
        const QStringList renumerar = {QStringLiteral("DELETE FROM B_PUNTOS WHERE CODPUNTO = 1"),
                                       QStringLiteral("UPDATE B_PUNTOS SET CODPUNTO = CODPUNTO - 1")};
        QTest::newRow("grabar un punto cambiado") << int(kGrabar) << QStringList{cambiar};
        QTest::newRow("grabar un punto renumerado") << int(kGrabar) << renumerar;
        QTest::newRow("grabar un punto borrado")
            << int(kGrabar) << QStringList{QStringLiteral("DELETE FROM B_PUNTOS WHERE CODPUNTO = 3")};
        QTest::newRow("copiar sobre un punto cambiado") << int(kCopiar) << QStringList{cambiar};
        QTest::newRow("borrar un punto renumerado") << int(kBorrar) << renumerar;
        QTest::newRow("abrir linea en un punto cambiado") << int(kAbrirLinea) << QStringList{cambiar};
    }

    // The list was loaded; another instance then changes the station; the user's
    // action on point 3 touches nothing, says so, shows the table again and keeps
    // what was typed in the entry row.
    void otroPuestoCambiaLaEstacion()
    {
        QFETCH(int, operacion);
        QFETCH(QStringList, cambio);
        pruebas::EntornoPrueba entorno;
        CrearEstacion({1, 2, 3, 4});
        MensajesGrabados mensajes;
        Libreta l;
        if (operacion == kGrabar || operacion == kCopiar) {
            l.pulsarFila(operacion == kGrabar ? 2 : 0);
            l.escribir(kResena, QStringLiteral("mio"));
            l.escribir(kCodigo, QStringLiteral("3"));
        }
        for (const QString& sql : cambio)
            QVERIFY(EjecutarAccion(sql));
        const QVector<Punto> ajena = Tabla();

        if (operacion == kCopiar || operacion == kBorrar) // the question before copying or deleting
            mensajes.Responder(Respuesta::Si);
        mensajes.Responder(Respuesta::Aceptar);
        if (operacion == kGrabar || operacion == kCopiar)
            l.grabar();
        else
            l.elegir(2, operacion == kBorrar ? 2 : 0);
        QVERIFY(mensajes.UltimoTexto().startsWith(
            QStringLiteral("El PUNTO 3 ha cambiado en la base de datos desde que se cargó la lista")));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Exclamacion);
        const QVector<Punto> tabla = Tabla();
        QCOMPARE(tabla.size(), ajena.size());
        QCOMPARE(l.filas(), tabla.size());
        for (int i = 0; i < tabla.size(); ++i) {
            QVERIFY(tabla[i].Codigo == ajena[i].Codigo && tabla[i].Resena == ajena[i].Resena);
            QCOMPARE(tabla[i].Numeros, ajena[i].Numeros);
            QVERIFY(l.celda(i, 0) == QString::number(ajena[i].Codigo) && l.celda(i, 1) == ajena[i].Resena);
        }
        QCOMPARE(l.seleccionada(), -1);
        if (operacion == kGrabar || operacion == kCopiar) {
            QCOMPARE(l.texto(kResena), QStringLiteral("mio"));
            QCOMPARE(l.texto(kCodigo), QStringLiteral("3"));
        }
    }

    void editarCopiarYBorrar()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion({1, 3, 5});
        MensajesGrabados mensajes;
        Libreta l;

        // A click, or a key released in the list, loads the row; saving it updates that point in place.
        l.pulsarFila(0);
        QCOMPARE(l.texto(kCodigo), QStringLiteral("1"));
        l.v->ListView1()->setFocus();
        QTest::keyClick(l.v->ListView1(), Qt::Key_Down);
        QCOMPARE(l.texto(kCodigo), QStringLiteral("3"));
        QVERIFY(l.campo(kResena)->hasFocus());
        QCOMPARE(l.texto(kMedia), QStringLiteral("1,500"));
        l.escribir(kResena, QStringLiteral("arbol"));
        l.grabar();
        QCOMPARE(Tabla()[1].Resena, QStringLiteral("arbol"));
        QCOMPARE(l.celda(1, 1), QStringLiteral("arbol"));
        QCOMPARE(l.seleccionada(), -1);

        // Copying point 3 onto line 5: No keeps everything; Yes overwrites 5 and leaves 3.
        l.pulsarFila(1);
        l.escribir(kResena, QStringLiteral("copia"));
        l.escribir(kCodigo, QStringLiteral("5"));
        mensajes.Responder(Respuesta::No);
        l.grabar();
        QCOMPARE(mensajes.UltimoTexto(),
                 QStringLiteral("Va a copiar el contenido de la linea 3 a la linea 5\r\n\r\n¿Está Vd. Seguro?"));
        QCOMPARE(Tabla()[2].Resena, QStringLiteral("p5"));
        QCOMPARE(l.seleccionada(), 1);
        mensajes.Responder(Respuesta::Si);
        l.grabar();
        QCOMPARE(Tabla()[1].Resena, QStringLiteral("arbol")); // the copied line as it was
        QCOMPARE(Tabla()[2].Resena, QStringLiteral("copia"));
        QCOMPARE(l.celda(2, 1), QStringLiteral("copia"));
        QVERIFY(l.entradaVacia());

        // Onto a line that does not exist: reported, nothing stored, what was typed stays.
        l.pulsarFila(0);
        l.escribir(kResena, QStringLiteral("perdi"));
        l.escribir(kCodigo, QStringLiteral("9"));
        mensajes.Responder(Respuesta::Si);
        mensajes.Responder(Respuesta::Aceptar);
        l.grabar();
        QVERIFY(mensajes.UltimoTexto().startsWith(QStringLiteral("No existe el PUNTO 9")));
        QCOMPARE(Codigos(), (QList<int>{1, 3, 5}));
        QCOMPARE(l.texto(kResena), QStringLiteral("perdi"));
        QCOMPARE(l.seleccionada(), 0);

        // A right click selects without loading and opens the menu; on empty space neither.
        l.v->Command1(0)->click();
        l.escribir(kResena, QStringLiteral("medio"));
        l.pulsarFila(2, Qt::RightButton);
        QCOMPARE(l.seleccionada(), 2);
        QCOMPARE(l.texto(kResena), QStringLiteral("medio"));
        QTRY_VERIFY(l.v->Menu1()->isVisible());
        l.v->m1(4)->trigger();
        l.v->Menu1()->close();
        QCOMPARE(l.filas(), 3);

        // "&Borrar Linea" asks about the right-clicked row; No keeps it, Yes deletes it.
        mensajes.Responder(Respuesta::No);
        l.v->m1(2)->trigger();
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("¿Eliminar el PUNTO 5?"));
        QCOMPARE(l.filas(), 3);
        mensajes.Responder(Respuesta::Si);
        l.v->m1(2)->trigger();
        QCOMPARE(Codigos(), (QList<int>{1, 3}));
        QCOMPARE(l.filas(), 2);
        QVERIFY(l.entradaVacia());

        const QPoint vacio(5, l.v->ListView1()->viewport()->height() - 5);
        QTest::mouseClick(l.v->ListView1()->viewport(), Qt::RightButton, {}, vacio);
        QCOMPARE(l.seleccionada(), -1);
        QVERIFY(!l.v->Menu1()->isVisible());
    }

    // The list's keys move the selected row as they always did and load it into
    // the entry row on release; the row moved to is scrolled into view, and Left
    // and Right scroll the columns. -1 is the last row; a page is the row as far
    // below (or above) the top of the selected one as the list is high.
    void tecladoDeLaLista_data()
    {
        QTest::addColumn<int>("desde");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificadores");
        QTest::addColumn<int>("hasta");
        QTest::newRow("abajo") << 0 << int(Qt::Key_Down) << 0 << 1;
        QTest::newRow("arriba") << 5 << int(Qt::Key_Up) << 0 << 4;
        QTest::newRow("arriba en la primera") << 0 << int(Qt::Key_Up) << 0 << 0;
        QTest::newRow("abajo en la última") << -1 << int(Qt::Key_Down) << 0 << -1;
        QTest::newRow("inicio") << 30 << int(Qt::Key_Home) << 0 << 0;
        QTest::newRow("fin") << 3 << int(Qt::Key_End) << 0 << -1;
        QTest::newRow("control inicio") << 30 << int(Qt::Key_Home) << int(Qt::ControlModifier) << 0;
        QTest::newRow("control fin") << 3 << int(Qt::Key_End) << int(Qt::ControlModifier) << -1;
        QTest::newRow("izquierda") << 7 << int(Qt::Key_Left) << 0 << 7;
        QTest::newRow("derecha") << 7 << int(Qt::Key_Right) << 0 << 7;
        QTest::newRow("página abajo") << 0 << int(Qt::Key_PageDown) << 0 << kPaginaAbajo;
        QTest::newRow("página abajo cerca del final") << 50 << int(Qt::Key_PageDown) << 0 << -1;
        QTest::newRow("página arriba") << -1 << int(Qt::Key_PageUp) << 0 << kPaginaArriba;
        QTest::newRow("página arriba cerca del principio") << 4 << int(Qt::Key_PageUp) << 0 << 0;
    }
    void tecladoDeLaLista()
    {
        QFETCH(int, desde);
        QFETCH(int, tecla);
        QFETCH(int, modificadores);
        QFETCH(int, hasta);
        pruebas::EntornoPrueba entorno;
        QList<int> codigos;
        for (int codigo = 1; codigo <= 60; ++codigo)
            codigos << codigo;
        CrearEstacion(codigos);
        Libreta l;
        const int ultima = l.filas() - 1;
        desde = desde < 0 ? ultima : desde;
        QTableView* lista = l.v->ListView1();
        l.pulsarFila(0);
        lista->setFocus();
        for (int paso = 0; paso < desde; ++paso)
            QTest::keyClick(lista, Qt::Key_Down);
        QCOMPARE(l.seleccionada(), desde);
        const int arriba = lista->visualRect(lista->model()->index(desde, 0)).top();
        const int alto = lista->viewport()->height();
        if (hasta == kPaginaAbajo)
            hasta = lista->rowAt(arriba + alto);
        else if (hasta == kPaginaArriba)
            hasta = lista->rowAt(arriba - alto);
        hasta = hasta < 0 ? ultima : hasta;
        if (tecla == Qt::Key_Left)
            lista->horizontalScrollBar()->setValue(lista->horizontalScrollBar()->maximum());
        const int lateral = lista->horizontalScrollBar()->value();
        QTest::keyClick(lista, static_cast<Qt::Key>(tecla), Qt::KeyboardModifiers(modificadores));
        QCOMPARE(l.seleccionada(), hasta);
        QCOMPARE(l.texto(kCodigo), QString::number(hasta + 1));
        const QRect fila = lista->visualRect(lista->model()->index(hasta, 0));
        QVERIFY(lista->viewport()->rect().contains(fila.center()));
        const int paso = lista->horizontalScrollBar()->singleStep();
        const int esperado = tecla == Qt::Key_Right ? lateral + paso : tecla == Qt::Key_Left ? lateral - paso : lateral;
        QCOMPARE(lista->horizontalScrollBar()->value(),
                 std::clamp(esperado, 0, lista->horizontalScrollBar()->maximum()));
    }

    void renumerarYAbrirLinea()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion();
        pruebas::InsertarEstacion(3, 7);
        for (int codigo : {1, 2, 3})
            CrearPunto(3, 2, codigo, QStringLiteral("p%1").arg(codigo));
        CrearPunto(3, 7, 2, QStringLiteral("ajeno"));
        MensajesGrabados mensajes;
        Libreta l;

        // Opening a line at point 2: 1, a blank 2, then the former 2 and 3 as 3 and 4.
        l.elegir(1, 0);
        QVector<Punto> tabla = Tabla();
        QCOMPARE(Codigos(), (QList<int>{1, 2, 3, 4}));
        QCOMPARE(tabla[1].Resena, QString());
        QCOMPARE(tabla[2].Resena, QStringLiteral("p2"));
        QCOMPARE(tabla[3].Resena, QStringLiteral("p3"));
        QCOMPARE(l.seleccionada(), 1);
        QCOMPARE(l.texto(kCodigo), QStringLiteral("2"));
        QCOMPARE(l.texto(kMedia), QStringLiteral("0,000"));
        QCOMPARE(Codigos(3, 7), QList<int>{2}); // other stations untouched

        // Deleting 2 then renumbering closes the gap, keeping the order.
        mensajes.Responder(Respuesta::Si);
        l.v->m1(2)->trigger();
        l.elegir(0, 1);
        QCOMPARE(Codigos(), (QList<int>{1, 2, 3}));
        QCOMPARE(Tabla()[1].Resena, QStringLiteral("p2"));
        QCOMPARE(l.celda(2, 1), QStringLiteral("p3"));
        QCOMPARE(l.seleccionada(), -1);

        // A failure half-way leaves every code as it was: renumbering fails moving 12 to 5 after 9
        // went to 4; opening a line fails bringing 9 back down to 10 after every code moved up.
        CrearPunto(3, 2, 9, QStringLiteral("p9"));
        CrearPunto(3, 2, 12, QStringLiteral("p12"));
        QVERIFY(pruebas::DisparadorQueRechaza(QStringLiteral("falla"), QStringLiteral("BEFORE UPDATE ON B_PUNTOS"),
                                              QStringLiteral("NEW.CODPUNTO IN (5, 10)"),
                                              QStringLiteral("fallo provocado")));
        mensajes.Responder(Respuesta::Aceptar);
        l.elegir(0, 1);
        QCOMPARE(mensajes.UltimoTexto(),
                 QStringLiteral("La base de datos ha rechazado los datos porque no cumplen sus reglas.\r\n\r\n"
                                "fallo provocado\r\n\r\n¿Desea continuar con la ejecución del programa?"));
        QCOMPARE(Codigos(), (QList<int>{1, 2, 3, 9, 12}));
        mensajes.Responder(Respuesta::Aceptar);
        l.elegir(0, 0);
        QCOMPARE(Codigos(), (QList<int>{1, 2, 3, 9, 12}));
        QCOMPARE(l.filas(), 3);
    }

    void laListaSigueALaTabla_data()
    {
        QTest::addColumn<int>("operacion");
        QTest::addColumn<QString>("ajeno"); // what another instance did after the list was loaded
        const QString alta = QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, CC1) "
                                            "VALUES (3, 2, 3, 'ajeno', 5)");
        const QString baja = QStringLiteral("DELETE FROM B_PUNTOS WHERE CODPUNTO = 7");
        QTest::newRow("alta") << int(kAlta) << QString();
        QTest::newRow("grabar") << int(kGrabar) << QString();
        QTest::newRow("borrar") << int(kBorrar) << QString();
        QTest::newRow("renumerar") << int(kRenumerar) << QString();
        QTest::newRow("abrir linea") << int(kAbrirLinea) << QString();
        QTest::newRow("renumerar tras un alta ajena") << int(kRenumerar) << alta;
        QTest::newRow("renumerar tras una baja ajena") << int(kRenumerar) << baja;
        QTest::newRow("abrir linea tras un alta ajena") << int(kAbrirLinea) << alta;
        QTest::newRow("abrir linea tras una baja ajena") << int(kAbrirLinea) << baja;
    }

    // After each change the list shows what a fresh reading of the station shows.
    void laListaSigueALaTabla()
    {
        QFETCH(int, operacion);
        QFETCH(QString, ajeno);
        pruebas::EntornoPrueba entorno;
        CrearEstacion();
        for (int codigo : {1, 2, 4, 7})
            CrearPunto(3, 2, codigo, QStringLiteral("p%1").arg(codigo),
                       {1.5, 1.6, 1.4, codigo * 10.0, 100, 20, 1000.0 + codigo, 2000.0 - codigo, 100.125});
        MensajesGrabados mensajes;
        Libreta l;
        if (!ajeno.isEmpty())
            QVERIFY(EjecutarAccion(ajeno));
        switch (operacion) {
        case kAlta:
            l.lecturas();
            l.escribir(kResena, QStringLiteral("nuevo"));
            l.grabar();
            break;
        case kGrabar:
            l.pulsarFila(1);
            l.escribir(kResena, QStringLiteral("otro"));
            l.escribir(kZ, QStringLiteral("7,5"));
            l.grabar();
            break;
        case kBorrar:
            mensajes.Responder(Respuesta::Si);
            l.elegir(1, 2);
            break;
        default:
            l.elegir(1, operacion == kRenumerar ? 1 : 0);
        }
        QVERIFY2(mensajes.Mensajes().size() == (operacion == kBorrar ? 1 : 0), qPrintable(mensajes.UltimoTexto()));
        const QStringList vistas = Celdas(l);
        const int seleccionada = l.seleccionada();
        frmPuntos::Corvela(QStringLiteral("Los Olivos"), QStringLiteral("E-4"), 1.5, 0, 0, 0, QString(), 3, 4);
        frmPuntos::Corvela(QStringLiteral("Los Olivos"), QStringLiteral("E-2"), 1.55, 1000, 2000, 100, QString(), 3, 2);
        QCOMPARE(vistas, Celdas(l));
        QCOMPARE(l.filas(), Tabla().size());
        // An opened line leaves its blank point selected, in the entry row.
        QCOMPARE(seleccionada, operacion == kAbrirLinea ? 1 : -1);
    }

    // A large station's codes show whole, on opening and when a save makes them longer.
    void codigosLargosEnteros()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion({1, 9999});
        MensajesGrabados mensajes;
        Libreta l;
        auto cabe = [&l](const QString& codigo) {
            return l.v->ListView1()->columnWidth(0) > l.v->ListView1()->fontMetrics().horizontalAdvance(codigo);
        };
        QVERIFY(cabe(QStringLiteral("9999")));
        const int antes = l.v->ListView1()->columnWidth(0);
        l.lecturas();
        l.grabar();
        QCOMPARE(l.celda(2, 0), QStringLiteral("10000"));
        QVERIFY(l.v->ListView1()->columnWidth(0) > antes);
        QVERIFY(cabe(QStringLiteral("10000")));
    }

    void losDecimalesNoCuestanPrecision()
    {
        pruebas::EntornoPrueba entorno;
        CrearEstacion();
        const std::array<double, 9> guardados = {
            1.5, 1.85, 1.15, 50.1234, 95.00005, 69.57, 1049.19341876715, 2049.19341876715, 105.525277743789};
        CrearPunto(3, 2, 1, QStringLiteral("a"), guardados);
        MensajesGrabados mensajes;
        for (const char* decimales : {"0", "1"}) {
            GrabarParametro(QStringLiteral("Decimales"), QString::fromLatin1(decimales));
            CargarDecimales();
            Libreta l;
            l.pulsarFila(0);
            l.escribir(kResena, QStringLiteral("b"));
            l.grabar();
            QVERIFY(mensajes.Mensajes().isEmpty());
            QCOMPARE(Tabla()[0].Resena, QStringLiteral("b"));
            QCOMPARE(Tabla()[0].Numeros, guardados);
        }
        // An edited field is read from its text.
        Libreta l;
        l.pulsarFila(0);
        l.escribir(kZ, QStringLiteral("7,25"));
        l.grabar();
        QCOMPARE(Tabla()[0].Numeros[kCoordenadaZ], 7.25);
        QCOMPARE(Tabla()[0].Numeros[kCoordenadaX], guardados[kCoordenadaX]);
    }
};

QTEST_MAIN(TstFrmPuntos)
#include "tst_frmPuntos.moc"
