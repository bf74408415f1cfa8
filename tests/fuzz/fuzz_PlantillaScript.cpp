// The CAD template and the script written from it. Input, in NUL-separated
// fields: the template's bytes, choice bytes (decimals, regional settings, number
// of points, kind of each coordinate), the drawing name, the scale text, the
// point description (UTF-8), then 8 bytes per coordinate.
#include "EntradaFuzz.h"
#include "cad/CodigoLatino.h"
#include "cad/EscritorScript.h"
#include "cad/PlantillaScript.h"
#include "core/Globales.h"
#include "core/TextoNumerico.h"

#include <QBuffer>
#include <QStringDecoder>
#include <array>
#include <cstring>

using namespace corvela;

namespace {

using Marcador = PlantillaScript::Marcador;

struct Punto
{
    QVariant x, y, z;
    int estacion = 0;
    int numero = 0;
};

// The script as the description of the template says it is written, worked out
// character by character: each placeholder replaced where it stands, the point
// ones only inside the block.
class ScriptEsperado
{
public:
    ScriptEsperado(const DatosDibujo& datos, const QString& resena) : datos_(datos), resena_(resena) {}

    QByteArray Escribir(const QString& cabecera, const QString& bloque, const QString& pie,
                        const QList<Punto>& puntos) const
    {
        QByteArray script = Rellenar(cabecera, nullptr);
        for (int i = 0; i < puntos.size(); ++i) {
            if (i > 0)
                script += "\r\n";
            script += Rellenar(bloque, &puntos[i]);
        }
        return script + Rellenar(pie, nullptr) + "\r\n";
    }

private:
    QByteArray Rellenar(const QString& texto, const Punto* punto) const
    {
        static const std::array<Marcador, 8> kMarcadores = {
            Marcador::LimiteMinimo, Marcador::LimiteMaximo, Marcador::NombreDibujo, Marcador::CoorX,
            Marcador::CoorY,        Marcador::CoorZ,        Marcador::Resena,       Marcador::Escala};
        QString salida;
        for (qsizetype i = 0; i < texto.size();) {
            bool hallado = false;
            for (const Marcador m : kMarcadores) {
                const QString marca = PlantillaScript::TextoMarcador(m);
                if (!QStringView(texto).mid(i).startsWith(marca))
                    continue;
                if (const std::optional<QString> valor = Valor(m, punto)) {
                    salida += *valor;
                    i += marca.size();
                    hallado = true;
                    break;
                }
            }
            if (!hallado)
                salida += texto[i++];
        }
        QByteArray bytes;
        AnadirEnCodigoLatino(salida, bytes);
        return bytes;
    }

    std::optional<QString> Valor(Marcador m, const Punto* punto) const
    {
        switch (m) {
        case Marcador::LimiteMinimo:
            return datos_.LimiteMinimo;
        case Marcador::LimiteMaximo:
            return datos_.LimiteMaximo;
        case Marcador::NombreDibujo:
            return datos_.NombreDibujo;
        default:
            break;
        }
        if (!punto)
            return std::nullopt;
        switch (m) {
        case Marcador::CoorX:
            return Coordenada(punto->x);
        case Marcador::CoorY:
            return Coordenada(punto->y);
        case Marcador::CoorZ:
            return Coordenada(punto->z);
        case Marcador::Escala:
            return datos_.Escala;
        default:
            return Etiqueta(*punto);
        }
    }

    static QString Coordenada(const QVariant& valor)
    {
        return ComaAPunto(FormatearNumero(ValorCampo(valor, QMetaType::Double)));
    }

    // Station "/" point, and "/" with the description when there is one, its
    // blanks (space, tab, line breaks, no-break space) turned into "-".
    QString Etiqueta(const Punto& punto) const
    {
        QString etiqueta = QStringLiteral("%1/%2").arg(punto.estacion).arg(punto.numero);
        if (resena_.isEmpty())
            return etiqueta;
        QString descripcion = resena_;
        for (QChar& c : descripcion) {
            if (QStringLiteral(" \t\r\n\v\f\u00A0").contains(c))
                c = u'-';
        }
        return etiqueta + u'/' + descripcion;
    }

    const DatosDibujo& datos_;
    QString resena_;
};

QVariant Coordenada(const QByteArray& bytes, qsizetype& desde, int clase)
{
    double valor = 0;
    if (desde + 8 <= bytes.size())
        std::memcpy(&valor, bytes.constData() + desde, sizeof valor);
    desde += 8;
    switch (clase % 4) {
    case 0:
        return valor;
    case 1:
        return QVariant();
    case 2:
        return std::isfinite(valor) && std::fabs(valor) < 1e18 ? QVariant(static_cast<qlonglong>(valor)) : QVariant();
    default:
        return TextoGeneral(valor);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t tamano)
{
    const QList<QByteArray> campos = fuzz::Campos(datos, tamano, 6);
    const QByteArray& eleccion = campos[1];
    const auto elegir = [&eleccion](int i) {
        return i < eleccion.size() ? static_cast<unsigned char>(eleccion[i]) : 0;
    };
    fuzz::Regional(elegir(1));
    FormatoDecimales =
        elegir(0) & 0x10 ? QStringLiteral("###0.0#") : QStringLiteral("###0.") + QString(elegir(0) % 16, u'0');

    // The text as the template file holds it, UTF-8 when it is valid UTF-8: every line break CR LF.
    QStringDecoder utf8(QStringConverter::Utf8);
    QString texto = utf8.decode(campos[0]);
    if (utf8.hasError())
        texto = TextoDeCodigoLatino(campos[0]);
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
    const qsizetype abre = texto.indexOf(u'[');
    const qsizetype cierra = texto.indexOf(u']');
    const std::optional<PlantillaScript> plantilla = PlantillaScript::DesdeBytes(campos[0]);
    EXIGE(plantilla.has_value() == (abre >= 0 && cierra > abre), texto);
    if (!plantilla)
        return 0;

    DatosDibujo dibujo;
    dibujo.LimiteMinimo = QStringLiteral("-12.5,%CoorX%");
    dibujo.LimiteMaximo = QStringLiteral("[1e+20,7]");
    dibujo.NombreDibujo = QString::fromUtf8(campos[2]);
    dibujo.Escala = QString::fromUtf8(campos[3]);
    const QString resena = QString::fromUtf8(campos[4]);
    QList<Punto> puntos;
    qsizetype desde = 0;
    for (int i = 0; i <= elegir(2) % 4; ++i) {
        const int clase = elegir(3 + i);
        puntos.push_back({Coordenada(campos[5], desde, clase), Coordenada(campos[5], desde, clase / 4),
                          Coordenada(campos[5], desde, clase / 16), i + 1, elegir(7) * (i + 1)});
    }

    QBuffer destino;
    destino.open(QIODevice::WriteOnly);
    EscritorScript escritor(*plantilla, dibujo, destino);
    escritor.EscribirCabecera();
    for (const Punto& p : puntos)
        escritor.EscribirPunto(p.x, p.y, p.z, p.estacion, p.numero, resena);
    escritor.Terminar();

    const QByteArray esperado =
        ScriptEsperado(dibujo, resena)
            .Escribir(texto.left(abre), texto.mid(abre + 1, cierra - abre - 1), texto.mid(cierra + 1), puntos);
    EXIGE(destino.data() == esperado,
          QStringLiteral("plantilla \"%1\"\nescrito  \"%2\"\nesperado \"%3\"")
              .arg(texto, TextoDeCodigoLatino(destino.data()), TextoDeCodigoLatino(esperado)));
    return 0;
}
