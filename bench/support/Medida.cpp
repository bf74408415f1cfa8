#include "Medida.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace corvela::banco {

namespace {

double Milisegundos(const std::function<void()>& accion)
{
    QElapsedTimer reloj;
    reloj.start();
    accion();
    return static_cast<double>(reloj.nsecsElapsed()) / 1e6;
}

// Counts the paint events any widget of one window receives; the window is
// known by its address or, when it does not exist yet, by its object name.
class ContadorPintado : public QObject
{
public:
    explicit ContadorPintado(QWidget* ventana) : ventana_(ventana)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    explicit ContadorPintado(const QString& nombre) : nombre_(nombre)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~ContadorPintado() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool Pintado() const { return pintado_; }

    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::Paint && objeto->isWidgetType()) {
            const QWidget* ventana = static_cast<QWidget*>(objeto)->window();
            if (ventana_ ? ventana == ventana_ : ventana->objectName() == nombre_)
                pintado_ = true;
        }
        return false;
    }

private:
    QWidget* ventana_ = nullptr;
    QString nombre_;
    bool pintado_ = false;
};

void EsperarPintado(ContadorPintado& contador, const std::function<void()>& accion)
{
    accion();
    QElapsedTimer espera;
    espera.start();
    while (!contador.Pintado()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (espera.elapsed() > 60000)
            Fallo(QStringLiteral("la ventana no se repintó"));
    }
}

double CampoEstado(const char* campo)
{
    QFile estado(QStringLiteral("/proc/self/status"));
    if (!estado.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray nombre(campo);
    for (const QByteArray& linea : estado.readAll().split('\n')) {
        if (linea.startsWith(nombre))
            return linea.mid(nombre.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

[[noreturn]] void Fallo(const QString& que)
{
    std::fprintf(stderr, "fallo: %s\n", qPrintable(que));
    std::exit(2);
}

double Mediana(int veces, const std::function<void()>& accion, const std::function<void()>& antes)
{
    std::vector<double> tiempos;
    for (int i = 0; i < veces; ++i) {
        if (antes)
            antes();
        tiempos.push_back(Milisegundos(accion));
    }
    std::sort(tiempos.begin(), tiempos.end());
    const size_t mitad = tiempos.size() / 2;
    return tiempos.size() % 2 ? tiempos[mitad] : (tiempos[mitad - 1] + tiempos[mitad]) / 2;
}

void HastaPintado(QWidget* ventana, const std::function<void()>& accion)
{
    ContadorPintado contador(ventana);
    EsperarPintado(contador, accion);
}

void HastaPintado(const QString& nombreVentana, const std::function<void()>& accion)
{
    ContadorPintado contador(nombreVentana);
    EsperarPintado(contador, accion);
}

double MemoriaResidente()
{
    return CampoEstado("VmRSS:");
}

double PicoMemoria()
{
    return CampoEstado("VmHWM:");
}

void ReiniciarPico()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

SqliteCrudo::SqliteCrudo(const QString& fichero)
{
    if (sqlite3_open_v2(QFile::encodeName(fichero).constData(), &conexion_, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        Fallo(QStringLiteral("sqlite3 no abre %1").arg(fichero));
    sqlite3_busy_timeout(conexion_, 5000);
}

SqliteCrudo::~SqliteCrudo()
{
    sqlite3_close(conexion_);
}

void SqliteCrudo::Preparar(const char* sql, const std::vector<qint64>& valores, sqlite3_stmt** sentencia)
{
    if (sqlite3_prepare_v2(conexion_, sql, -1, sentencia, nullptr) != SQLITE_OK)
        Fallo(QString::fromUtf8(sqlite3_errmsg(conexion_)));
    const int parametros = sqlite3_bind_parameter_count(*sentencia);
    for (int i = 0; i < parametros && i < static_cast<int>(valores.size()); ++i)
        sqlite3_bind_int64(*sentencia, i + 1, valores[static_cast<size_t>(i)]);
}

qint64 SqliteCrudo::Leer(const char* sql, const std::vector<qint64>& valores)
{
    sqlite3_stmt* sentencia = nullptr;
    Preparar(sql, valores, &sentencia);
    qint64 filas = 0;
    double suma = 0;
    const int columnas = sqlite3_column_count(sentencia);
    while (sqlite3_step(sentencia) == SQLITE_ROW) {
        ++filas;
        for (int c = 0; c < columnas; ++c) {
            switch (sqlite3_column_type(sentencia, c)) {
            case SQLITE_INTEGER:
                suma += static_cast<double>(sqlite3_column_int64(sentencia, c));
                break;
            case SQLITE_FLOAT:
                suma += sqlite3_column_double(sentencia, c);
                break;
            case SQLITE_TEXT:
                suma += sqlite3_column_bytes(sentencia, c) + (sqlite3_column_text(sentencia, c) != nullptr);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(sentencia);
    if (suma < 0)
        Fallo(QStringLiteral("lectura"));
    return filas;
}

qint64 SqliteCrudo::Recorrer(const char* sql, const std::vector<qint64>& valores,
                             const std::function<void(sqlite3_stmt*)>& fila)
{
    sqlite3_stmt* sentencia = nullptr;
    Preparar(sql, valores, &sentencia);
    qint64 filas = 0;
    while (sqlite3_step(sentencia) == SQLITE_ROW) {
        ++filas;
        fila(sentencia);
    }
    sqlite3_finalize(sentencia);
    return filas;
}

void SqliteCrudo::Ejecutar(const std::vector<const char*>& sentencias, const std::vector<qint64>& valores)
{
    sqlite3_exec(conexion_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    for (const char* sql : sentencias) {
        sqlite3_stmt* sentencia = nullptr;
        Preparar(sql, valores, &sentencia);
        const int resultado = sqlite3_step(sentencia);
        sqlite3_finalize(sentencia);
        if (resultado != SQLITE_DONE && resultado != SQLITE_ROW)
            Fallo(QString::fromUtf8(sqlite3_errmsg(conexion_)));
    }
    if (sqlite3_exec(conexion_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        Fallo(QString::fromUtf8(sqlite3_errmsg(conexion_)));
}

void SqliteCrudo::Ajustar(const char* pragma)
{
    if (sqlite3_exec(conexion_, pragma, nullptr, nullptr, nullptr) != SQLITE_OK)
        Fallo(QString::fromUtf8(sqlite3_errmsg(conexion_)));
}

void SqliteCrudo::Insertar(const char* sql, const std::vector<std::vector<Valor>>& filas)
{
    sqlite3_exec(conexion_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_stmt* sentencia = nullptr;
    Preparar(sql, {}, &sentencia);
    for (const std::vector<Valor>& fila : filas) {
        for (size_t i = 0; i < fila.size(); ++i) {
            const int n = static_cast<int>(i) + 1;
            if (const auto* entero = std::get_if<qint64>(&fila[i]))
                sqlite3_bind_int64(sentencia, n, *entero);
            else if (const auto* real = std::get_if<double>(&fila[i]))
                sqlite3_bind_double(sentencia, n, *real);
            else {
                const QByteArray& texto = std::get<QByteArray>(fila[i]);
                sqlite3_bind_text(sentencia, n, texto.constData(), static_cast<int>(texto.size()), SQLITE_STATIC);
            }
        }
        if (sqlite3_step(sentencia) != SQLITE_DONE)
            Fallo(QString::fromUtf8(sqlite3_errmsg(conexion_)));
        sqlite3_reset(sentencia);
    }
    sqlite3_finalize(sentencia);
    if (sqlite3_exec(conexion_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        Fallo(QString::fromUtf8(sqlite3_errmsg(conexion_)));
}

void Resultados::Figura(const QString& que, double ms, double sueloMs, double limiteMs, double razonMaxima)
{
    const double razon = sueloMs > 0 ? ms / sueloMs : 0;
    const bool tiempoBien = limiteMs <= 0 || ms <= limiteMs;
    const bool razonBien = razonMaxima <= 0 || razon <= razonMaxima;
    const QString limite = limiteMs > 0 ? QStringLiteral("<= %1 ms").arg(limiteMs) : QStringLiteral("-");
    const QString maxima = razonMaxima > 0 ? QStringLiteral("<= x%1").arg(razonMaxima) : QStringLiteral("-");
    std::printf("%-52s %10.2f ms  suelo %9.2f ms  x%6.2f  objetivo %-12s %-8s %s\n", qPrintable(que), ms, sueloMs,
                razon, qPrintable(limite), qPrintable(maxima), tiempoBien && razonBien ? "bien" : "SUPERADO");
    std::fflush(stdout);
    if (!tiempoBien || !razonBien)
        ++fallos_;
}

void Resultados::FiguraSegunSuelo(const QString& que, double ms, double sueloMs, double limiteMs, double razonMaxima)
{
    const bool alcanzable = limiteMs <= 0 || sueloMs <= limiteMs / 2;
    if (!alcanzable)
        std::printf("  (el suelo, %.0f ms, pasa de la mitad de %.0f ms: aquí solo vale la razón)\n", sueloMs, limiteMs);
    Figura(que, ms, sueloMs, alcanzable ? limiteMs : 0, razonMaxima);
}

void Resultados::SobreSuelo(const QString& que, double ms, double sueloMs, double limiteMs)
{
    const double encima = ms - sueloMs;
    const bool bien = encima <= limiteMs;
    std::printf("%-52s %10.2f ms  suelo %9.2f ms  encima %7.2f ms  objetivo encima <= %.0f ms  %s\n", qPrintable(que),
                ms, sueloMs, encima, limiteMs, bien ? "bien" : "SUPERADO");
    std::fflush(stdout);
    if (!bien)
        ++fallos_;
}

void Resultados::Crecimiento(const QString& que, double menorMs, double mayorMs, double razonMaxima, double margenMs)
{
    const double limite = razonMaxima * menorMs + margenMs;
    const bool bien = mayorMs <= limite;
    std::printf("%-52s %10.2f ms  frente a %.2f ms  objetivo <= x%.1f + %.0f ms = %.2f ms  %s\n", qPrintable(que),
                mayorMs, menorMs, razonMaxima, margenMs, limite, bien ? "bien" : "SUPERADO");
    std::fflush(stdout);
    if (!bien)
        ++fallos_;
}

void Resultados::Memoria(const QString& que, double megas, double limiteMegas)
{
    const bool bien = megas <= limiteMegas;
    std::printf("%-52s %10.1f MB  objetivo <= %.0f MB  %s\n", qPrintable(que), megas, limiteMegas,
                bien ? "bien" : "SUPERADO");
    std::fflush(stdout);
    if (!bien)
        ++fallos_;
}

int Resultados::Final() const
{
    if (fallos_)
        std::printf("%d objetivo(s) SUPERADO(s)\n", fallos_);
    return fallos_ ? 1 : 0;
}

} // namespace corvela::banco
