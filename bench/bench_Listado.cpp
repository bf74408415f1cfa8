// The printed field book: the print preview of a large work until its first
// page shows, and the report written as PDF beside the floor, Qt's PDF writer
// drawing the same texts in the same grid with no database or layout work.

#include "BaseBanco.h"
#include "Medida.h"
#include "core/Globales.h"
#include "informe/ImpresionObra.h"
#include "informe/ListadoObra.h"
#include "informe/frmListados.h"
#include "informe/rptCorvela.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

using namespace corvela;

namespace {

constexpr int kPequena = 10000;
constexpr int kGrande = 100000;

void Insertar(QSqlQuery& q, const QVariantList& valores)
{
    for (int i = 0; i < valores.size(); ++i)
        q.bindValue(i, valores[i]);
    banco::Comprobar(q.exec(), "no se pudo insertar");
}

// What surveyors write, a few words over and over; one too long for its column.
const std::array<QString, 5> kResenas = {QStringLiteral("BORDE CALZADA"), QStringLiteral("POZO"),
                                         QStringLiteral("ARBOL"), QStringLiteral("Punto de relleno"),
                                         QStringLiteral("BORDE CALZADA IZQUIERDA JUNTO AL BORDILLO DE LA ACERA")};

// A work of the given number of points (its code too), 250 to a station, with
// readings and coordinates like a real survey and a note on every seventh point.
void CrearObra(int puntos)
{
    Transaccion transaccion;
    banco::Comprobar(
        EjecutarAccion(QStringLiteral("INSERT INTO B_OBRAS (CODOBRA, Expediente, DESCOBRA, PROPIETARIO, "
                                      "POBLACION, PROVINCIA) VALUES (?, ?, ?, ?, ?, ?)"),
                       {puntos, QStringLiteral("EXP-%1").arg(puntos), QStringLiteral("Levantamiento de prueba"),
                        QStringLiteral("Cliente de prueba"), QStringLiteral("Vigo"), QStringLiteral("Pontevedra")}),
        "obra");
    QSqlQuery estaciones(BaseDatos());
    estaciones.prepare(QStringLiteral("INSERT INTO B_ESTACIONES VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    QSqlQuery puntosQ(BaseDatos());
    puntosQ.prepare(QStringLiteral("INSERT INTO B_PUNTOS VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    constexpr int kPorEstacion = 250;
    for (int i = 0; i < puntos; ++i) {
        const int estacion = i / kPorEstacion + 1;
        const int punto = i % kPorEstacion + 1;
        if (punto == 1)
            Insertar(estaciones,
                     {puntos, estacion, QStringLiteral("Estación %1").arg(estacion), QStringLiteral("12/03/2024"), 1.55,
                      500000.0 + estacion, 4678000.0 + estacion, 120.0});
        const double lectura = 1.2 + (i % 17) * 0.05;
        Insertar(puntosQ,
                 {punto, kResenas[i % kResenas.size()], lectura, lectura + 0.2, lectura - 0.2,
                  std::fmod(i * 37.123, 400.0), 98.0 + (i % 9) * 0.3, 40.0 + (i % 50) * 0.7, 500000.0 + i * 0.37,
                  4678000.0 - i * 0.21, 120.0 + (i % 13) * 0.11,
                  i % 7 == 0 ? QStringLiteral("Arqueta junto al bordillo") : QStringLiteral(""), puntos, estacion});
    }
    banco::Comprobar(transaccion.Confirmar(), "confirmar la obra");
}

struct Pdf
{
    int paginas = 0;
    double megasAlCuarto = 0;
    double megasAlFinal = 0;
};

// What "Guardar PDF" costs: the work read and the report laid out and written.
Pdf GuardarPdf(int codigo, const QString& ruta)
{
    Pdf pdf;
    ListadoObra registros;
    banco::Comprobar(registros.Abrir(codigo), "leer la obra");
    rptCorvela informe;
    informe.FijarOrigen(&registros);
    informe.FijarDecimales(NumDecimales);
    informe.FijarImagen(QImage(RutaRecurso(QStringLiteral("imagen/CORVELAX.JPG"))));
    informe.Progreso = [&pdf](int hechas, int total) {
        pdf.paginas = total;
        if (hechas == total / 4)
            pdf.megasAlCuarto = banco::MemoriaResidente();
        if (hechas == total)
            pdf.megasAlFinal = banco::MemoriaResidente();
    };
    banco::Comprobar(informe.GuardarPdf(ruta), "guardar el PDF");
    return pdf;
}

// The texts of the report, made beforehand: the floor only draws them.
struct TextosSuelo
{
    std::vector<std::array<QString, 12>> filas;
    int paginas = 0;
};

TextosSuelo PrepararSuelo(int codigo, int paginas)
{
    ListadoObra registros;
    banco::Comprobar(registros.Abrir(codigo), "leer la obra");
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    const auto numero = [&local](double valor) { return local.toString(valor, 'f', NumDecimales); };
    TextosSuelo textos;
    textos.paginas = paginas;
    for (const PuntoListado& p : registros.Puntos())
        textos.filas.push_back({QString::number(p.codigo), p.resena, numero(p.lecturaMedia), numero(p.lecturaSuperior),
                                numero(p.lecturaInferior), numero(p.anguloHorizontal), numero(p.anguloVertical),
                                numero(p.distancia), numero(p.x), numero(p.y), numero(p.z), p.notas});
    return textos;
}

QFont FuenteSuelo(double puntos)
{
    QFont fuente;
    fuente.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                        QStringLiteral("Helvetica")});
    fuente.setHintingPreference(QFont::PreferNoHinting);
    fuente.setPointSizeF(puntos);
    return fuente;
}

// The floor: the same page size, fonts, texts and grid of columns as the report,
// each text drawn at its point, the rows spread evenly over the same pages.
void SueloPdf(const TextosSuelo& textos, const QString& ruta)
{
    QFile fichero(ruta);
    banco::Comprobar(fichero.open(QIODevice::WriteOnly), "abrir el PDF del suelo");
    QPdfWriter pdf(&fichero);
    rptCorvela::PrepararPagina(pdf);
    QPainter pintor(&pdf);
    const double mm = pdf.logicalDpiY() / 25.4;
    const double ancho = pdf.width();
    const double alto = pdf.height();
    static constexpr std::array<double, 12> kMilimetros{11, 38, 15, 15, 15, 17, 17, 17, 22, 22, 17, 61};
    std::array<double, 12> x{};
    double izquierda = 0;
    for (size_t c = 0; c < x.size(); ++c) {
        x[c] = izquierda + mm;
        izquierda += kMilimetros[c] * mm * ancho / (267 * mm);
    }
    const QFont celda = FuenteSuelo(7.5);
    const auto filas = static_cast<int>(textos.filas.size());
    const int porPagina = (filas + textos.paginas - 1) / textos.paginas;
    const double paso = (alto - 30 * mm) / porPagina;
    int fila = 0;
    for (int pagina = 1; pagina <= textos.paginas; ++pagina) {
        if (pagina > 1)
            pdf.newPage();
        pintor.setFont(celda);
        pintor.drawText(QPointF(0, 4 * mm), QStringLiteral("CORVELA GEODA  ·  Libreta de campo"));
        pintor.drawText(QPointF(0, alto - mm), QStringLiteral("Página %1 de %2").arg(pagina).arg(textos.paginas));
        for (int k = 0; k < porPagina && fila < filas; ++k, ++fila) {
            const double y = 12 * mm + k * paso;
            const auto& textosFila = textos.filas[static_cast<size_t>(fila)];
            for (size_t c = 0; c < textosFila.size(); ++c)
                pintor.drawText(QPointF(x[c], y), textosFila[c]);
        }
    }
}

void CerrarListados()
{
    if (frmListados::Existe())
        frmListados::Instancia()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void MedirPdf(banco::Resultados& resultados, int puntos, int veces, double limiteMs, double razonMaxima)
{
    const QString ruta = RutaDatos(QStringLiteral("libreta-%1.pdf").arg(puntos));
    const QString rutaSuelo = RutaDatos(QStringLiteral("suelo-%1.pdf").arg(puntos));
    Pdf pdf;
    const double ms = banco::Mediana(veces, [&] { pdf = GuardarPdf(puntos, ruta); });
    const TextosSuelo textos = PrepararSuelo(puntos, pdf.paginas);
    const double suelo = banco::Mediana(veces, [&] { SueloPdf(textos, rutaSuelo); });
    const QString cuantas = QStringLiteral("%1 puntos, %2 páginas").arg(puntos).arg(pdf.paginas);
    resultados.FiguraSegunSuelo(QStringLiteral("PDF de la libreta, ") + cuantas, ms, suelo, limiteMs, razonMaxima);
    // Drawn page by page: what it holds must not grow with the pages already written.
    resultados.Memoria(QStringLiteral("PDF, memoria del 25 % de las páginas al final"),
                       pdf.megasAlFinal - pdf.megasAlCuarto, 5);
    QFile::remove(ruta);
    QFile::remove(rutaSuelo);
}

void MedirVistaPrevia(banco::Resultados& resultados, int puntos, int veces)
{
    const QString codigo = QString::number(puntos);
    double crecimiento = 0;
    double base = 0;
    const double ms = banco::Mediana(
        veces,
        [&] {
            banco::HastaPintado(QStringLiteral("frmListados"), [&] { ImprimirObra(codigo); });
            crecimiento = std::max(crecimiento, banco::PicoMemoria() - base);
        },
        [&] {
            CerrarListados();
            banco::ReiniciarPico();
            base = banco::MemoriaResidente();
        });
    CerrarListados();
    resultados.Figura(QStringLiteral("vista previa, primera página pintada, %1 puntos").arg(puntos), ms, 0, 1000);
    resultados.Memoria(QStringLiteral("vista previa, pico de memoria sobre la de antes"), crecimiento, 50);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacion(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    banco::BaseBanco base;
    CrearObra(kPequena);
    CrearObra(kGrande);

    banco::Resultados resultados;
    // Each run of the large work takes seconds: three of them.
    MedirVistaPrevia(resultados, kGrande, 3);
    MedirPdf(resultados, kPequena, 5, 800, 2);
    MedirPdf(resultados, kGrande, 3, 0, 0);
    CerrarBaseDatos();
    return resultados.Final();
}
