// The CAD script of a work as "Generar en AUTOCAD" makes it, short of starting
// the CAD program: drawing limits, prompts answered at once, the script written
// and forced to disk. Beside it, the floor: the same columns read through the
// sqlite3 C API, the same numbers formatted and the same bytes written and
// forced to disk with plain buffered C++ (the export must force its file to
// disk, so the floor does too, and prints what that costs). Targets at
// 1,000,000 points: at most 1 s, at most twice the floor, resident memory flat.
#include "BaseBanco.h"
#include "Medida.h"
#include "cad/ExportacionCad.h"
#include "core/Globales.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace corvela;
using namespace corvela::banco;

namespace {

constexpr int kVeces = 5;
constexpr double kLimiteMs = 1000;
constexpr double kRazonMaxima = 2;
constexpr double kLimiteMemoriaMb = 50;
const QString kEscala = QStringLiteral("0.5");

struct Obra
{
    int codigo;
    int estaciones;
    int puntosPorEstacion;
    qint64 Puntos() const { return qint64(estaciones) * puntosPorEstacion; }
};

// Answers the scale and drawing name prompts at once, as a user who knows them.
class MensajesScript : public MensajesBanco
{
public:
    std::optional<QString> InputBox(const QString& pregunta, const QString&) override
    {
        return pregunta.startsWith(QStringLiteral("Escala")) ? kEscala : QStringLiteral("OBRA");
    }
};

// Points entered station by station, coordinates with many decimals as the
// reduction leaves them, some descriptions empty, some accented.
void GenerarObra(const Obra& obra)
{
    Transaccion transaccion;
    Comprobar(EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA) VALUES (?)"), {obra.codigo}), "obra");
    Comprobar(
        EjecutarAccion(QStringLiteral("WITH RECURSIVE n(e) AS (SELECT 1 UNION ALL SELECT e + 1 FROM n WHERE e < ?) "
                                      "INSERT INTO B_ESTACIONES (CODOBRA, CODEST) SELECT ?, e FROM n"),
                       {obra.estaciones, obra.codigo}),
        "estaciones");
    Comprobar(EjecutarAccion(
                  QStringLiteral("WITH RECURSIVE n(p) AS (SELECT 1 UNION ALL SELECT p + 1 FROM n WHERE p < ?) "
                                 "INSERT INTO B_PUNTOS (CODOBRA, CODEST, CODPUNTO, CC1, CC2, CC3, RESENA) "
                                 "SELECT ?, e.CODEST, n.p, 400000.0 + e.CODEST * 13.1 + n.p * 0.01731379, "
                                 "4500000.0 + e.CODEST * 7.7 - n.p * 0.02194611, 100.0 + (n.p % 997) * 0.01317723, "
                                 "CASE WHEN n.p % 3 = 0 THEN '' WHEN n.p % 7 = 0 THEN 'ÁRBOL Nº ' || (n.p % 50) "
                                 "ELSE 'BORDE CALZADA ' || (n.p % 50) END "
                                 "FROM B_ESTACIONES e, n WHERE e.CODOBRA = ? ORDER BY e.CODEST, n.p"),
                  {obra.puntosPorEstacion, obra.codigo, obra.codigo}),
              "puntos");
    Comprobar(transaccion.Confirmar(), "confirmar");
}

// The floor's own output: a buffer written out in large pieces.
class SalidaSimple
{
public:
    explicit SalidaSimple(const QString& ruta) : fichero_(std::fopen(QFile::encodeName(ruta).constData(), "wb"))
    {
        Comprobar(fichero_ != nullptr, "abrir la salida del suelo");
        bufer_.reserve(kTamano + 4096);
    }
    void Anadir(const char* datos, size_t tamano) { bufer_.append(datos, tamano); }
    void Anadir(const std::string& texto) { bufer_.append(texto); }
    std::string& Bufer() { return bufer_; }
    void Vaciar()
    {
        if (bufer_.size() >= kTamano)
            Escribir();
    }
    // Returns the milliseconds spent forcing the data to disk.
    double Cerrar()
    {
        Escribir();
        Comprobar(std::fflush(fichero_) == 0, "escribir el suelo");
        QElapsedTimer reloj;
        reloj.start();
        Comprobar(::fsync(fileno(fichero_)) == 0, "forzar el suelo a disco");
        const double ms = static_cast<double>(reloj.nsecsElapsed()) / 1e6;
        std::fclose(fichero_);
        return ms;
    }

private:
    static constexpr size_t kTamano = 1 << 20;
    void Escribir()
    {
        Comprobar(std::fwrite(bufer_.data(), 1, bufer_.size(), fichero_) == bufer_.size(), "escribir el suelo");
        bufer_.clear();
    }
    std::FILE* fichero_;
    std::string bufer_;
};

void AnadirNumero(double valor, int decimales, std::string& destino)
{
    char texto[64];
    const auto fin = std::to_chars(texto, texto + sizeof texto, valor, std::chars_format::fixed, decimales).ptr;
    destino.append(texto, fin);
}

void AnadirEntero(sqlite3_int64 valor, std::string& destino)
{
    char texto[24];
    destino.append(texto, std::to_chars(texto, texto + sizeof texto, valor).ptr);
}

// UTF-8 as stored to the single-byte code page (the Latin-1 range suffices here),
// blanks as "-".
void AnadirResena(const unsigned char* texto, int bytes, std::string& destino)
{
    for (int i = 0; i < bytes; ++i) {
        unsigned char c = texto[i];
        if (c >= 0xC0 && i + 1 < bytes)
            c = static_cast<unsigned char>(((c & 0x1F) << 6) | (texto[++i] & 0x3F));
        destino.push_back(c == ' ' ? '-' : static_cast<char>(c));
    }
}

// The default template's point block, written straight from the C API's values.
double SueloScript(SqliteCrudo& crudo, const Obra& obra, const std::string& cabecera, const std::string& pie,
                   const QString& ruta)
{
    SalidaSimple salida(ruta);
    salida.Anadir(cabecera);
    const std::string escala = "\r\n" + kEscala.toStdString() + "\r\n0\r\n";
    bool primero = true;
    std::string coordenadas;
    crudo.Recorrer("SELECT CC1, CC2, CC3, CODEST, CODPUNTO, RESENA FROM B_PUNTOS WHERE CODOBRA=? "
                   "ORDER BY CODEST, CODPUNTO",
                   {obra.codigo}, [&](sqlite3_stmt* fila) {
                       coordenadas.clear();
                       for (int c = 0; c < 3; ++c) {
                           if (c)
                               coordenadas.push_back(',');
                           AnadirNumero(sqlite3_column_double(fila, c), NumDecimales, coordenadas);
                       }
                       std::string& b = salida.Bufer();
                       if (!primero)
                           b.append("\r\n");
                       primero = false;
                       b.append("_.POINT\r\n_non\r\n").append(coordenadas).append("\r\n_.TEXT\r\n_non\r\n");
                       b.append(coordenadas).append(escala);
                       AnadirEntero(sqlite3_column_int64(fila, 3), b);
                       b.push_back('/');
                       AnadirEntero(sqlite3_column_int64(fila, 4), b);
                       const int bytes = sqlite3_column_bytes(fila, 5);
                       if (bytes > 0) {
                           b.push_back('/');
                           AnadirResena(sqlite3_column_text(fila, 5), bytes, b);
                       }
                       salida.Vaciar();
                   });
    salida.Anadir(pie);
    return salida.Cerrar();
}

QByteArray Leer(const QString& ruta)
{
    QFile fichero(ruta);
    Comprobar(fichero.open(QIODevice::ReadOnly), "leer un script");
    return fichero.readAll();
}

double MedianaDe(std::vector<double> valores)
{
    std::sort(valores.begin(), valores.end());
    const size_t mitad = valores.size() / 2;
    return valores.size() % 2 ? valores[mitad] : (valores[mitad - 1] + valores[mitad]) / 2;
}

void Medir(Resultados& resultados, SqliteCrudo& crudo, const Obra& obra, bool conObjetivos)
{
    const QString script = RutaScript();
    const QString copia = RutaDatos(QStringLiteral("SUELO.SCR"));
    const QString codigo = QString::number(obra.codigo);

    // A first export warms the caches for both, and gives the header and footer
    // that the floor writes around the points.
    Comprobar(CrearScript(codigo, script), "el script");
    const QByteArray escrito = Leer(script);
    const qsizetype bloque = escrito.indexOf("_.POINT");
    const qsizetype final = escrito.lastIndexOf("\r\n_.ZOOM");
    Comprobar(bloque > 0 && final > bloque, "la plantilla por defecto");
    const std::string cabecera = escrito.left(bloque).toStdString();
    const std::string pie = escrito.mid(final).toStdString();

    // Each export follows a floor run, so that both meet the same load of a shared machine.
    std::vector<double> suelos;
    std::vector<double> aDisco;
    double crecimientoMb = 0;
    double residente = 0;
    const double programa = Mediana(
        kVeces,
        [&] {
            Comprobar(CrearScript(codigo, script), "el script");
            crecimientoMb = std::max(crecimientoMb, PicoMemoria() - residente);
        },
        [&] {
            QElapsedTimer reloj;
            reloj.start();
            aDisco.push_back(SueloScript(crudo, obra, cabecera, pie, copia));
            suelos.push_back(static_cast<double>(reloj.nsecsElapsed()) / 1e6);
            ReiniciarPico();
            residente = MemoriaResidente();
        });
    // A value whose decimal text ends in a half may round the other way in the
    // floor's plain formatting; the length is the same.
    Comprobar(QFile(copia).size() == escrito.size(), "el suelo escribe tantos bytes como el programa");

    const QString que = QStringLiteral("script de AUTOCAD, %1 puntos (%2 MB)")
                            .arg(obra.Puntos())
                            .arg(double(escrito.size()) / 1e6, 0, 'f', 1);
    if (conObjetivos)
        resultados.FiguraSegunSuelo(que, programa, MedianaDe(suelos), kLimiteMs, kRazonMaxima);
    else
        resultados.Figura(que, programa, MedianaDe(suelos), 0, 0);
    std::printf("  del suelo, forzar el script a disco: %.0f ms (mediana)\n", MedianaDe(aDisco));
    if (conObjetivos)
        resultados.Memoria(QStringLiteral("  memoria residente ganada al escribirlo"), crecimientoMb, kLimiteMemoriaMb);
}

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    BaseBanco base;
    MensajesScript mensajes;

    const Obra pequena{1, 1, 10000};
    const Obra grande{2, 100, 10000};
    GenerarObra(pequena);
    GenerarObra(grande);

    Resultados resultados;
    {
        SqliteCrudo crudo(RutaDatos(QStringLiteral("Corvelax.db")));
        Medir(resultados, crudo, pequena, false);
        Medir(resultados, crudo, grande, true);
    }
    CerrarBaseDatos();
    return resultados.Final();
}
