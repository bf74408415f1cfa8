#include "ProcesoHijo.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <csignal>
#include <cstdio>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace corvela::pruebas {

namespace {

constexpr uid_t kNadie = 65534;

bool EscribirTodo(int fd, const QByteArray& bytes)
{
    qsizetype hecho = 0;
    while (hecho < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + hecho, static_cast<size_t>(bytes.size() - hecho));
        if (n <= 0)
            return false;
        hecho += n;
    }
    return true;
}

QByteArray LeerTodo(int fd)
{
    QByteArray leido;
    char trozo[4096];
    ssize_t n;
    while ((n = ::read(fd, trozo, sizeof trozo)) > 0)
        leido.append(trozo, n);
    return leido;
}

bool TerminoBien(pid_t hijo)
{
    int estado = 0;
    return ::waitpid(hijo, &estado, 0) == hijo && WIFEXITED(estado) && WEXITSTATUS(estado) == 0;
}

// Pending output would otherwise be written twice, once by each process.
pid_t Bifurcar()
{
    std::fflush(nullptr);
    return ::fork();
}

} // namespace

std::optional<QByteArray> ConDiscoLleno(qint64 limiteBytes, const std::function<QByteArray()>& accion)
{
    int tubo[2];
    if (::pipe(tubo) != 0)
        return std::nullopt;
    const pid_t hijo = Bifurcar();
    if (hijo == 0) {
        ::close(tubo[0]);
        // Without this the first refused write would kill the copy instead of failing.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite{};
        ::getrlimit(RLIMIT_FSIZE, &limite);
        limite.rlim_cur = static_cast<rlim_t>(limiteBytes);
        const bool limitado = ::setrlimit(RLIMIT_FSIZE, &limite) == 0;
        ::_exit(limitado && EscribirTodo(tubo[1], accion()) ? 0 : 1);
    }
    ::close(tubo[1]);
    if (hijo < 0) {
        ::close(tubo[0]);
        return std::nullopt;
    }
    const QByteArray resultado = LeerTodo(tubo[0]);
    ::close(tubo[0]);
    if (!TerminoBien(hijo))
        return std::nullopt;
    return resultado;
}

BloqueoExterno::BloqueoExterno(const QString& ruta)
{
    int listo[2];
    int fin[2];
    if (::pipe(listo) != 0)
        return;
    if (::pipe(fin) != 0) {
        ::close(listo[0]);
        ::close(listo[1]);
        return;
    }
    hijo_ = Bifurcar();
    if (hijo_ == 0) {
        ::close(listo[0]);
        ::close(fin[1]);
        bool tomado = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bloqueo"));
            db.setDatabaseName(ruta);
            tomado = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
        }
        EscribirTodo(listo[1], tomado ? "1" : "0");
        ::close(listo[1]);
        char c;
        while (::read(fin[0], &c, 1) > 0) {
        }
        ::_exit(0);
    }
    ::close(listo[1]);
    ::close(fin[0]);
    fin_ = fin[1];
    tomado_ = hijo_ > 0 && LeerTodo(listo[0]) == "1";
    ::close(listo[0]);
}

BloqueoExterno::~BloqueoExterno()
{
    ::close(fin_);
    if (hijo_ > 0)
        TerminoBien(hijo_);
}

SinPrivilegios::SinPrivilegios()
{
    if (::geteuid() != 0) {
        efectivo_ = true;
        return;
    }
    ::setfsgid(kNadie);
    ::setfsuid(kNadie);
    // setfsuid answers with the previous identity; asking again tells whether it took.
    cambiado_ = static_cast<uid_t>(::setfsuid(kNadie)) == kNadie;
    if (!cambiado_)
        ::setfsgid(0);
    efectivo_ = cambiado_;
}

SinPrivilegios::~SinPrivilegios()
{
    if (!cambiado_)
        return;
    ::setfsuid(0);
    ::setfsgid(0);
}

} // namespace corvela::pruebas
