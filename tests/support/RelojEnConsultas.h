#pragma once

namespace corvela::pruebas {

// While it lives, watches the program's database connection as it works and
// notes whether the hourglass was showing each time, so that a test can tell a
// long read ran with the hourglass on from start to end.
class RelojEnConsultas
{
public:
    RelojEnConsultas();
    // Only SQLite lets a test watch each step of a statement; a server's driver
    // shows nothing between sending a statement and its answer.
    static bool Posible();
    ~RelojEnConsultas();
    RelojEnConsultas(const RelojEnConsultas&) = delete;
    RelojEnConsultas& operator=(const RelojEnConsultas&) = delete;

    // The connection worked, always under the hourglass.
    bool SiempreConReloj() const { return conReloj_ && !sinReloj_; }
    void Olvidar() { conReloj_ = sinReloj_ = false; }

private:
    static int Anotar(void* reloj);

    bool conReloj_ = false;
    bool sinReloj_ = false;
};

} // namespace corvela::pruebas
