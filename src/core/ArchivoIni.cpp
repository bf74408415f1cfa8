#include "core/ArchivoIni.h"

#include "core/EscrituraSegura.h"

#include <QFile>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace corvela {

namespace {

const QByteArray kMarcaUtf8 = QByteArrayLiteral("\xEF\xBB\xBF");

// The whole file as text, with what it takes to write it back the same way.
struct Contenido
{
    QString texto;
    bool utf8 = true;
    bool marca = false;
};

bool Fallo(QString& error, const QString& motivo)
{
    error = motivo;
    return false;
}

// A missing file reads as empty. False, with the reason, when the file exists
// but cannot be read whole: a write must never drop lines it did not see.
bool LeerContenido(const QString& fichero, Contenido& contenido, QString& error)
{
    QFile archivo(fichero);
    if (!archivo.exists())
        return true;
    if (!archivo.open(QIODevice::ReadOnly))
        return Fallo(error, archivo.errorString());
    if (archivo.size() > ArchivoIni::kTamanoMaximo)
        return Fallo(error, QStringLiteral("El fichero es demasiado grande para ser un fichero de parámetros."));
    const QByteArray bytes = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return Fallo(error, archivo.errorString());
    QStringDecoder utf8(QStringConverter::Utf8);
    contenido.texto = utf8.decode(bytes);
    contenido.utf8 = !utf8.hasError();
    contenido.marca = contenido.utf8 && bytes.startsWith(kMarcaUtf8);
    if (!contenido.utf8)
        contenido.texto = QString::fromLatin1(bytes);
    return true;
}

// A Latin-1 file whose new bytes happen to read as UTF-8 would be read back as
// such, and its values would change.
bool CambiariaDeCodificacion(const QByteArray& bytes, const Contenido& como)
{
    if (como.utf8 || std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return static_cast<uchar>(c) < 0x80; }))
        return false;
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString leido = utf8.decode(bytes); // the decoder only runs when its text is taken
    Q_UNUSED(leido);
    return !utf8.hasError();
}

QByteArray Codificado(const QString& texto, const Contenido& como)
{
    if (!como.utf8)
        return texto.toLatin1();
    return (como.marca ? kMarcaUtf8 : QByteArray()) + texto.toUtf8();
}

// Why the value cannot be stored as one line of that file, or nothing.
std::optional<QString> ValorInadmisible(const QString& valor, const Contenido& como)
{
    if (valor.contains(u'\r') || valor.contains(u'\n'))
        return QStringLiteral("El valor contiene un salto de línea, que el fichero de parámetros no admite.");
    if (!como.utf8) {
        for (const QChar c : valor) {
            if (c.unicode() > 0xFF)
                return QStringLiteral(
                    "El valor contiene caracteres que la codificación del fichero (Latin-1) no admite.");
        }
    }
    return std::nullopt;
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
    if (valor.size() >= 2 && (valor.startsWith(u'"') || valor.startsWith(u'\'')) && valor.endsWith(valor[0]))
        valor = valor.mid(1, valor.size() - 2);
    return valor;
}

QStringList Lineas(const QString& texto)
{
    QStringList lineas = texto.split(u'\n');
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    // Only the line end: a carriage return inside a line is part of it, and
    // dropping one at the start of the file could bare a byte-order mark.
    for (QString& l : lineas) {
        while (l.endsWith(u'\r'))
            l.chop(1);
    }
    return lineas;
}

// The key's line replaced, or added at the end of its section, or the section
// added at the end of the file.
void PonerClave(QStringList& lineas, const QString& seccion, const QString& clave, const QString& valor)
{
    const QString nueva = clave + u'=' + valor;
    int inicio = -1;
    int ultimaDeSeccion = -1;
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
        if (EsClave(lineas[i], clave)) {
            lineas[i] = nueva;
            return;
        }
        if (!lineas[i].trimmed().isEmpty())
            ultimaDeSeccion = i;
    }
    if (inicio >= 0)
        lineas.insert(ultimaDeSeccion + 1, nueva);
    else
        lineas << QStringLiteral("[%1]").arg(seccion) << nueva;
}

bool EscribirClave(const QString& fichero, const QString& seccion, const QString& clave, const QString& valor,
                   QString& error)
{
    Contenido contenido;
    if (!LeerContenido(fichero, contenido, error))
        return false;
    if (const auto motivo = ValorInadmisible(valor, contenido))
        return Fallo(error, *motivo);
    QStringList lineas = Lineas(contenido.texto);
    PonerClave(lineas, seccion, clave, valor);
    const QString texto = lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    const QByteArray bytes = Codificado(texto, contenido);
    if (CambiariaDeCodificacion(bytes, contenido))
        return Fallo(error, QStringLiteral("El valor, escrito en la codificación del fichero (Latin-1), se leería "
                                           "después de otra manera."));
    return EscrituraSegura::Grabar(fichero, bytes, &error);
}

} // namespace

QString ArchivoIni::Leer(const QString& fichero, const QString& seccion, const QString& clave, QString* error)
{
    Contenido contenido;
    QString motivo;
    const bool leido = LeerContenido(fichero, contenido, motivo);
    if (error)
        *error = motivo;
    if (!leido)
        return QString();
    bool enSeccion = false;
    for (const QString& l : Lineas(contenido.texto)) {
        if (const auto nombre = NombreSeccion(l)) {
            enSeccion = nombre->compare(seccion, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (enSeccion && EsClave(l, clave))
            return SinComillas(l.mid(l.indexOf(u'=') + 1)).left(kLongitudMaxima);
    }
    return QString();
}

bool ArchivoIni::Escribir(const QString& fichero, const QString& seccion, const QString& clave, const QString& valor,
                          QString* error)
{
    QString motivo;
    const bool escrito = EscribirClave(fichero, seccion, clave, valor, motivo);
    if (error)
        *error = motivo;
    return escrito;
}

} // namespace corvela
