#include "EntornoPrueba.h"
#include "LibretaPrueba.h"
#include "MensajesGrabados.h"
#include "core/Globales.h"
#include "fieldbook/PuntosEstacion.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cstdio>

// Two instances of the program on one database file. The other instance is this
// same program started again as a child process, with CORVELA_HIJO naming what it does.
using namespace corvela;

namespace {

constexpr int kObra = 3;
constexpr int kEstacion = 2;
const char* const kModoHijo = "CORVELA_HIJO";
const char* const kBaseHijo = "CORVELA_HIJO_BD";

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

int Hijo(int argc, char** argv)
{
    QCoreApplication aplicacion(argc, argv);
    MensajesHijo mensajes;
    InstalarDialogos(&mensajes);
    IniciarGlobales(QFileInfo(qEnvironmentVariable(kBaseHijo)).path(), QString());
    if (AbrirBaseDatos(qEnvironmentVariable(kBaseHijo)) != Apertura::Abierta)
        return 2;
    Escribir("listo");
    const QString modo = qEnvironmentVariable(kModoHijo);
    if (modo == QLatin1String("renumerar"))
        return Estacion().Renumerar() ? 0 : 1;
    if (modo == QLatin1String("editar"))
        return EditarSinFin();
    return Competir();
}

// ---- The test's side ---------------------------------------------------------

// The other instance, started on the test's database and ready to work.
class OtroPuesto
{
public:
    OtroPuesto(const QString& modo, const QString& base)
    {
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(QString::fromLatin1(kModoHijo), modo);
        entorno.insert(QString::fromLatin1(kBaseHijo), base);
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
            const QString base = entorno.Ruta(QStringLiteral("Corvelax.db"));

            OtroPuesto otro(QStringLiteral("editar"), base);
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
            QCOMPARE(AbrirBaseDatos(base), Apertura::Abierta);
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

        OtroPuesto otro(QStringLiteral("renumerar"), entorno.Ruta(QStringLiteral("Corvelax.db")));
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

        OtroPuesto otro(QStringLiteral("competir"), entorno.Ruta(QStringLiteral("Corvelax.db")));
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
