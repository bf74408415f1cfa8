#include "EntornoPrueba.h"
#include "LibretaPrueba.h"
#include "MensajesGrabados.h"
#include "core/Globales.h"
#include "fieldbook/PuntosEstacion.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/DestinoDatos.h"
#include "records/ErrorDatos.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cstdio>

// Two instances of the program on one database, a file or a server's. The other
// instance is this same program started again as a child process, with
// CORVELA_HIJO naming what it does, CORVELA_HIJO_BD its database and
// CORVELA_HIJO_CARPETA its data folder.
using namespace corvela;

namespace {

constexpr int kObra = 3;
constexpr int kEstacion = 2;
const char* const kModoHijo = "CORVELA_HIJO";
const char* const kBaseHijo = "CORVELA_HIJO_BD";
const char* const kCarpetaHijo = "CORVELA_HIJO_CARPETA";
// How long each instance keeps adding points in the race, at most.
constexpr int kDuracionCarreraMs = 3000;
constexpr int kPasosCarrera = 3000;

// A moment between two steps of the race: SQLite's waiting writers look for the
// lock now and then, and a writer that never paused would keep it to itself.
void Respirar()
{
    QThread::msleep(1);
}

PuntosEstacion Estacion()
{
    return PuntosEstacion(kObra, kEstacion);
}

QVector<Punto> Tabla()
{
    return Estacion().Leer().value_or(QVector<Punto>());
}

void Escribir(const char* linea)
{
    std::fputs(linea, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// ---- The other instance ----------------------------------------------------

// The child shows no dialog: whatever it would ask goes to its error output.
class MensajesHijo : public Mensajes
{
public:
    Respuesta MsgBox(const QString& texto, Icono, Botones botones) override
    {
        std::fputs(qPrintable(texto + u'\n'), stderr);
        return botones == Botones::SiNo ? Respuesta::No : Respuesta::Cancelar;
    }
    std::optional<QString> InputBox(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> PedirContrasena(const QString&) override { return std::nullopt; }
    std::optional<QString> ElegirFichero(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> ElegirCarpeta(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> GuardarFichero(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    bool ElegirImpresora(QPrinter&) override { return false; }
};

const Punto* PuntoDeCodigo(const QVector<Punto>& puntos, int codigo)
{
    const auto it =
        std::find_if(puntos.cbegin(), puntos.cend(), [codigo](const Punto& p) { return p.Codigo == codigo; });
    return it == puntos.cend() ? nullptr : &*it;
}

// Step i of the endless edit of the station: open a line at point 2, type into
// that blank point, delete point 1, renumber. Each step acts on the points as
// just read, as the field book acts on its list.
bool DarPaso(int i, const QVector<Punto>& puntos)
{
    const Punto* dos = PuntoDeCodigo(puntos, 2);
    const Punto* uno = PuntoDeCodigo(puntos, 1);
    switch (i % 4) {
    case 0:
        return dos && Estacion().AbrirLinea(*dos).has_value();
    case 1: {
        if (!dos)
            return false;
        Punto escrito = *dos;
        escrito.Resena = QStringLiteral("b%1").arg(i);
        return Estacion().Actualizar(escrito, *dos);
    }
    case 2:
        return uno && Estacion().Borrar(*uno);
    default:
        return Estacion().Renumerar().has_value();
    }
}

int EditarSinFin()
{
    for (int i = 0;; ++i) {
        const auto puntos = Estacion().Leer();
        if (!puntos || !DarPaso(i, *puntos)) {
            Escribir(qPrintable(QStringLiteral("fallo %1: ").arg(i) + ErrorPendiente().Descripcion));
            return 1;
        }
        Escribir(qPrintable(QStringLiteral("hecho %1").arg(i)));
    }
}

// Opens lines, deletes and renumbers while the test adds points, reloading the
// points after each step as the field book does; counts what failed.
int Competir()
{
    int fallos = 0;
    for (int i = 0; i < 30; ++i) {
        const auto puntos = Estacion().Leer();
        const bool abrir = i % 3 == 0;
        const bool borrar = i % 3 == 1;
        bool hecho = false;
        if (!puntos) {
            hecho = false;
        } else if (abrir) {
            hecho = Estacion().AbrirLinea(*PuntoDeCodigo(*puntos, 2)).has_value();
            if (hecho)
                Escribir("linea");
        } else if (borrar) {
            hecho = Estacion().Borrar(*PuntoDeCodigo(*puntos, 1));
            if (hecho)
                Escribir(qPrintable(QStringLiteral("borrado ") + PuntoDeCodigo(*puntos, 1)->Resena));
        } else {
            hecho = Estacion().Renumerar().has_value();
        }
        if (!hecho) {
            ++fallos;
            std::fputs(qPrintable(ErrorPendiente().Descripcion + u'\n'), stderr);
            LimpiarError();
        }
    }
    Escribir(qPrintable(QStringLiteral("fallos %1").arg(fallos)));
    return 0;
}

// Adds points to the station for a while, each with a tag of its own in its
// notes; then tells every point it was told was saved: its code then and its tag.
int Insertar()
{
    QStringList guardados;
    QDeadlineTimer plazo(kDuracionCarreraMs);
    for (int i = 0; i < kPasosCarrera && !plazo.hasExpired(); ++i) {
        Punto punto;
        punto.Resena = QStringLiteral("h%1").arg(i);
        punto.Notas = QStringLiteral("hijo-%1").arg(i);
        if (!Estacion().InsertarSiguiente(punto)) {
            Escribir(qPrintable(QStringLiteral("fallo %1: ").arg(i) + ErrorPendiente().Descripcion));
            return 1;
        }
        guardados << QStringLiteral("guardado %1 %2").arg(punto.Codigo).arg(punto.Notas);
        Respirar();
    }
    // Written at the end, so that a full pipe never holds the race back.
    for (const QString& linea : std::as_const(guardados))
        Escribir(qPrintable(linea));
    return 0;
}

// The database the test named: a server's address, or else the path of the file.
std::optional<DestinoDatos> DestinoHijo()
{
    const QString texto = qEnvironmentVariable(kBaseHijo);
    DestinoDatos archivo;
    archivo.ruta = texto;
    if (!texto.startsWith(QLatin1String("postgresql:")))
        return archivo;
    QString motivo;
    return DestinoSegunTexto(texto, QString(), motivo);
}

int Hijo(int argc, char** argv)
{
    QCoreApplication aplicacion(argc, argv);
    MensajesHijo mensajes;
    InstalarDialogos(&mensajes);
    IniciarGlobales(qEnvironmentVariable(kCarpetaHijo), QString());
    const std::optional<DestinoDatos> destino = DestinoHijo();
    if (!destino || AbrirBaseDatos(*destino) != Apertura::Abierta)
        return 2;
    Escribir("listo");
    const QString modo = qEnvironmentVariable(kModoHijo);
    if (modo == QLatin1String("renumerar"))
        return Estacion().Renumerar() ? 0 : 1;
    if (modo == QLatin1String("editar"))
        return EditarSinFin();
    if (modo == QLatin1String("insertar"))
        return Insertar();
    return Competir();
}

// ---- The test's side ---------------------------------------------------------

// The other instance, started on the test's database and ready to work.
class OtroPuesto
{
public:
    OtroPuesto(const QString& modo, const pruebas::EntornoPrueba& prueba)
    {
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(QString::fromLatin1(kModoHijo), modo);
        entorno.insert(QString::fromLatin1(kBaseHijo), prueba.TextoDestino());
        entorno.insert(QString::fromLatin1(kCarpetaHijo), prueba.Carpeta());
        proceso.setProcessEnvironment(entorno);
        proceso.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proceso.start(QCoreApplication::applicationFilePath(), QStringList());
        while (!salida.contains("listo\n") && proceso.waitForReadyRead(10000))
            salida += proceso.readAllStandardOutput();
    }
    ~OtroPuesto()
    {
        proceso.kill();
        proceso.waitForFinished();
    }
    bool Listo() const { return salida.contains("listo\n"); }
    // Its output lines once it has ended.
    QStringList Terminar()
    {
        proceso.waitForFinished(30000);
        salida += proceso.readAllStandardOutput();
        return QString::fromUtf8(salida).split(u'\n', Qt::SkipEmptyParts);
    }

    QProcess proceso;
    QByteArray salida;
};

void CrearEstacion(int puntos)
{
    pruebas::InsertarEstacion(kObra, kEstacion);
    Transaccion transaccion;
    QSqlQuery q(BaseDatos());
    QVERIFY(q.prepare(QStringLiteral("INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, RESENA, ANGHOR, LECTMED, "
                                     "LECTSUP, LECTINF) VALUES (?, ?, ?, ?, ?, 1.5, 1.6, 1.4)")));
    for (int codigo = 1; codigo <= puntos; ++codigo) {
        q.addBindValue(kObra);
        q.addBindValue(kEstacion);
        q.addBindValue(codigo);
        q.addBindValue(QStringLiteral("p%1").arg(codigo, 5, 10, QChar(u'0')));
        q.addBindValue(codigo / 1000.0);
        QVERIFY(q.exec());
    }
    QVERIFY(transaccion.Confirmar());
}

// The station after step i, worked out apart from the database.
void Simular(QVector<Punto>& puntos, int i)
{
    switch (i % 4) {
    case 0: {
        const auto dos = std::find_if(puntos.begin(), puntos.end(), [](const Punto& p) { return p.Codigo == 2; });
        for (auto it = dos; it != puntos.end(); ++it)
            ++it->Codigo;
        Punto blanco;
        blanco.Codigo = 2;
        puntos.insert(dos, blanco);
        break;
    }
    case 1:
        puntos[1].Resena = QStringLiteral("b%1").arg(i);
        break;
    case 2:
        puntos.removeFirst();
        break;
    default:
        for (int k = 0; k < puntos.size(); ++k)
            puntos[k].Codigo = k + 1;
    }
}

bool Iguales(const QVector<Punto>& a, const QVector<Punto>& b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](const Punto& x, const Punto& y) {
        return x.Codigo == y.Codigo && x.Resena == y.Resena && x.Numeros == y.Numeros;
    });
}

// What one instance of the race was told: the points saved (tag -> code then,
// in the order saved) and, for this instance, each edit stored or refused.
struct Acuses
{
    QVector<QPair<QString, int>> guardados;
    // The last reseña stored for each tag; a refused edit changes nothing.
    QHash<QString, QString> editados;
    int rechazadas = 0;
    QStringList errores;
};

Acuses AcusesDelHijo(const QStringList& lineas)
{
    Acuses hijo;
    for (const QString& linea : lineas) {
        const QStringList partes = linea.split(u' ');
        if (partes.size() == 3 && partes[0] == QLatin1String("guardado"))
            hijo.guardados.append({partes[2], partes[1].toInt()});
        else
            hijo.errores << linea;
    }
    return hijo;
}

// This instance's side of the race: adds points, renumbers the station and
// edits points from a list it read some steps before, as a field book left open does.
Acuses Correr(QRandomGenerator& azar)
{
    Acuses yo;
    QVector<Punto> cargados = Tabla();
    QDeadlineTimer plazo(kDuracionCarreraMs);
    for (int i = 0; i < kPasosCarrera && !plazo.hasExpired(); ++i) {
        bool hecho = true;
        // A list read now and then: between two readings it goes stale.
        if (i % 20 == 0)
            cargados = Tabla();
        switch (i % 5) {
        case 0:
        case 1:
        case 3: {
            Punto punto;
            punto.Notas = QStringLiteral("padre-%1").arg(i);
            hecho = Estacion().InsertarSiguiente(punto);
            if (hecho)
                yo.guardados.append({punto.Notas, punto.Codigo});
            break;
        }
        case 2:
            hecho = Estacion().Renumerar().has_value();
            break;
        default: {
            // The first points, so that one is often edited twice from the same list.
            const Punto cargado = cargados[azar.bounded(std::min<int>(cargados.size(), 8))];
            Punto escrito = cargado;
            escrito.Resena = QStringLiteral("e%1").arg(i);
            hecho = Estacion().Actualizar(escrito, cargado);
            if (hecho) {
                yo.editados[cargado.Notas] = escrito.Resena;
            } else if (ErrorPendiente().Numero == kErrorRegistroCambiado) {
                ++yo.rechazadas;
                LimpiarError();
                hecho = true;
            }
        }
        }
        if (!hecho) {
            yo.errores << QStringLiteral("paso %1: ").arg(i) + ErrorPendiente().Descripcion;
            LimpiarError();
        }
        Respirar();
    }
    return yo;
}

// Each instance's points keep the order in which they were saved and never move
// up: renumbering only closes gaps.
void ComprobarOrden(const Acuses& acuses, const QHash<QString, int>& codigos)
{
    int anterior = 0;
    for (const auto& [etiqueta, codigoAlGuardar] : acuses.guardados) {
        const int codigo = codigos.value(etiqueta);
        QVERIFY2(codigo > anterior && codigo <= codigoAlGuardar, qPrintable(etiqueta));
        anterior = codigo;
    }
}

} // namespace

class TstConcurrencia : public QObject
{
    Q_OBJECT
private slots:
    // The other instance is killed at a random moment while it opens lines, saves,
    // deletes and renumbers on a station of 10,000 points. The database must stay
    // sound and show the station as it was before or after the step cut short.
    void muerteEnMitadDeUnPaso()
    {
        QRandomGenerator azar = pruebas::AzarSembrado();
        for (int intento = 0; intento < 5; ++intento) {
            pruebas::EntornoPrueba entorno;
            pruebas::MensajesGrabados mensajes;
            CrearEstacion(10000);
            const QVector<Punto> inicial = Tabla();

            OtroPuesto otro(QStringLiteral("editar"), entorno);
            QVERIFY(otro.Listo());
            QThread::msleep(azar.bounded(500));
            otro.proceso.kill();
            const QStringList lineas = otro.Terminar();
            int hechos = 0;
            for (const QString& linea : lineas) {
                QVERIFY2(!linea.startsWith(QStringLiteral("fallo")), qPrintable(linea));
                if (linea.startsWith(QStringLiteral("hecho ")))
                    hechos = linea.mid(6).toInt() + 1;
            }

            CerrarBaseDatos();
            QCOMPARE(AbrirBaseDatos(entorno.Destino()), Apertura::Abierta);
            // A server keeps its own files sound; the station's points are checked below on both.
            if (!pruebas::EnServidor())
                QCOMPARE(pruebas::Consultar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
            QCOMPARE(pruebas::Consultar(QStringLiteral("SELECT COUNT(*) FROM (SELECT CODPUNTO FROM B_PUNTOS GROUP BY "
                                                       "CODOBRA, CODEST, CODPUNTO HAVING COUNT(*) > 1) AS d"))
                         .toInt(),
                     0);
            QVector<Punto> antes = inicial;
            for (int i = 0; i < hechos; ++i)
                Simular(antes, i);
            QVector<Punto> despues = antes;
            Simular(despues, hechos);
            const QVector<Punto> tabla = Tabla();
            QVERIFY2(Iguales(tabla, antes) || Iguales(tabla, despues),
                     qPrintable(QStringLiteral("intento %1, %2 pasos hechos").arg(intento).arg(hechos)));
        }
    }

    // The stale edit: this instance loads point 10 and edits it; the other
    // renumbers, so that 10 is now another observation; "Grabar" must not touch it.
    void edicionSobreUnaLibretaRenumerada()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        CrearEstacion(12);
        QVERIFY(EjecutarAccion(QStringLiteral("DELETE FROM B_PUNTOS WHERE CODPUNTO = 5")));
        pruebas::LibretaPrueba l(kObra, kEstacion);
        l.pulsarFila(8);
        QCOMPARE(l.texto(0), QStringLiteral("10"));
        l.escribir(1, QStringLiteral("nuevo"));

        OtroPuesto otro(QStringLiteral("renumerar"), entorno);
        otro.Terminar();
        QCOMPARE(otro.proceso.exitCode(), 0);
        const QVector<Punto> renumerada = Tabla();
        QCOMPARE(renumerada[9].Resena, QStringLiteral("p00011"));

        mensajes.Responder(Respuesta::Aceptar);
        l.grabar();
        QCOMPARE(mensajes.Mensajes().size(), 1);
        QVERIFY(mensajes.UltimoTexto().startsWith(QStringLiteral("El PUNTO 10 ha cambiado")));
        QVERIFY(Iguales(Tabla(), renumerada));
        QCOMPARE(l.celda(9, 1), QStringLiteral("p00011"));
        QCOMPARE(l.texto(1), QStringLiteral("nuevo"));
    }

    // The other instance opens lines, deletes and renumbers while this one adds
    // points: nobody sees an error and no point is lost or doubled.
    void renumerarContraAltas()
    {
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        CrearEstacion(1000);
        QStringList esperadas;
        for (const Punto& p : Tabla())
            esperadas << p.Resena;
        pruebas::LibretaPrueba l(kObra, kEstacion);

        OtroPuesto otro(QStringLiteral("competir"), entorno);
        QVERIFY(otro.Listo());
        for (int n = 0; n < 300 && otro.proceso.state() != QProcess::NotRunning; ++n) {
            l.lecturas();
            l.escribir(1, QStringLiteral("n%1").arg(n));
            l.grabar();
            esperadas << QStringLiteral("n%1").arg(n);
            otro.proceso.waitForFinished(0);
        }
        const QStringList lineas = otro.Terminar();
        QVERIFY(lineas.contains(QStringLiteral("fallos 0")));
        for (const QString& linea : lineas) {
            if (linea == QLatin1String("linea"))
                esperadas << QString();
            else if (linea.startsWith(QStringLiteral("borrado ")))
                esperadas.removeOne(linea.mid(8));
        }
        QVERIFY(mensajes.Mensajes().isEmpty());
        QStringList guardadas;
        for (const Punto& p : Tabla())
            guardadas << p.Resena;
        esperadas.sort();
        guardadas.sort();
        QCOMPARE(guardadas, esperadas);
    }

    // Both instances add points to one station for a while; this one also
    // renumbers it and edits points it read earlier. Every point one was told was
    // saved is there once, under its tag, in the order saved; every edit is stored
    // or was refused as made on a changed point; nothing else fails.
    void altasRenumeracionYEdicionALaVez()
    {
        QRandomGenerator azar = pruebas::AzarSembrado();
        pruebas::EntornoPrueba entorno;
        pruebas::MensajesGrabados mensajes;
        pruebas::InsertarEstacion(kObra, kEstacion);
        QHash<QString, QString> resenas;
        for (int n = 1; n <= 40; ++n) {
            // Gaps between the codes, for renumbering to close.
            Punto punto;
            punto.Codigo = 2 * n;
            punto.Resena = QStringLiteral("p%1").arg(n);
            punto.Notas = QStringLiteral("inicial-%1").arg(n);
            QVERIFY(Estacion().Insertar(punto));
            resenas.insert(punto.Notas, punto.Resena);
        }

        OtroPuesto otro(QStringLiteral("insertar"), entorno);
        QVERIFY(otro.Listo());
        const Acuses yo = Correr(azar);
        const QStringList lineas = otro.Terminar();
        const Acuses hijo = AcusesDelHijo(lineas.mid(lineas.indexOf(QStringLiteral("listo")) + 1));
        QCOMPARE(yo.errores, QStringList());
        QCOMPARE(hijo.errores, QStringList());
        QCOMPARE(otro.proceso.exitCode(), 0);
        qInfo("%lld altas propias, %lld ajenas, %lld puntos editados, %d ediciones rechazadas",
              qint64(yo.guardados.size()), qint64(hijo.guardados.size()), qint64(yo.editados.size()), yo.rechazadas);
        QVERIFY(!hijo.guardados.isEmpty() && !yo.guardados.isEmpty() && !yo.editados.isEmpty());

        const QVector<Punto> tabla = Tabla();
        QHash<QString, int> codigos;
        QSet<int> vistos;
        for (const Punto& punto : tabla) {
            QVERIFY2(!vistos.contains(punto.Codigo), qPrintable(QString::number(punto.Codigo)));
            vistos.insert(punto.Codigo);
            QVERIFY2(!codigos.contains(punto.Notas), qPrintable(punto.Notas));
            codigos.insert(punto.Notas, punto.Codigo);
        }
        QCOMPARE(codigos.size(), 40 + yo.guardados.size() + hijo.guardados.size());
        for (const Acuses* acuses : {&yo, &hijo}) {
            for (const auto& guardado : acuses->guardados)
                QVERIFY2(codigos.contains(guardado.first), qPrintable(guardado.first));
            ComprobarOrden(*acuses, codigos);
        }
        for (auto it = yo.editados.cbegin(); it != yo.editados.cend(); ++it)
            resenas[it.key()] = it.value();
        for (const Punto& punto : tabla)
            QCOMPARE(punto.Resena, resenas.value(punto.Notas, punto.Notas.startsWith(QLatin1String("hijo-"))
                                                                  ? QStringLiteral("h") + punto.Notas.mid(5)
                                                                  : QString()));
        QVERIFY(mensajes.Mensajes().isEmpty());
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kModoHijo))
        return Hijo(argc, argv);
    QApplication aplicacion(argc, argv);
    TstConcurrencia prueba;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_Concurrencia.moc"
