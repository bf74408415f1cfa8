#include "AnfitrionPrueba.h"
#include "EntornoPrueba.h"
#include "LanzadorGrabado.h"
#include "MensajesGrabados.h"
#include "Pulsaciones.h"
#include "controls/BarraFiles.h"
#include "controls/Moverse.h"
#include "core/Globales.h"
#include "core/Parametros.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace corvela;
using pruebas::AnfitrionPrueba;
using pruebas::InsertarObra;
using pruebas::Raton;
using Estados = std::array<bool, 9>;
using Codigos = QVector<EventoBarra>;

namespace {

//                                Nueva  Abrir  Guard  Busca  Impri  Borra  Limpi  Proce  Retro
constexpr Estados kBusqueda{{true, false, false, true, true, false, true, true, true}};
constexpr Estados kNueva{{false, false, true, false, false, false, true, true, true}};
constexpr Estados kEdicion{{false, false, true, false, false, true, true, true, true}};
constexpr Estados kMostrado{{true, true, false, false, true, false, true, true, true}};

Estados EstadosDe(const BarraFiles* barra)
{
    Estados e{};
    for (int i = 0; i < 9; ++i)
        e[i] = barra->EstBoton(i);
    return e;
}

QLabel* Boton(const BarraFiles* barra, int i)
{
    return barra->findChild<QLabel*>(QStringLiteral("Picture10_%1").arg(i));
}

// Which of the four bitmaps the button shows: 1 disabled, 2 normal, 3 hovered, 4 pressed.
int Imagen(const BarraFiles* barra, int i)
{
    const QImage mostrada = Boton(barra, i)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    for (int estado = 1; estado <= 4; ++estado) {
        const QImage fichero(RutaRecurso(QStringLiteral("IMAGEN/b%1_%2.bmp").arg(i).arg(estado)));
        if (!fichero.isNull() && fichero.convertToFormat(QImage::Format_RGB32) == mostrada)
            return estado;
    }
    return 0;
}

bool CamposHabilitados(const AnfitrionPrueba& ficha, bool habilitados)
{
    for (const CampoEnlazado& enlace : ficha.CamposEnlazados()) {
        if (enlace.Campo->isEnabled() != habilitados)
            return false;
    }
    return true;
}

bool NavegadorVisible(const AnfitrionPrueba& ficha)
{
    return !ficha.Moverse1->isHidden() &&
           !ficha.Moverse1->findChild<QFrame*>(QStringLiteral("FrameMoverse"))->isHidden();
}

int Obras(const QString& condicion = QStringLiteral("1 = 1"))
{
    return pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM B_OBRAS WHERE ") + condicion).toInt();
}

QString Posicion(const Moverse* navegador)
{
    return navegador->findChild<QPushButton*>(QStringLiteral("Command1_2"))->text();
}

QString Codigo(const AnfitrionPrueba& ficha)
{
    return ficha.Campo(QStringLiteral("CODOBRA"))->text();
}

void Pulsar(Moverse* navegador, int boton)
{
    QTest::mouseClick(navegador->findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(boton)), Qt::LeftButton);
}

void Mostrar(AnfitrionPrueba& ficha)
{
    ficha.show();
    QApplication::setActiveWindow(&ficha);
    QVERIFY(QTest::qWaitForWindowActive(&ficha));
}

} // namespace

class TstBarraFiles : public QObject
{
    Q_OBJECT
private slots:
    void nuevaGuardarBuscarAbrirModificar()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        Mostrar(ficha);
        BarraFiles* barra = ficha.BarraFiles1;
        QCOMPARE(EstadosDe(barra), kBusqueda);
        QVERIFY(CamposHabilitados(ficha, true));
        QVERIFY(ficha.Moverse1->isHidden());
        QCOMPARE(Imagen(barra, 0), 2);
        QCOMPARE(Imagen(barra, 1), 1);

        pruebas::ClicBarra(barra, 0);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::NuevaEntrada}));
        QCOMPARE(EstadosDe(barra), kNueva);
        QCOMPARE(Imagen(barra, 0), 1);
        QCOMPARE(Imagen(barra, 2), 2);

        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("O'Brien"));
        ficha.Campo(QStringLiteral("PROPIETARIO"))->setFocus();
        mensajes.Responder(Respuesta::Aceptar);
        pruebas::ClicBarra(barra, 2);
        QCOMPARE(ficha.codigos,
                 (Codigos{EventoBarra::NuevaEntrada, EventoBarra::AntesDeGuardar, EventoBarra::Guardado}));
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("El Registro ha sido añadido"));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Informacion);
        QCOMPARE(Obras(QStringLiteral("CODOBRA = 1 AND PROPIETARIO = 'O''Brien'")), 1);
        QCOMPARE(EstadosDe(barra), kBusqueda);
        QVERIFY(ficha.Campo(QStringLiteral("PROPIETARIO"))->hasFocus()); // "Guardar" leaves the focus

        InsertarObra(2, QStringLiteral("Segundo"));
        ficha.codigos.clear();
        pruebas::ClicBarra(barra, 3);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::RegistrosCambiados, EventoBarra::Buscado}));
        QCOMPARE(EstadosDe(barra), kMostrado);
        QVERIFY(CamposHabilitados(ficha, false));
        QVERIFY(NavegadorVisible(ficha));
        QCOMPARE(ficha.Campo(QStringLiteral("PROPIETARIO"))->text(), QStringLiteral("O'Brien"));

        // "Guardar" and "Borrar" stay off until "Abrir".
        ficha.codigos.clear();
        pruebas::ClicBarra(barra, 2);
        pruebas::ClicBarra(barra, 5);
        QVERIFY(ficha.codigos.isEmpty());
        QCOMPARE(ficha.preguntasBorrar, 0);
        QCOMPARE(Imagen(barra, 2), 1);

        pruebas::ClicBarra(barra, 1);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::Abrir}));
        QCOMPARE(EstadosDe(barra), kEdicion);
        QVERIFY(CamposHabilitados(ficha, true));
        QVERIFY(ficha.Moverse1->isHidden());
        QVERIFY(ficha.Campo(QStringLiteral("DESCOBRA"))->hasFocus());

        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Cambiado"));
        pruebas::ClicBarra(barra, 2);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::Abrir, EventoBarra::AntesDeGuardar, EventoBarra::Guardado}));
        QCOMPARE(Obras(QStringLiteral("CODOBRA = 1 AND PROPIETARIO = 'Cambiado'")), 1);
        QCOMPARE(Obras(), 2);
        QCOMPARE(EstadosDe(barra), kMostrado);
        QVERIFY(CamposHabilitados(ficha, false));
        QVERIFY(NavegadorVisible(ficha));
        QCOMPARE(mensajes.Mensajes().size(), 1);

        // Browsing away and back shows the work as saved, so that a second save cannot undo the first.
        ficha.Moverse1->Mover(QStringLiteral("+"));
        ficha.Moverse1->Mover(QStringLiteral("-"));
        QCOMPARE(ficha.Campo(QStringLiteral("PROPIETARIO"))->text(), QStringLiteral("Cambiado"));
    }

    void borrar()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(1, QStringLiteral("Uno"));
        InsertarObra(2, QStringLiteral("Dos"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        BarraFiles* barra = ficha.BarraFiles1;
        pruebas::ClicBarra(barra, 3);
        pruebas::ClicBarra(barra, 1);

        // Refused by the host: nothing happens.
        ficha.sePuedeBorrar = false;
        pruebas::ClicBarra(barra, 5);
        QCOMPARE(ficha.preguntasBorrar, 1);
        QVERIFY(mensajes.Mensajes().isEmpty());
        QCOMPARE(EstadosDe(barra), kEdicion);

        // Cancel on the question: nothing deleted.
        ficha.sePuedeBorrar = true;
        mensajes.Responder(Respuesta::Cancelar);
        pruebas::ClicBarra(barra, 5);
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("¿Desea borrar el registro?"));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Pregunta);
        QCOMPARE(mensajes.Mensajes().last().botones, Botones::AceptarCancelar);
        QCOMPARE(Obras(), 2);

        ficha.codigos.clear();
        mensajes.Responder(Respuesta::Aceptar);
        pruebas::ClicBarra(barra, 5);
        QCOMPARE(Obras(), 1);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::RegistrosCambiados}));
        QCOMPARE(EstadosDe(barra), kMostrado);
        QCOMPARE(Codigo(ficha), QStringLiteral("2"));
        QCOMPARE(Posicion(ficha.Moverse1), QStringLiteral("1 de 1"));
        QVERIFY(CamposHabilitados(ficha, false));

        // The last one found: the screen is left ready for a new search.
        pruebas::ClicBarra(barra, 1);
        ficha.codigos.clear();
        mensajes.Responder(Respuesta::Aceptar);
        pruebas::ClicBarra(barra, 5);
        QCOMPARE(Obras(), 0);
        QVERIFY(ficha.codigos.isEmpty());
        QCOMPARE(EstadosDe(barra), kBusqueda);
        QVERIFY(CamposHabilitados(ficha, true));
        QCOMPARE(Codigo(ficha), QString());
        QCOMPARE(mensajes.Mensajes().size(), 3);
    }

    void busquedaSinResultadoYVeto()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(1, QStringLiteral("Uno"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        BarraFiles* barra = ficha.BarraFiles1;

        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("zzz"));
        const int limpiezas = ficha.limpiezas;
        mensajes.Responder(Respuesta::Aceptar);
        pruebas::ClicBarra(barra, 3);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::Buscado}));
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("No hay registro localizados"));
        QCOMPARE(mensajes.Mensajes().last().icono, Icono::Exclamacion);
        QCOMPARE(ficha.limpiezas, limpiezas + 1);
        QCOMPARE(EstadosDe(barra), kBusqueda);
        QCOMPARE(ficha.Campo(QStringLiteral("PROPIETARIO"))->text(), QString());

        // A host that clears bfEventoOk before the save prevents it; the end of the save is still told.
        ficha.vetarGuardado = true;
        ficha.codigos.clear();
        pruebas::ClicBarra(barra, 0);
        ficha.Escribir(QStringLiteral("PROPIETARIO"), QStringLiteral("Vetado"));
        pruebas::ClicBarra(barra, 2);
        QCOMPARE(ficha.codigos,
                 (Codigos{EventoBarra::NuevaEntrada, EventoBarra::AntesDeGuardar, EventoBarra::Guardado}));
        QCOMPARE(Obras(), 1);
        QCOMPARE(EstadosDe(barra), kNueva);

        // Print, clear screen and back, in that order of clicks.
        ficha.codigos.clear();
        pruebas::ClicBarra(barra, 6);
        pruebas::ClicBarra(barra, 4);
        pruebas::ClicBarra(barra, 8);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::PantallaLimpia, EventoBarra::Imprimir, EventoBarra::Retroceder}));
        QCOMPARE(mensajes.Mensajes().size(), 1);
    }

    void procesadorDeTextos()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        pruebas::LanzadorGrabado lanzador;
        pruebas::ClicBarra(ficha.BarraFiles1, 7);
        QCOMPARE(lanzador.llamadas.size(), 1);
        QCOMPARE(lanzador.llamadas[0].programa, QStringLiteral("libreoffice"));
        QCOMPARE(lanzador.llamadas[0].argumentos, QStringList{QStringLiteral("--writer")});
        QVERIFY(ficha.errores.isEmpty());

        QVERIFY(GrabarParametro(QStringLiteral("PROCESADOR"), QStringLiteral("\"/opt/mi editor/editor\" --nuevo")));
        lanzador.resultado = false;
        pruebas::ClicBarra(ficha.BarraFiles1, 7);
        QCOMPARE(lanzador.llamadas[1].programa, QStringLiteral("/opt/mi editor/editor"));
        QCOMPARE(ficha.errores, QVector<int>{429});
        QVERIFY(ficha.codigos.isEmpty());
        QVERIFY(!ErrorPendiente().Hay());
        QVERIFY(mensajes.Mensajes().isEmpty());
    }

    void dibujoConElRaton()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        Mostrar(ficha);
        BarraFiles* barra = ficha.BarraFiles1;

        Raton(Boton(barra, 0), QEvent::MouseMove);
        QCOMPARE(Imagen(barra, 0), 3);
        Raton(Boton(barra, 3), QEvent::MouseMove);
        QCOMPARE(Imagen(barra, 0), 2);
        QCOMPARE(Imagen(barra, 3), 3);
        // A disabled button keeps the previous one hovered until the background is reached.
        Raton(Boton(barra, 1), QEvent::MouseMove);
        QCOMPARE(Imagen(barra, 1), 1);
        QCOMPARE(Imagen(barra, 3), 3);
        Raton(barra->findChild<QLabel*>(QStringLiteral("Iman1")), QEvent::MouseMove);
        QCOMPARE(Imagen(barra, 3), 2);

        Raton(Boton(barra, 4), QEvent::MouseButtonPress);
        QCOMPARE(Imagen(barra, 4), 4);
        Raton(Boton(barra, 4), QEvent::MouseButtonRelease);
        QCOMPARE(Imagen(barra, 4), 3);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::Imprimir}));
        // The second press of a double click runs nothing.
        Raton(Boton(barra, 4), QEvent::MouseButtonDblClick);
        QCOMPARE(Imagen(barra, 4), 4);
        Raton(Boton(barra, 4), QEvent::MouseButtonRelease);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::Imprimir}));
        barra->BotonesACero();
        QCOMPARE(Imagen(barra, 4), 2);

        // A disabled button: no action, its picture stays, the focus still moves.
        ficha.Campo(QStringLiteral("PROPIETARIO"))->setFocus();
        Raton(Boton(barra, 1), QEvent::MouseButtonPress);
        QCOMPARE(Imagen(barra, 1), 1);
        Raton(Boton(barra, 1), QEvent::MouseButtonRelease);
        QCOMPARE(Imagen(barra, 1), 1);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::Imprimir}));
        QVERIFY(ficha.Campo(QStringLiteral("DESCOBRA"))->hasFocus());
        ficha.Campo(QStringLiteral("PROPIETARIO"))->setFocus();
        pruebas::ClicBarra(barra, 4);
        QVERIFY(ficha.Campo(QStringLiteral("PROPIETARIO"))->hasFocus());
    }

    void sinImagenesNoFalla()
    {
        pruebas::EntornoPrueba entorno;
        QTemporaryDir vacia;
        CarpetaRecursos = vacia.path();
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        Raton(Boton(ficha.BarraFiles1, 0), QEvent::MouseMove);
        pruebas::ClicBarra(ficha.BarraFiles1, 0);
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::NuevaEntrada}));
        for (int i = 0; i < 9; ++i) {
            QVERIFY(Boton(ficha.BarraFiles1, i)->pixmap().isNull());
            QCOMPARE(Boton(ficha.BarraFiles1, i)->frameShape(), QFrame::Panel);
        }
    }

    void edicionYPulsarBotonBuscar()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(1, QStringLiteral("Uno"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        Mostrar(ficha);
        BarraFiles* barra = ficha.BarraFiles1;
        ficha.ediciones.clear();
        pruebas::ClicBarra(barra, 0);
        pruebas::ClicBarra(barra, 6);
        QCOMPARE(ficha.ediciones, (QVector<bool>{true, false}));

        // The host may change the state of "Guardar" before it is stored.
        ficha.guardarForzado = true;
        barra->LimpiarPantalla();
        QVERIFY(barra->EstBoton(2));
        ficha.guardarForzado.reset();
        barra->LimpiarPantalla();

        ficha.codigos.clear();
        barra->PulsarBotonBuscar();
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::RegistrosCambiados, EventoBarra::Buscado}));
        QVERIFY(ficha.isVisible());
        barra->PulsarBotonBuscar();
        QVERIFY(!ficha.isVisible());
        QCOMPARE(ficha.codigos, (Codigos{EventoBarra::RegistrosCambiados, EventoBarra::Buscado}));
    }
    void recorridoConVueltaYRotulos()
    {
        pruebas::EntornoPrueba entorno;
        for (int i = 1; i <= 4; ++i)
            InsertarObra(i, QStringLiteral("Cliente %1").arg(i));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        ficha.show();
        Moverse* nav = ficha.Moverse1;

        nav->Registros();
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 4"));
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));
        QCOMPARE(ficha.Campo(QStringLiteral("PROPIETARIO"))->text(), QStringLiteral("Cliente 1"));
        QCOMPARE(ficha.desplazamientos, 0);
        QVERIFY(!ficha.BarraFiles1->EstBoton(1)); // Registros leaves the toolbar alone

        Pulsar(nav, 3);
        QCOMPARE(Posicion(nav), QStringLiteral("2 de 4"));
        QCOMPARE(Codigo(ficha), QStringLiteral("2"));
        QCOMPARE(ficha.desplazamientos, 1);
        QCOMPARE(EstadosDe(ficha.BarraFiles1), kMostrado);

        Pulsar(nav, 4);
        QCOMPARE(Posicion(nav), QStringLiteral("4 de 4"));
        Pulsar(nav, 3);
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 4"));
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));
        Pulsar(nav, 1);
        QCOMPARE(Posicion(nav), QStringLiteral("4 de 4"));
        QCOMPARE(Codigo(ficha), QStringLiteral("4"));
        Pulsar(nav, 0);
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));

        // The position button refreshes the fields without moving.
        ficha.Campo(QStringLiteral("PROPIETARIO"))->setText(QStringLiteral("tocado"));
        Pulsar(nav, 2);
        QCOMPARE(ficha.Campo(QStringLiteral("PROPIETARIO"))->text(), QStringLiteral("Cliente 1"));
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 4"));
        QCOMPARE(ficha.desplazamientos, 6);

        // Next, previous (wrapping), last and first by their letters.
        QString visitados;
        for (const char* orden : {"S", "A", "-", "+", "U", "P"}) {
            nav->Mover(QString::fromLatin1(orden));
            visitados += Codigo(ficha);
        }
        QCOMPARE(visitados, QStringLiteral("214141"));
        const int antes = ficha.desplazamientos;
        for (const QString& nada : {QStringLiteral("s"), QStringLiteral("p"), QStringLiteral("X"), QString()})
            nav->Mover(nada);
        QCOMPARE(ficha.desplazamientos, antes);
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));
        QVERIFY(mensajes.Mensajes().isEmpty());

        nav->VisibleCtl(false);
        QVERIFY(nav->findChild<QFrame*>(QStringLiteral("FrameMoverse"))->isHidden());
        nav->VisibleCtl(true);
        QVERIFY(!nav->findChild<QFrame*>(QStringLiteral("FrameMoverse"))->isHidden());
    }

    void unRegistroYNinguno()
    {
        pruebas::EntornoPrueba entorno;
        InsertarObra(1, QStringLiteral("Cliente 1"));
        pruebas::MensajesGrabados mensajes;
        AnfitrionPrueba ficha;
        ficha.Cargar();
        Moverse* nav = ficha.Moverse1;
        nav->Registros();
        Pulsar(nav, 3);
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 1"));
        Pulsar(nav, 1);
        QCOMPARE(Posicion(nav), QStringLiteral("1 de 1"));
        QCOMPARE(Codigo(ficha), QStringLiteral("1"));

        // An empty record set: no record to show, the toolbar clears the screen.
        nav->RSUsado =
            std::make_shared<RecordSet>(RecordSet::Abrir(QStringLiteral("SELECT * FROM B_OBRAS WHERE CODOBRA < 0")));
        const int limpiezas = ficha.limpiezas;
        Pulsar(nav, 3);
        QCOMPARE(Posicion(nav), QStringLiteral("Ningún Registro"));
        QCOMPARE(ficha.limpiezas, limpiezas + 1);
        QVERIFY(ficha.BarraFiles1->EstBoton(3) && !ficha.BarraFiles1->EstBoton(1));
        QCOMPARE(ficha.desplazamientos, 3);
        QVERIFY(mensajes.Mensajes().isEmpty());

        // Registros on it reports that there is no current record.
        mensajes.Responder(Respuesta::Aceptar);
        nav->Registros();
        QCOMPARE(mensajes.UltimoTexto(), QStringLiteral("3021-No hay un registro activo."));
        QCOMPARE(mensajes.Mensajes().first().icono, Icono::Informacion);
        QCOMPARE(ficha.desplazamientos, 3);
    }
};

QTEST_MAIN(TstBarraFiles)
#include "tst_BarraFiles.moc"
