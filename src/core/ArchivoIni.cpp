#include "core/ArchivoIni.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringDecoder>
#include <optional>

namespace corvela {

namespace {

constexpr qint64 kTamanoMaximo = 4 * 1024 * 1024;

std::optional<QString> Contenido(const QString& fichero, bool* ok)
{
    *ok = true;
    QFile archivo(fichero);
    if (!archivo.exists())
        return std::nullopt;
    if (!archivo.open(QIODevice::ReadOnly)) {
        *ok = false;
        return std::nullopt;
    }
    const QByteArray bytes = archivo.read(kTamanoMaximo);
    QStringDecoder utf8(QStringConverter::Utf8);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError())
        texto = QString::fromLatin1(bytes);
    return texto;
}

// The section name of a "[name]" line, or nothing.
std::optional<QString> NombreSeccion(const QString& linea)
{
    const QString t = linea.trimmed();
    if (!t.startsWith(u'['))
        return std::nullopt;
    const int cierre = t.indexOf(u']');
    return (cierre < 0 ? t.mid(1) : t.mid(1, cierre - 1)).trimmed();
}

bool EsClave(const QString& linea, const QString& clave)
{
    const int igual = linea.indexOf(u'=');
    return igual > 0 && linea.left(igual).trimmed().compare(clave, Qt::CaseInsensitive) == 0;
}

QString SinComillas(QString valor)
{
    valor = valor.trimmed();
    if (valor.size() >= 2 && (valor.startsWith(u'"') || valor.startsWith(u'\''))
        && valor.endsWith(valor[0]))
        valor = valor.mid(1, valor.size() - 2);
    return valor;
}

}  // namespace

QString ArchivoIni::Leer(const QString& fichero, const QString& seccion, const QString& clave, bool* ok)
{
    bool leido = true;
    const auto texto = Contenido(fichero, &leido);
    if (ok)
        *ok = leido;
    if (!texto)
        return QString();
    bool enSeccion = false;
    for (const QStringView linea : QStringView(*texto).split(u'\n')) {
        const QString l = linea.toString().remove(u'\r');
        if (const auto nombre = NombreSeccion(l)) {
            enSeccion = nombre->compare(seccion, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (enSeccion && EsClave(l, clave))
            return SinComillas(l.mid(l.indexOf(u'=') + 1)).left(kLongitudMaxima);
    }
    return QString();
}

bool ArchivoIni::Escribir(const QString& fichero, const QString& seccion, const QString& clave, const QString& valor)
{
    bool leido = true;
    const auto texto = Contenido(fichero, &leido);
    if (!leido)
        return false;
    QStringList lineas = texto ? texto->split(u'\n') : QStringList();
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    for (QString& l : lineas)
        l.remove(u'\r');

    const QString nueva = clave + u'=' + valor;
    int inicio = -1;
    int ultimaDeSeccion = -1;
    int encontrada = -1;
    for (int i = 0; i < lineas.size(); ++i) {
        if (const auto nombre = NombreSeccion(lineas[i])) {
            if (inicio >= 0)
                break;
            if (nombre->compare(seccion, Qt::CaseInsensitive) == 0)
                inicio = ultimaDeSeccion = i;
            continue;
        }
        if (inicio < 0)
            continue;
        if (!lineas[i].trimmed().isEmpty())
            ultimaDeSeccion = i;
        if (EsClave(lineas[i], clave)) {
            encontrada = i;
            break;
        }
    }
    if (encontrada >= 0) {
        lineas[encontrada] = nueva;
    } else if (inicio >= 0) {
        lineas.insert(ultimaDeSeccion + 1, nueva);
    } else {
        lineas << QStringLiteral("[%1]").arg(seccion) << nueva;
    }

    QSaveFile archivo(fichero);
    if (!archivo.open(QIODevice::WriteOnly))
        return false;
    archivo.write((lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    return archivo.commit();
}

}  // namespace corvela
