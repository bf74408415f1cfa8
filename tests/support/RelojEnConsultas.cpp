#include "RelojEnConsultas.h"

#include "records/BaseDatos.h"

#include <QCursor>
#include <QGuiApplication>
#include <QSqlDriver>
#include <QTest>
#include <sqlite3.h>

namespace corvela::pruebas {

namespace {

sqlite3* Conexion()
{
    const QVariant manejador = BaseDatos().driver()->handle();
    if (qstrcmp(manejador.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(manejador.constData());
}

} // namespace

bool RelojEnConsultas::Posible()
{
    return Conexion() != nullptr;
}

RelojEnConsultas::RelojEnConsultas()
{
    sqlite3* conexion = Conexion();
    if (!conexion) {
        QTest::qFail("la base de datos no está abierta", __FILE__, __LINE__);
        return;
    }
    // Called every few instructions of every statement the connection runs.
    sqlite3_progress_handler(conexion, 1, &RelojEnConsultas::Anotar, this);
}

RelojEnConsultas::~RelojEnConsultas()
{
    if (sqlite3* conexion = Conexion())
        sqlite3_progress_handler(conexion, 0, nullptr, nullptr);
}

int RelojEnConsultas::Anotar(void* reloj)
{
    auto* yo = static_cast<RelojEnConsultas*>(reloj);
    const QCursor* cursor = QGuiApplication::overrideCursor();
    (cursor && cursor->shape() == Qt::WaitCursor ? yo->conReloj_ : yo->sinReloj_) = true;
    return 0;
}

} // namespace corvela::pruebas
