// The tidy-up of numeric entry fields, wired as the windows wire it (after every
// change of the text). Input, in NUL-separated fields: choice bytes (separator,
// maximum decimals, regional settings), a text the program or a paste writes
// into the field, then pairs of bytes (key, caret position) typed into it.
#include "EntradaFuzz.h"
#include "core/CamposEntrada.h"
#include "core/TextoNumerico.h"

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>

using namespace corvela;

namespace {

// A field with its tidy-up; counts how deep the change events nest.
struct Campo
{
    QLineEdit linea;
    QString separador;
    int maxDecimales = 0;
    int anidados = 0;
    int maximoAnidados = 0;

    Campo(const QString& sep, int decimales) : separador(sep), maxDecimales(decimales)
    {
        QObject::connect(&linea, &QLineEdit::textChanged, &linea, [this] {
            maximoAnidados = std::max(maximoAnidados, ++anidados);
            AjustarNumero(&linea, separador, maxDecimales);
            --anidados;
        });
    }

    // The program or a paste writes the whole text.
    void Escribir(const QString& texto)
    {
        maximoAnidados = 0;
        linea.setText(texto);
        ComprobarAsentado(texto);
    }

    QString Detalle(const QString& antes) const
    {
        return QStringLiteral("separador \"%1\" decimales %2: \"%3\" -> \"%4\" (%5 pasadas)")
            .arg(separador)
            .arg(maxDecimales)
            .arg(antes, linea.text())
            .arg(maximoAnidados);
    }

    // The text the field settled on is left alone by one more tidy-up.
    void ComprobarAsentado(const QString& antes)
    {
        EXIGE(maximoAnidados <= 4, Detalle(antes));
        const QString asentado = linea.text();
        AjustarNumero(&linea, separador, maxDecimales);
        EXIGE(linea.text() == asentado, Detalle(antes));
        EXIGE(linea.cursorPosition() == asentado.size(), Detalle(antes));
    }

    // Digits with at most one separator and maxDecimales digits after it.
    bool EsNumeroTecleado() const
    {
        const QString decimales =
            separador.isEmpty()
                ? QString()
                : QStringLiteral("(?:%1\\d{0,%2})?").arg(QRegularExpression::escape(separador)).arg(maxDecimales);
        const QRegularExpression numero(QRegularExpression::anchoredPattern(QStringLiteral("\\d*%1").arg(decimales)));
        return numero.match(linea.text()).hasMatch();
    }
};

void ComprobarContar(const QString& texto, const QString& buscado)
{
    int primera = -1;
    int ultima = -1;
    const int cuenta = ContarApariciones(texto, buscado, primera, ultima);
    const QString detalle = QStringLiteral("\"%1\" en \"%2\"").arg(buscado, texto);
    EXIGE(cuenta == (buscado.isEmpty() ? 0 : texto.count(buscado)), detalle);
    EXIGE(primera == (cuenta > 0 ? texto.indexOf(buscado) + 1 : 0), detalle);
    EXIGE(cuenta == 0 || ultima == texto.lastIndexOf(buscado) + 1, detalle);
}

// A number pasted with a minus before or after it becomes that number, negative
// (a minus after all the decimals allowed is cut away with the excess).
void ComprobarMenos(Campo& campo, const QString& texto, bool delante)
{
    QString cifras = texto;
    cifras.remove(QRegularExpression(QStringLiteral("\\D")));
    cifras = cifras.left(12);
    const int admitidos = delante ? campo.maxDecimales : campo.maxDecimales - 1;
    const int decimales = campo.separador.isEmpty() ? 0 : std::clamp<int>(admitidos, 0, cifras.size() / 2);
    QString numero = cifras.left(cifras.size() - decimales);
    if (decimales > 0)
        numero += campo.separador + cifras.right(decimales);
    const QString conMenos = delante ? u'-' + numero : numero + u'-';
    campo.Escribir(conMenos);
    EXIGE(campo.linea.text().startsWith(u'-'), campo.Detalle(conMenos));
    EXIGE(ValorNumerico(campo.linea.text()) == -ValorNumerico(numero), campo.Detalle(conMenos));
}

void Teclear(Campo& campo, const QByteArray& teclas)
{
    const QString primera = campo.separador.left(1);
    for (qsizetype i = 0; i + 1 < teclas.size(); i += 2) {
        int codigo = static_cast<unsigned char>(teclas[i]);
        const int resultado = TeclaNumerica(codigo, campo.separador);
        EXIGE(resultado == codigo, QStringLiteral("tecla %1").arg(static_cast<int>(teclas[i])));
        EXIGE(resultado == 0 || resultado == 8 || (resultado >= u'0' && resultado <= u'9') ||
                  (!primera.isEmpty() && resultado == primera[0].unicode()),
              QStringLiteral("tecla %1 da %2").arg(static_cast<int>(teclas[i])).arg(resultado));
        if (resultado == 0)
            continue;
        const QString antes = campo.linea.text();
        campo.maximoAnidados = 0;
        campo.linea.setCursorPosition(static_cast<unsigned char>(teclas[i + 1]) % (antes.size() + 1));
        if (resultado == 8)
            campo.linea.backspace();
        else
            campo.linea.insert(QString(QChar(resultado)));
        campo.ComprobarAsentado(antes);
        EXIGE(campo.EsNumeroTecleado(), campo.Detalle(antes));
    }
}

} // namespace

// The font library that a widget application loads keeps its caches to the end.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept to the end of the process: destroyed at exit it would outlive Qt's own globals.
    static auto* aplicacion = new QApplication(*argc, *argv);
    Q_UNUSED(aplicacion);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t tamano)
{
    const QList<QByteArray> campos = fuzz::Campos(datos, tamano, 3);
    const QByteArray& eleccion = campos[0];
    const auto elegir = [&eleccion](int i) {
        return i < eleccion.size() ? static_cast<unsigned char>(eleccion[i]) : 0;
    };
    static const QStringList kSeparadores = {QStringLiteral(","), QStringLiteral("."), QString()};
    fuzz::Regional(elegir(2));
    const QString texto = QString::fromUtf8(campos[1]);

    ComprobarContar(texto, kSeparadores[elegir(0) % 3]);
    ComprobarContar(texto, texto.mid(elegir(3) % 8, elegir(4) % 4));

    Campo campo(kSeparadores[elegir(0) % 3], elegir(1) % 6);
    campo.Escribir(texto);
    const QString asentado = campo.linea.text();
    if (asentado.contains(u'-') && asentado != QStringLiteral("-")) {
        EXIGE(asentado.startsWith(u'-'), campo.Detalle(texto));
        EXIGE(ValorNumerico(asentado) <= 0, campo.Detalle(texto));
    } else if (!campo.separador.isEmpty()) {
        EXIGE(asentado.count(campo.separador) <= 1, campo.Detalle(texto));
    }

    if (!campo.EsNumeroTecleado())
        campo.linea.clear();
    Teclear(campo, campos[2]);

    Campo otro(kSeparadores[elegir(0) % 3], elegir(1) % 6);
    ComprobarMenos(otro, texto, elegir(5) % 2 == 0);
    return 0;
}
