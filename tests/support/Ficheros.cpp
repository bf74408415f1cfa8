#include "Ficheros.h"

#include <QFile>
#include <QTest>

namespace corvela::pruebas {

void EscribirFichero(const QString& ruta, const QByteArray& bytes)
{
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        QTest::qFail(qPrintable(QStringLiteral("no se pudo escribir ") + ruta), __FILE__, __LINE__);
}

QByteArray LeerFichero(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace corvela::pruebas
