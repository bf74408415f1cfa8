#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <functional>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class QWidget;

namespace corvela::banco {

// The median, in milliseconds, of veces runs of accion; antes prepares each run
// outside the timing.
double Mediana(int veces, const std::function<void()>& accion, const std::function<void()>& antes = {});

// Runs accion, then lets the event loop work until ventana has really been
// repainted: the time the user waits for what he did to show.
void HastaPintado(QWidget* ventana, const std::function<void()>& accion);
// The same for a window that the action itself creates: the top-level widget
// with that object name.
void HastaPintado(const QString& nombreVentana, const std::function<void()>& accion);

// Resident memory now, and at its peak since the last ReiniciarPico, in MB.
double MemoriaResidente();
double PicoMemoria();
void ReiniciarPico();

// The floor: the same work done through the sqlite3 C API on the same file,
// with nothing of the program in between.
class SqliteCrudo
{
public:
    explicit SqliteCrudo(const QString& fichero);
    ~SqliteCrudo();
    SqliteCrudo(const SqliteCrudo&) = delete;
    SqliteCrudo& operator=(const SqliteCrudo&) = delete;

    // Steps the statement to the end, reading every column of every row as its
    // stored type; returns the number of rows.
    qint64 Leer(const char* sql, const std::vector<qint64>& valores = {});
    // Steps the statement to the end and hands every row to fila, which reads
    // the columns it needs; returns the number of rows.
    qint64 Recorrer(const char* sql, const std::vector<qint64>& valores,
                    const std::function<void(sqlite3_stmt*)>& fila);
    // Runs each statement once, in order; all of them in one transaction.
    void Ejecutar(const std::vector<const char*>& sentencias, const std::vector<qint64>& valores = {});
    // One value of a row: a whole number, a double or a UTF-8 text.
    using Valor = std::variant<qint64, double, QByteArray>;
    // Runs one prepared statement once per row with the row's values bound; all in one transaction.
    void Insertar(const char* sql, const std::vector<std::vector<Valor>>& filas);
    // A setting of the connection, outside any transaction.
    void Ajustar(const char* pragma);

private:
    void Preparar(const char* sql, const std::vector<qint64>& valores, sqlite3_stmt** sentencia);
    sqlite3* conexion_ = nullptr;
};

// Prints one figure beside its floor and target and remembers a missed target,
// so that the benchmark ends non-zero.
class Resultados
{
public:
    // limiteMs <= 0 or razonMaxima <= 0: that bound is not checked.
    void Figura(const QString& que, double ms, double sueloMs, double limiteMs, double razonMaxima = 0);
    // As Figura, but the time limit holds only where the bare operation leaves
    // the program at least half of it: on a machine where the floor alone takes
    // more, no program could meet it, and only the ratio is held. Says which.
    void FiguraSegunSuelo(const QString& que, double ms, double sueloMs, double limiteMs, double razonMaxima);
    // The program's own cost above a floor it cannot go below (a durable
    // commit): ms minus sueloMs against limiteMs.
    void SobreSuelo(const QString& que, double ms, double sueloMs, double limiteMs);
    // A cost that must not grow: mayorMs, at the largest size, against
    // razonMaxima times menorMs, at the smallest, plus margenMs.
    void Crecimiento(const QString& que, double menorMs, double mayorMs, double razonMaxima, double margenMs);
    // A memory figure in MB against its bound.
    void Memoria(const QString& que, double megas, double limiteMegas);
    int Final() const;

private:
    int fallos_ = 0;
};

[[noreturn]] void Fallo(const QString& que);
inline void Comprobar(bool correcto, const char* que)
{
    if (!correcto)
        Fallo(QString::fromUtf8(que));
}

} // namespace corvela::banco
