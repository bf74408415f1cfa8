// Whole flows of a surveyor's day, driven through the real windows with typed keys
// and mouse clicks, each step checked against what the database holds.
#include "EntornoPrueba.h"
#include "Ficheros.h"
#include "MensajesGrabados.h"
#include "Pulsaciones.h"
#include "app/Arranque.h"
#include "controls/BarraFiles.h"
#include "core/ArchivoIni.h"
#include "core/Globales.h"
#include "core/Parametros.h"
#include "core/frmArranque.h"
#include "fieldbook/frmPuntos.h"
#include "informe/frmListados.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "works/frmFicha.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <memory>

using namespace corvela;
using pruebas::ClicBarra;
using pruebas::ElegirEnMenu;
using pruebas::PulsarFila;

namespace {

enum Boton { Nueva, Abrir, Guardar, Buscar, Imprimir, Borrar, Limpiar };
enum CampoObra { Codigo = 0, Propietario = 1, Poblacion = 3, Provincia = 4, Descripcion = 10 };
enum CampoPunto { kPunto, kResena, kMedia, kSuperior, kInferior, kHz, kV, kDist, kX, kY, kZ };
enum EntradaMenuEstacion { VerPuntos = 0, SalirDelMenu = 3 };
enum EntradaMenuPunto { InsertarLinea = 0, RenumerarLineas = 1, BorrarLinea = 2 };

// The first row of a query on the program's own connection, one value a column.
QVariantList Fila(const QString& sql, const QVariantList& valores = {})
{
    QSqlQuery q(BaseDatos());
    q.prepare(sql);
    for (const QVariant& v : valores)
        q.addBindValue(v);
    QVariantList fila;
    if (q.exec() && q.next()) {
        for (int i = 0; i < q.record().count(); ++i)
            fila << q.value(i);
    }
    return fila;
}

QVariant Valor(const QString& sql, const QVariantList& valores = {})
{
    const QVariantList fila = Fila(sql, valores);
    return fila.isEmpty() ? QVariant() : fila.first();
}

QList<int> CodigosPuntos(int obra, int estacion)
{
    QSqlQuery q(BaseDatos());
    q.prepare(QStringLiteral("SELECT CODPUNTO FROM B_PUNTOS WHERE CODOBRA = ? AND CODEST = ? ORDER BY CODPUNTO"));
    q.addBindValue(obra);
    q.addBindValue(estacion);
    QList<int> codigos;
    if (q.exec()) {
        while (q.next())
            codigos << q.value(0).toInt();
    }
    return codigos;
}

// The numbers stored for a point: readings, angles, distance and X, Y, Z.
QVector<double> NumerosPunto(int obra, int estacion, int punto)
{
    QVector<double> numeros;
    for (const QVariant& v : Fila(QStringLiteral("SELECT LECTMED, LECTSUP, LECTINF, ANGHOR, ANGVER, DISTAN, CC1, CC2, "
                                                 "CC3 FROM B_PUNTOS WHERE CODOBRA = ? AND CODEST = ? AND CODPUNTO = ?"),
                                  {obra, estacion, punto}))
        numeros << v.toDouble();
    return numeros;
}

bool Cerca(const QVector<double>& obtenidos, const QVector<double>& esperados)
{
    if (obtenidos.size() != esperados.size())
        return false;
    for (int i = 0; i < esperados.size(); ++i) {
        if (std::abs(obtenidos[i] - esperados[i]) > 1e-9)
            return false;
    }
    return true;
}

QString Texto(const QVector<double>& numeros)
{
    QStringList textos;
    for (double n : numeros)
        textos << QString::number(n, 'g', 15);
    return textos.join(u' ');
}

void Teclear(QLineEdit* campo, const QString& texto)
{
    campo->setFocus();
    campo->selectAll();
    pruebas::TeclasDe(campo, texto);
}

// Types a field and leaves it with Tab, as the surveyor moves along the entry row.
void Rellenar(QLineEdit* campo, const QString& texto)
{
    Teclear(campo, texto);
    QTest::keyClick(campo, Qt::Key_Tab);
}

void TeclearEstacion(frmFicha* f, const QStringList& textos)
{
    for (int i = 0; i < textos.size(); ++i)
        Teclear(f->Text1[i], textos[i]);
    QTest::mouseClick(f->Command2[1], Qt::LeftButton);
}

void TeclearPunto(frmPuntos* l, const QList<std::pair<int, QString>>& campos)
{
    for (const auto& [campo, texto] : campos)
        Rellenar(l->Text1(campo), texto);
}

QString Decimales()
{
    return ArchivoIni::Leer(FicheroIni, QStringLiteral("PARAMETROS"), QStringLiteral("Decimales"));
}

bool NombraEspanol(const QByteArray& valor)
{
    return valor.startsWith("es_ES");
}

} // namespace

class TstAceptacion : public QObject
{
    Q_OBJECT

    std::unique_ptr<pruebas::EntornoPrueba> entorno;
    std::unique_ptr<pruebas::MensajesGrabados> mensajes;
    QPointer<frmFicha> ficha;

    // The works card in its search state, active so that focus and typing behave as on a desktop.
    frmFicha* AbrirFicha()
    {
        ficha = frmFicha::Instancia();
        ficha->show();
        if (!QTest::qWaitForWindowActive(ficha))
            QTest::qFail("la ficha no se activa", __FILE__, __LINE__);
        return ficha;
    }

    // Finds the works matching the typed criteria; the card then shows the first of them.
    void BuscarObra(int campo, const QString& criterio)
    {
        ClicBarra(ficha->BarraFiles1, Limpiar);
        Teclear(ficha->txtFields[campo], criterio);
        ClicBarra(ficha->BarraFiles1, Buscar);
    }

    // Whether the criterion finds work 6 alone, shown on the card.
    bool Encontrada(int campo, const QString& criterio)
    {
        BuscarObra(campo, criterio);
        return ficha->txtFields[Codigo]->text() == QStringLiteral("6") && ficha->GesTablas.RS &&
               ficha->GesTablas.RS->RecordCount() == 1 &&
               ficha->txtFields[Propietario]->text() == QStringLiteral("Muñoz O'Brien");
    }

    // Right click on a station of the list, then the chosen entry of its pop-up menu.
    bool MenuEstacion(int fila, int entrada)
    {
        PulsarFila(ficha->ListView1, fila, Qt::RightButton);
        return ElegirEnMenu(ficha->Menu2, ficha->m2[entrada]);
    }

    // The program started as the user starts it, on the test's database as the
    // settings name it; the card once the splash window hands over to it.
    frmFicha* Arrancar()
    {
        CerrarBaseDatos();
        if (!Main(entorno->Carpeta(), qEnvironmentVariable("CORVELA_RECURSOS")))
            return nullptr;
        if (!QTest::qWaitFor([] { return FichaMostrada() != nullptr; }, 10000))
            return nullptr;
        ficha = FichaMostrada();
        return QTest::qWaitForWindowActive(ficha) ? ficha.data() : nullptr;
    }

    static frmFicha* FichaMostrada()
    {
        for (QWidget* ventana : QApplication::topLevelWidgets()) {
            if (auto* f = qobject_cast<frmFicha*>(ventana); f && f->isVisible())
                return f;
        }
        return nullptr;
    }

    void Terminar()
    {
        if (frmArranque::Existe())
            frmArranque::Instancia()->close();
        if (ficha)
            ficha->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CerrarBaseDatos();
    }

    frmPuntos* LibretaDeEstacion(int fila)
    {
        if (!MenuEstacion(fila, VerPuntos) || !frmPuntos::Existe())
            return nullptr;
        frmPuntos* libreta = frmPuntos::Instancia();
        return QTest::qWaitForWindowActive(libreta) ? libreta : nullptr;
    }

private slots:
    void initTestCase()
    {
        // The first locale variable set decides LC_NUMERIC, as the C library reads them.
        QByteArray nombrado = qgetenv("LC_ALL");
        if (nombrado.isEmpty())
            nombrado = qgetenv("LC_NUMERIC");
        if (nombrado.isEmpty())
            nombrado = qgetenv("LANG");
        if (!NombraEspanol(nombrado))
            return;
        std::setlocale(LC_ALL, "");
        const char* activo = std::setlocale(LC_NUMERIC, nullptr);
        char formateado[16];
        std::snprintf(formateado, sizeof formateado, "%.1f", 1.5);
        QVERIFY2(activo && NombraEspanol(activo),
                 qPrintable(QStringLiteral("se pidió %1 pero LC_NUMERIC es %2: ¿está instalada la configuración "
                                           "regional?")
                                .arg(QString::fromLocal8Bit(nombrado), QString::fromLocal8Bit(activo))));
        QCOMPARE(QByteArray(formateado), QByteArray("1,5"));
    }

    void init()
    {
        entorno = std::make_unique<pruebas::EntornoPrueba>();
        mensajes = std::make_unique<pruebas::MensajesGrabados>();
    }

    void cleanup()
    {
        if (frmPuntos::Existe())
            frmPuntos::Instancia()->close();
        if (frmListados::Existe())
            frmListados::Instancia()->close();
        if (ficha)
            ficha->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        mensajes.reset();
        entorno.reset();
    }

    void altaBusquedaYEstaciones()
    {
        frmFicha* f = AbrirFicha();
        pruebas::InsertarObra(5, QStringLiteral("Pérez Ávila"));

        ClicBarra(f->BarraFiles1, Nueva);
        Teclear(f->txtFields[Descripcion], QStringLiteral("Deslinde de la finca"));
        Teclear(f->txtFields[Propietario], QStringLiteral("Muñoz O'Brien"));
        Teclear(f->txtFields[Poblacion], QStringLiteral("Ávila"));
        Teclear(f->txtFields[Provincia], QStringLiteral("Ávila"));
        mensajes->Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(mensajes->UltimoTexto(), QStringLiteral("El Registro ha sido añadido"));
        QCOMPARE(Fila(QStringLiteral("SELECT PROPIETARIO, POBLACION, PROVINCIA, DESCOBRA FROM B_OBRAS "
                                     "WHERE CODOBRA = 6")),
                 (QVariantList{QStringLiteral("Muñoz O'Brien"), QStringLiteral("Ávila"), QStringLiteral("Ávila"),
                               QStringLiteral("Deslinde de la finca")}));

        const QList<std::pair<int, QString>> criterios = {{Propietario, QStringLiteral("muñ*")},
                                                          {Propietario, QStringLiteral("m?ñoz o'b")},
                                                          {Descripcion, QStringLiteral("*FINCA")}};
        for (const auto& [campo, criterio] : criterios)
            QVERIFY2(Encontrada(campo, criterio), qPrintable(criterio));

        // Opened, it takes three stations typed with decimal commas.
        ClicBarra(f->BarraFiles1, Abrir);
        QVERIFY(f->Text1[0]->isEnabled());
        TeclearEstacion(f, {QStringLiteral("Base Ñ-1"), QStringLiteral("12/03/2024"), QStringLiteral("1,55"),
                            QStringLiteral("1000"), QStringLiteral("2000"), QStringLiteral("100")});
        TeclearEstacion(f, {QStringLiteral("Base 2"), QString(), QStringLiteral("1,5"), QStringLiteral("1000,25"),
                            QStringLiteral("2000,5"), QStringLiteral("99,75")});
        TeclearEstacion(f, {QStringLiteral("Base 'C'"), QStringLiteral("13/03/2024"), QStringLiteral("1.6"),
                            QStringLiteral("999,125"), QStringLiteral("0,5"), QStringLiteral("0")});
        QCOMPARE(f->ListView1->model()->rowCount(), 3);
        const QString estacion = QStringLiteral("SELECT DESCEST, FECHA, ALTAPAR, COORDX, COORDY, COORDZ "
                                                "FROM B_ESTACIONES WHERE CODOBRA = 6 AND CODEST = ?");
        QCOMPARE(Fila(estacion, {1}),
                 (QVariantList{QStringLiteral("Base Ñ-1"), QStringLiteral("12/03/2024"), 1.55, 1000.0, 2000.0, 100.0}));
        QCOMPARE(Fila(estacion, {2}), (QVariantList{QStringLiteral("Base 2"), QString(), 1.5, 1000.25, 2000.5, 99.75}));
        QCOMPARE(Fila(estacion, {3}),
                 (QVariantList{QStringLiteral("Base 'C'"), QStringLiteral("13/03/2024"), 1.6, 999.125, 0.5, 0.0}));
        QCOMPARE(f->ListView1->model()->index(1, 5).data().toString(), QStringLiteral("1000,250"));
        QCOMPARE(Valor(QStringLiteral("SELECT COUNT(*) FROM B_OBRAS WHERE CODOBRA = 5")).toInt(), 1);

        // Found again with its letters in another case, accented ones included, with its stations.
        for (const auto& [campo, criterio] :
             {std::pair{Propietario, QStringLiteral("MUÑOZ")}, std::pair{Poblacion, QStringLiteral("ávila")}}) {
            QVERIFY2(Encontrada(campo, criterio), qPrintable(criterio));
            QCOMPARE(f->ListView1->model()->rowCount(), 3);
        }
        QVERIFY(mensajes->SinRespuestasPendientes());
    }

    void libretaDeCampoGuionEImpresion()
    {
        EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, PROPIETARIO, DESCOBRA) VALUES (7, ?, ?)"),
                       {QStringLiteral("Muñoz O'Brien"), QStringLiteral("Finca Ávila")});
        const QString estacion =
            QStringLiteral("INSERT INTO B_ESTACIONES VALUES (7, ?, ?, '12/03/2024', ?, 1000, 2000, 100)");
        EjecutarAccion(estacion, {1, QStringLiteral("Norte"), 1.55});
        EjecutarAccion(estacion, {2, QStringLiteral("Sur"), 1.5});
        frmFicha* f = AbrirFicha();
        BuscarObra(Codigo, QStringLiteral("7"));
        QCOMPARE(f->ListView1->model()->rowCount(), 2);

        // Worked example: station height 1,55 at 1000, 2000, 100; the wires agree, no question.
        frmPuntos* l = LibretaDeEstacion(0);
        QVERIFY(l);
        TeclearPunto(l, {{kResena, QStringLiteral("muro")},
                         {kMedia, QStringLiteral("1,500")},
                         {kSuperior, QStringLiteral("1,850")},
                         {kInferior, QStringLiteral("1,150")},
                         {kHz, QStringLiteral("50")},
                         {kV, QStringLiteral("95")}});
        QCOMPARE(l->Text1(kDist)->text(), QStringLiteral("69,57"));
        QTest::mouseClick(l->Command1(1), Qt::LeftButton);
        QVERIFY(mensajes->Mensajes().isEmpty());
        const QVector<double> muro = {
            1.5, 1.85, 1.15, 50, 95, 69.57, 1049.19341876715, 2049.19341876715, 105.525277743789};
        QVERIFY2(Cerca(NumerosPunto(7, 1, 1), muro), qPrintable(Texto(NumerosPunto(7, 1, 1))));

        // A middle reading that is not the mean of the wires: "No" takes the mean.
        mensajes->Responder(Respuesta::No);
        TeclearPunto(l, {{kResena, QStringLiteral("poste")},
                         {kMedia, QStringLiteral("1,5")},
                         {kSuperior, QStringLiteral("1,600")},
                         {kInferior, QStringLiteral("1,400")}});
        QCOMPARE(mensajes->Mensajes().size(), 1);
        QCOMPARE(mensajes->Mensajes().first().icono, Icono::Pregunta);
        QVERIFY(mensajes->UltimoTexto().contains(QStringLiteral("Introducido:\t1,5\r\nCalculado:\t1,500")));
        QCOMPARE(l->Text1(kMedia)->text(), QStringLiteral("1,500"));
        TeclearPunto(l, {{kHz, QStringLiteral("0")}, {kV, QStringLiteral("100")}});
        QTest::mouseClick(l->Command1(1), Qt::LeftButton);
        QCOMPARE(mensajes->Mensajes().size(), 1);
        QVERIFY2(Cerca(NumerosPunto(7, 1, 2), {1.5, 1.6, 1.4, 0, 100, 20, 1000, 2020, 100.05}),
                 qPrintable(Texto(NumerosPunto(7, 1, 2))));

        // Copying line 1 onto line 2, then opening a line at 2, deleting it and renumbering.
        PulsarFila(l->ListView1(), 0);
        Teclear(l->Text1(kResena), QStringLiteral("muro2"));
        Teclear(l->Text1(kPunto), QStringLiteral("2"));
        mensajes->Responder(Respuesta::Si);
        QTest::mouseClick(l->Command1(1), Qt::LeftButton);
        QCOMPARE(mensajes->UltimoTexto(),
                 QStringLiteral("Va a copiar el contenido de la linea 1 a la linea 2\r\n\r\n¿Está Vd. Seguro?"));
        QCOMPARE(Valor(QStringLiteral("SELECT RESENA FROM B_PUNTOS WHERE CODOBRA = 7 AND CODPUNTO = 2")).toString(),
                 QStringLiteral("muro2"));
        QVERIFY(Cerca(NumerosPunto(7, 1, 2), muro));
        QCOMPARE(Valor(QStringLiteral("SELECT RESENA FROM B_PUNTOS WHERE CODOBRA = 7 AND CODPUNTO = 1")).toString(),
                 QStringLiteral("muro"));

        PulsarFila(l->ListView1(), 1, Qt::RightButton);
        QVERIFY(ElegirEnMenu(l->Menu1(), l->m1(InsertarLinea)));
        QCOMPARE(CodigosPuntos(7, 1), (QList<int>{1, 2, 3}));
        QCOMPARE(Fila(QStringLiteral("SELECT RESENA, LECTMED FROM B_PUNTOS WHERE CODOBRA = 7 AND CODPUNTO = 2")),
                 (QVariantList{QString(), 0.0}));
        QVERIFY(Cerca(NumerosPunto(7, 1, 3), muro));
        PulsarFila(l->ListView1(), 1, Qt::RightButton);
        mensajes->Responder(Respuesta::Si);
        QVERIFY(ElegirEnMenu(l->Menu1(), l->m1(BorrarLinea)));
        QCOMPARE(mensajes->UltimoTexto(), QStringLiteral("¿Eliminar el PUNTO 2?"));
        QCOMPARE(CodigosPuntos(7, 1), (QList<int>{1, 3}));
        PulsarFila(l->ListView1(), 0, Qt::RightButton);
        QVERIFY(ElegirEnMenu(l->Menu1(), l->m1(RenumerarLineas)));
        QCOMPARE(CodigosPuntos(7, 1), (QList<int>{1, 2}));
        QCOMPARE(Valor(QStringLiteral("SELECT RESENA FROM B_PUNTOS WHERE CODOBRA = 7 AND CODPUNTO = 2")).toString(),
                 QStringLiteral("muro2"));

        // Worked example on the second station, height 1,5: a level sight.
        QVERIFY(ficha->isVisible());
        QCOMPARE(LibretaDeEstacion(1), l);
        QCOMPARE(l->ListView1()->model()->rowCount(), 0);
        TeclearPunto(l, {{kResena, QStringLiteral("eje")},
                         {kMedia, QStringLiteral("1,500")},
                         {kSuperior, QStringLiteral("1,600")},
                         {kInferior, QStringLiteral("1,400")},
                         {kHz, QStringLiteral("0")},
                         {kV, QStringLiteral("100")}});
        QCOMPARE(l->Text1(kDist)->text(), QStringLiteral("20,0"));
        QTest::mouseClick(l->Command1(1), Qt::LeftButton);
        QVERIFY2(Cerca(NumerosPunto(7, 2, 1), {1.5, 1.6, 1.4, 0, 100, 20, 1000, 2020, 100}),
                 qPrintable(Texto(NumerosPunto(7, 2, 1))));
        QTest::mouseClick(l->Command3(), Qt::LeftButton);
        QTRY_VERIFY(!frmPuntos::Existe());

        // Two decimals from now on: the setting, the list, the script.
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        Teclear(f->Text2, QStringLiteral("2"));
        QCOMPARE(Decimales(), QStringLiteral("2"));
        QCOMPARE(f->ListView1->model()->index(0, 4).data().toString(), QStringLiteral("1,55"));

        pruebas::EscribirFichero(entorno->Ruta(QStringLiteral("ScriptAutoCad.Ini")),
                                 QStringLiteral("H %NombreDibujo% %LIMITE_MINIMO% %LIMITE_MAX%\r\n"
                                                "[P %CoorX% %CoorY% %CoorZ% %RESEÑA%]\r\nF")
                                     .toLatin1());
        mensajes->Teclear(QStringLiteral("0,5"));
        mensajes->Teclear(QStringLiteral("finca"));
        mensajes->Responder(Respuesta::Aceptar);
        QTest::mouseClick(f->Command1[3], Qt::LeftButton);
        QVERIFY(mensajes->UltimoTexto().startsWith(QStringLiteral("Ejecute desde Autocad el 'SCRIPT':")));
        QCOMPARE(pruebas::LeerFichero(entorno->Ruta(QStringLiteral("SCRIPT.SCR"))),
                 QByteArray("H finca 1000,2020 1049.19341876715,2049.19341876715\r\n"
                            "P 1049.19 2049.19 105.53 1/1/muro\r\n"
                            "P 1049.19 2049.19 105.53 1/2/muro2\r\n"
                            "P 1000.00 2020.00 100.00 2/1/eje\r\nF\r\n"));

        // The printed field book, saved as a PDF from the report window's toolbar.
        ClicBarra(f->BarraFiles1, Imprimir);
        QTRY_VERIFY(frmListados::Existe());
        frmListados* listado = frmListados::Instancia();
        auto* guardar = listado->findChild<QAction*>(QStringLiteral("GuardarPdf"));
        QVERIFY(guardar);
        const QString pdf = entorno->Ruta(QStringLiteral("libreta.pdf"));
        mensajes->ElegirRuta(pdf);
        QTest::mouseClick(listado->findChild<QToolBar*>()->widgetForAction(guardar), Qt::LeftButton);
        const QByteArray bytes = pruebas::LeerFichero(pdf);
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.size() > 1000);
        QVERIFY(mensajes->SinRespuestasPendientes());
    }

    void estacionNuevaTrasElMenu_data()
    {
        QTest::addColumn<int>("entrada");
        QTest::newRow("Ver Puntos") << int(VerPuntos);
        QTest::newRow("Salir") << int(SalirDelMenu);
    }

    void estacionNuevaTrasElMenu()
    {
        QFETCH(int, entrada);
        EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, DESCOBRA) VALUES (4, 'Linde')"));
        EjecutarAccion(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (4, 1, 'Base A', '', 1.55, 10, 20, 30)"));
        EjecutarAccion(
            QStringLiteral("INSERT INTO B_PUNTOS (CODPUNTO, RESENA, CODOBRA, CODEST) VALUES (1, 'hito', 4, 1)"));
        frmFicha* f = AbrirFicha();
        BuscarObra(Codigo, QStringLiteral("4"));
        ClicBarra(f->BarraFiles1, Abrir);
        QVERIFY(MenuEstacion(0, entrada));
        if (entrada == VerPuntos) {
            QTRY_VERIFY(frmPuntos::Existe());
            QTest::mouseClick(frmPuntos::Instancia()->Command3(), Qt::LeftButton);
            QTRY_VERIFY(!frmPuntos::Existe());
            f->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(f));
        }
        QVERIFY(f->Text1[0]->text().isEmpty());

        // The editor is empty: what is typed there is a new station.
        TeclearEstacion(f, {QStringLiteral("Base B"), QString(), QStringLiteral("1,5")});
        const QString estacion = QStringLiteral("SELECT DESCEST, ALTAPAR, COORDX IS NULL FROM B_ESTACIONES "
                                                "WHERE CODOBRA = 4 AND CODEST = ?");
        QCOMPARE(Fila(estacion, {1}), (QVariantList{QStringLiteral("Base A"), 1.55, 0}));
        QCOMPARE(Fila(estacion, {2}), (QVariantList{QStringLiteral("Base B"), 1.5, 1}));
        QCOMPARE(CodigosPuntos(4, 1), QList<int>{1});
        QCOMPARE(f->ListView1->model()->rowCount(), 2);
    }

    void obrasDeCincoCifras()
    {
        const QString obra = QStringLiteral("SELECT PROPIETARIO, DESCOBRA FROM B_OBRAS WHERE CODOBRA = ?");
        const QVariantList mil = {QStringLiteral("Cliente mil"), QStringLiteral("Obra mil")};
        EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, PROPIETARIO, DESCOBRA) VALUES (?, ?, ?)"),
                       {1000, mil[0], mil[1]});
        EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, PROPIETARIO, DESCOBRA) VALUES (?, ?, ?)"),
                       {10000, QStringLiteral("Cliente diez mil"), QStringLiteral("Obra diez mil")});
        frmFicha* f = AbrirFicha();

        BuscarObra(Propietario, QStringLiteral("Cliente diez"));
        QCOMPARE(f->txtFields[Codigo]->text(), QStringLiteral("10000"));
        ClicBarra(f->BarraFiles1, Abrir);
        Teclear(f->txtFields[Descripcion], QStringLiteral("Obra diez mil, revisada"));
        mensajes->Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(mensajes->UltimoTexto(), QStringLiteral("El Registro ha sido modificado"));
        QCOMPARE(Fila(obra, {10000}),
                 (QVariantList{QStringLiteral("Cliente diez mil"), QStringLiteral("Obra diez mil, revisada")}));
        QCOMPARE(Fila(obra, {1000}), mil);

        ClicBarra(f->BarraFiles1, Abrir);
        mensajes->Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Borrar);
        QCOMPARE(mensajes->UltimoTexto(), QStringLiteral("¿Desea borrar el registro?"));
        QCOMPARE(Valor(QStringLiteral("SELECT COUNT(*) FROM B_OBRAS WHERE CODOBRA = 10000")).toInt(), 0);
        QCOMPARE(Fila(obra, {1000}), mil);

        // After 9999 the next work is 10000, whole.
        pruebas::InsertarObra(9999, QStringLiteral("Cliente 9999"));
        ClicBarra(f->BarraFiles1, Limpiar);
        ClicBarra(f->BarraFiles1, Nueva);
        Teclear(f->txtFields[Propietario], QStringLiteral("Cliente nuevo"));
        mensajes->Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(mensajes->UltimoTexto(), QStringLiteral("El Registro ha sido añadido"));
        QCOMPARE(Valor(QStringLiteral("SELECT PROPIETARIO FROM B_OBRAS WHERE CODOBRA = 10000")).toString(),
                 QStringLiteral("Cliente nuevo"));
        QCOMPARE(Fila(obra, {1000}), mil);
        QVERIFY(mensajes->SinRespuestasPendientes());
    }

    // A work typed and saved in the whole program is there when it starts again,
    // on the file or on the server the settings name; the card says which server.
    void guardadaYVueltaAArrancar()
    {
        if (pruebas::EnServidor()) {
            QVERIFY(GrabarParametro(QStringLiteral("MotorBD"), QStringLiteral("PostgreSQL")));
            QVERIFY(GrabarParametro(QStringLiteral("BaseBD"), entorno->Destino().base));
        }
        pruebas::InsertarObra(1, QStringLiteral("Cliente anterior"));
        frmFicha* f = Arrancar();
        QVERIFY(f);
        QCOMPARE(f->lblBaseDatos->isVisible(), pruebas::EnServidor());
        ClicBarra(f->BarraFiles1, Nueva);
        Teclear(f->txtFields[Propietario], QStringLiteral("Ibáñez Núñez"));
        Teclear(f->txtFields[Descripcion], QStringLiteral("Replanteo 'norte'"));
        mensajes->Responder(Respuesta::Aceptar);
        ClicBarra(f->BarraFiles1, Guardar);
        QCOMPARE(mensajes->UltimoTexto(), QStringLiteral("El Registro ha sido añadido"));
        Terminar();

        f = Arrancar();
        QVERIFY(f);
        BuscarObra(Propietario, QStringLiteral("IBÁÑEZ*"));
        QCOMPARE(f->txtFields[Codigo]->text(), QStringLiteral("2"));
        QCOMPARE(f->txtFields[Descripcion]->text(), QStringLiteral("Replanteo 'norte'"));
        QCOMPARE(Fila(QStringLiteral("SELECT PROPIETARIO, DESCOBRA FROM B_OBRAS WHERE CODOBRA = 2")),
                 (QVariantList{QStringLiteral("Ibáñez Núñez"), QStringLiteral("Replanteo 'norte'")}));
        QCOMPARE(DescripcionBaseDatos(), entorno->Destino().Descripcion());
        QVERIFY(mensajes->SinRespuestasPendientes());
        Terminar();
    }

    void decimalesAlArrancarYTrasBuscar()
    {
        QVERIFY(!QFile::exists(FicheroIni));
        frmFicha* f = AbrirFicha();
        QCOMPARE(f->Text2->text(), QStringLiteral("3"));
        QCOMPARE(NumDecimales, 3);

        // A key typed after a search, wherever the focus went, leaves the setting alone.
        pruebas::InsertarObra(1, QStringLiteral("Cliente"));
        BuscarObra(Propietario, QStringLiteral("Cli"));
        QCOMPARE(f->txtFields[Codigo]->text(), QStringLiteral("1"));
        QWidget* foco = QApplication::focusWidget() ? QApplication::focusWidget() : f;
        QTest::keyClick(foco, Qt::Key_Backspace);
        QTest::keyClick(foco, Qt::Key_7);
        QCOMPARE(f->Text2->text(), QStringLiteral("3"));
        QCOMPARE(NumDecimales, 3);
        QVERIFY(Decimales() != QStringLiteral("7"));
    }
};

QTEST_MAIN(TstAceptacion)
#include "tst_Aceptacion.moc"
