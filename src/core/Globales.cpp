#include "core/Globales.h"

#include "core/Parametros.h"

#include <QDir>

namespace corvela {

QString CarpetaDatos;
QString CarpetaRecursos;
QString FicheroIni;
QString IniGeneral;
QString IniLocal;
int NumDecimales;
QString FormatoDecimales;
QString FormatoDistancia;
QString SaltoDoble;

void IniciarGlobales(const QString& carpetaDatos, const QString& carpetaRecursos)
{
    CarpetaDatos = carpetaDatos;
    CarpetaRecursos = carpetaRecursos;
    FormatoDistancia = QStringLiteral("###0.0#");
    SaltoDoble = QStringLiteral("\r\n\r\n");
    FicheroIni = RutaDatos(QStringLiteral("Corvelax.INI"));
    IniGeneral = FicheroIni;
    IniLocal.clear();
    CargarDecimales();
}

QString RutaDatos(const QString& nombre)
{
    return QDir(CarpetaDatos).filePath(nombre);
}

QString RutaRecurso(const QString& nombre)
{
    return QDir(CarpetaRecursos).filePath(nombre);
}

} // namespace corvela
