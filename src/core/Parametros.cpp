#include "core/Parametros.h"

#include "core/ArchivoIni.h"
#include "core/Globales.h"
#include "core/Mensajes.h"
#include "core/TextoNumerico.h"

#include <algorithm>
#include <cmath>

namespace corvela {

namespace {

const QString kSeccion = QStringLiteral("PARAMETROS");
constexpr int kErrorAccesoFichero = 75;
constexpr int kMaximoDecimales = 15;

QString LeerIni(const QString& clave, const QString& fichero)
{
    if (fichero.isEmpty())
        return QString();
    QString error;
    const QString valor = ArchivoIni::Leer(fichero, kSeccion, clave, &error);
    if (!error.isEmpty()) {
        Dialogos().MsgBox(QStringLiteral("Error al leer el parámetro.") + SaltoDoble +
                          QString::number(kErrorAccesoFichero) + QStringLiteral("-") +
                          QStringLiteral("No se puede leer el fichero ") + fichero + QStringLiteral(": ") + error);
    }
    return valor;
}

} // namespace

QString LeerParametro(const QString& clave, int longitud, const QString& porDefecto, QString& origen)
{
    if (origen.isEmpty())
        origen = QStringLiteral("L");
    QString valor;
    if (origen == QStringLiteral("L"))
        valor = LeerIni(clave, IniLocal).trimmed();
    if (valor.isEmpty()) {
        valor = LeerIni(clave, IniGeneral).trimmed();
        origen = QStringLiteral("S");
    }
    if (longitud > 0)
        valor = valor.left(longitud);
    if (valor.trimmed().isEmpty())
        valor = porDefecto;
    return valor;
}

QString LeerParametro(const QString& clave, const QString& porDefecto)
{
    QString origen;
    return LeerParametro(clave, 0, porDefecto, origen);
}

bool GrabarParametro(const QString& clave, const QString& valor, const QString& origen)
{
    QString donde = origen;
    if (donde.isEmpty())
        LeerParametro(clave, 0, QString(), donde);
    const QString fichero = donde == QStringLiteral("L") ? IniLocal : IniGeneral;
    QString error;
    if (ArchivoIni::Escribir(fichero, kSeccion, clave, valor, &error))
        return true;
    Dialogos().MsgBox(QStringLiteral("No se pudo guardar el parámetro ") + clave + QStringLiteral(" en el fichero ") +
                          fichero + QStringLiteral(".") + SaltoDoble + error,
                      Icono::Exclamacion);
    return false;
}

void CargarDecimales()
{
    const double valor = ValorNumerico(LeerParametro(QStringLiteral("Decimales"), QStringLiteral("3")));
    // Halves go to the even neighbour, as the classic whole-number conversion does.
    const double redondeado = std::nearbyint(valor);
    NumDecimales = static_cast<int>(std::clamp(redondeado, 0.0, static_cast<double>(kMaximoDecimales)));
    FormatoDecimales = QStringLiteral("###0.") + QString(NumDecimales, u'0');
}

} // namespace corvela
