// The settings reader and writer. Input, in NUL-separated fields: the file's
// bytes, then the section, key and value to write (UTF-8), then another
// section and key whose value the write must leave alone, then how the file is
// laid down: "0" (or nothing) as given, "1" missing, "2" grown past the size a
// settings file may have.
#include "EntradaFuzz.h"
#include "core/ArchivoIni.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <algorithm>

using namespace corvela;

namespace {

const QByteArray kMarcaUtf8 = QByteArrayLiteral("\xEF\xBB\xBF");
// Stands for an error text the call must replace.
const QString kSinTocar = QStringLiteral("sin tocar");

enum class Disposicion { Tal, Ausente, Enorme };

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

// The file's size and first bytes, empty when it is missing: all of it but for
// an oversized file, too costly to read whole on every input.
QByteArray Huella(const QString& fichero)
{
    QFile archivo(fichero);
    if (!archivo.open(QIODevice::ReadOnly))
        return QByteArray();
    return QByteArray::number(archivo.size()) + ':' + archivo.read(1 << 20);
}

void Preparar(const QString& fichero, const QByteArray& bytes, Disposicion disposicion)
{
    QFile::remove(fichero);
    if (disposicion == Disposicion::Ausente)
        return;
    QFile archivo(fichero);
    EXIGE(archivo.open(QIODevice::WriteOnly) && archivo.write(bytes) == bytes.size(), fichero);
    if (disposicion == Disposicion::Enorme)
        EXIGE(archivo.resize(ArchivoIni::kTamanoMaximo + 1), fichero);
}

// How a file's bytes are to be read: UTF-8 with or without its mark, or Latin-1
// when they are not valid UTF-8.
struct Codificacion
{
    bool utf8 = true;
    bool marca = false;
};

Codificacion Detectar(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    // The decoder works only when its text is taken.
    const QString texto = utf8.decode(bytes);
    return {!utf8.hasError(), !utf8.hasError() && bytes.startsWith(kMarcaUtf8)};
}

// The lines of the file read in that encoding, without the empty line after the
// last break, then without the carriage returns that end them.
QStringList Lineas(const QByteArray& bytes, const Codificacion& como, const QString& detalle)
{
    EXIGE(!como.utf8 || bytes.startsWith(kMarcaUtf8) == como.marca, detalle);
    QString texto = QString::fromLatin1(bytes);
    if (como.utf8) {
        QStringDecoder utf8(QStringConverter::Utf8);
        texto = utf8.decode(bytes);
        EXIGE(!utf8.hasError(), detalle);
    }
    QStringList lineas = texto.split(u'\n');
    if (lineas.last().isEmpty())
        lineas.removeLast();
    for (QString& linea : lineas) {
        while (linea.endsWith(u'\r'))
            linea.chop(1);
    }
    return lineas;
}

bool ConSalto(const QString& t)
{
    return t.contains(u'\n') || t.contains(u'\r');
}

// A value the file can hold on one line, in its encoding.
bool Admisible(const QString& valor, const Codificacion& como)
{
    return !ConSalto(valor) &&
           (como.utf8 || std::all_of(valor.begin(), valor.end(), [](QChar c) { return c.unicode() <= 0xFF; }));
}

// A key and section that a line of the file can name: no line break, no "=" in
// the key, nothing that would read as a section line, no blanks around, nothing
// the file's encoding lacks (only values are checked for that; the program's
// names are plain ASCII).
bool Nombrable(const QString& seccion, const QString& clave, const Codificacion& como)
{
    return Admisible(seccion + clave, como) && !seccion.contains(u']') && seccion == seccion.trimmed() &&
           !clave.isEmpty() && clave == clave.trimmed() && !clave.contains(u'=') && !clave.startsWith(u'[');
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
void ComprobarLineas(const QStringList& antes, const QStringList& despues, const QString& seccion, const QString& linea,
                     const QString& detalle)
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t tamano)
{
    const QList<QByteArray> campos = fuzz::Campos(datos, tamano, 7);
    const QString seccion = QString::fromUtf8(campos[1]);
    const QString clave = QString::fromUtf8(campos[2]);
    const QString valor = QString::fromUtf8(campos[3]);
    const QString otraSeccion = QString::fromUtf8(campos[4]);
    const QString otraClave = QString::fromUtf8(campos[5]);
    const auto disposicion = static_cast<Disposicion>(fuzz::Byte(campos[6]) % 3);
    const QString fichero = Fichero();
    Preparar(fichero, campos[0], disposicion);
    const QByteArray antes = disposicion == Disposicion::Ausente ? QByteArray() : campos[0];
    const QByteArray huella = Huella(fichero);
    const QString detalle = QStringLiteral("[%1] %2=%3").arg(seccion, clave, valor);

    QString error = kSinTocar;
    const QString otroAntes = ArchivoIni::Leer(fichero, otraSeccion, otraClave, &error);
    EXIGE((disposicion == Disposicion::Enorme) != error.isEmpty() && error != kSinTocar, error);
    EXIGE(otroAntes.size() <= ArchivoIni::kLongitudMaxima && !otroAntes.contains(u'\n'), otroAntes);

    // A refused write says why and leaves the file, or its absence, as it was. A
    // Latin-1 file may also refuse a value whose bytes would make it read as UTF-8.
    const Codificacion como = Detectar(antes);
    const bool admisible = disposicion != Disposicion::Enorme && Admisible(valor, como);
    error = kSinTocar;
    const bool admitido = ArchivoIni::Escribir(fichero, seccion, clave, valor, &error);
    EXIGE(admitido == admisible || (admisible && !como.utf8 && error.contains(QStringLiteral("Latin-1"))), detalle);
    EXIGE(error.isEmpty() == admitido && error != kSinTocar, detalle + QStringLiteral(": ") + error);
    if (!admitido) {
        EXIGE(Huella(fichero) == huella, detalle);
        return 0;
    }
    const QByteArray escrito = Bytes(fichero);
    EXIGE(como.utf8 || !Detectar(escrito).utf8 ||
              std::all_of(escrito.cbegin(), escrito.cend(), [](char c) { return static_cast<uchar>(c) < 0x80; }),
          detalle);
    const QStringList despues = Lineas(escrito, como, detalle);
    if (!Nombrable(seccion, clave, como))
        return 0;

    EXIGE(ArchivoIni::Leer(fichero, seccion, clave) == Leible(valor), detalle);
    const bool mismaClave =
        seccion.compare(otraSeccion, Qt::CaseInsensitive) == 0 && clave.compare(otraClave, Qt::CaseInsensitive) == 0;
    EXIGE(mismaClave || ArchivoIni::Leer(fichero, otraSeccion, otraClave) == otroAntes,
          detalle + QStringLiteral(" tapa [%1] %2").arg(otraSeccion, otraClave));
    ComprobarLineas(Lineas(antes, como, detalle), despues, seccion, clave + u'=' + valor, detalle);

    EXIGE(ArchivoIni::Escribir(fichero, seccion, clave, valor), detalle);
    EXIGE(Bytes(fichero) == escrito, detalle);
    return 0;
}
