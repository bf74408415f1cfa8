// The settings reader and writer. Input, in NUL-separated fields: the file's
// bytes, then the section, key and value to write (UTF-8), then another
// section and key whose value the write must leave alone.
#include "EntradaFuzz.h"
#include "core/ArchivoIni.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

using namespace corvela;

namespace {

QString Fichero()
{
    // In memory where the system offers it: every input writes the file twice.
    static QTemporaryDir carpeta(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/corvela-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/corvela-fuzz-XXXXXX"));
    return carpeta.filePath(QStringLiteral("Corvelax.INI"));
}

QByteArray Bytes(const QString& fichero)
{
    QFile archivo(fichero);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

void Guardar(const QString& fichero, const QByteArray& bytes)
{
    QFile archivo(fichero);
    EXIGE(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) && archivo.write(bytes) == bytes.size(), fichero);
}

// The lines of the file as text (UTF-8, or Latin-1 when not valid UTF-8),
// without the empty line after the last break, then without carriage returns.
QStringList Lineas(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError())
        texto = QString::fromLatin1(bytes);
    QStringList lineas = texto.split(u'\n');
    if (lineas.last().isEmpty())
        lineas.removeLast();
    for (QString& linea : lineas)
        linea.remove(u'\r');
    return lineas;
}

// A key and section that a line of the file can name: no line break, no "=" in
// the key, nothing that would read as a section line, no blanks around.
bool Escribible(const QString& seccion, const QString& clave, const QString& valor)
{
    const auto sinSaltos = [](const QString& t) { return !t.contains(u'\n') && !t.contains(u'\r'); };
    return sinSaltos(seccion) && sinSaltos(clave) && sinSaltos(valor) && !seccion.contains(u']')
           && seccion == seccion.trimmed() && !clave.isEmpty() && clave == clave.trimmed()
           && !clave.contains(u'=') && !clave.startsWith(u'[');
}

// What a read gives back: surrounding blanks and one pair of quotes removed, at most 254 characters.
QString Leible(QString valor)
{
    valor = valor.trimmed();
    if (valor.size() >= 2 && (valor[0] == u'"' || valor[0] == u'\'') && valor.endsWith(valor[0]))
        valor = valor.mid(1, valor.size() - 2);
    return valor.left(ArchivoIni::kLongitudMaxima);
}

// The write changed one line, or added the key to its section, or added both at the end.
void ComprobarLineas(const QStringList& antes, const QStringList& despues, const QString& seccion,
                     const QString& linea, const QString& detalle)
{
    if (despues.size() == antes.size()) {
        int distintas = 0;
        for (int i = 0; i < antes.size(); ++i) {
            if (antes[i] != despues[i]) {
                ++distintas;
                EXIGE(despues[i] == linea, detalle);
            }
        }
        EXIGE(distintas <= 1, detalle);
    } else if (despues.size() == antes.size() + 1) {
        const int donde = static_cast<int>(despues.indexOf(linea));
        EXIGE(donde >= 0, detalle);
        QStringList sinNueva = despues;
        sinNueva.removeAt(donde);
        EXIGE(sinNueva == antes, detalle);
    } else {
        EXIGE(despues == antes + QStringList({QStringLiteral("[%1]").arg(seccion), linea}), detalle);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t tamano)
{
    const QList<QByteArray> campos = fuzz::Campos(datos, tamano, 6);
    const QString seccion = QString::fromUtf8(campos[1]);
    const QString clave = QString::fromUtf8(campos[2]);
    const QString valor = QString::fromUtf8(campos[3]);
    const QString otraSeccion = QString::fromUtf8(campos[4]);
    const QString otraClave = QString::fromUtf8(campos[5]);
    const QString fichero = Fichero();
    Guardar(fichero, campos[0]);

    bool ok = false;
    const QString otroAntes = ArchivoIni::Leer(fichero, otraSeccion, otraClave, &ok);
    EXIGE(ok, fichero);
    EXIGE(otroAntes.size() <= ArchivoIni::kLongitudMaxima && !otroAntes.contains(u'\n'), otroAntes);
    if (!Escribible(seccion, clave, valor))
        return 0;

    const QString detalle = QStringLiteral("[%1] %2=%3").arg(seccion, clave, valor);
    EXIGE(ArchivoIni::Escribir(fichero, seccion, clave, valor), detalle);
    EXIGE(ArchivoIni::Leer(fichero, seccion, clave) == Leible(valor), detalle);
    const bool mismaClave = seccion.compare(otraSeccion, Qt::CaseInsensitive) == 0
                            && clave.compare(otraClave, Qt::CaseInsensitive) == 0;
    EXIGE(mismaClave || ArchivoIni::Leer(fichero, otraSeccion, otraClave) == otroAntes,
          detalle + QStringLiteral(" tapa [%1] %2").arg(otraSeccion, otraClave));
    const QByteArray escrito = Bytes(fichero);
    ComprobarLineas(Lineas(campos[0]), Lineas(escrito), seccion, clave + u'=' + valor, detalle);

    EXIGE(ArchivoIni::Escribir(fichero, seccion, clave, valor), detalle);
    EXIGE(Bytes(fichero) == escrito, detalle);
    return 0;
}
