#include "core/Globales.h"

#include <QDir>

namespace corvela {

QString CarpetaDatos;
QString CarpetaRecursos;
QString FicheroIni;
QString IniGeneral;
QString IniLocal;
int NumDecimales = 3;
QString FormatoDecimales = QStringLiteral("###0.000");
QString FormatoDistancia = QStringLiteral("###0.0#");
QString SaltoDoble = QStringLiteral("\r\n\r\n");

QString RutaDatos(const QString& nombre)
{
    return QDir(CarpetaDatos).filePath(nombre);
}

QString RutaRecurso(const QString& nombre)
{
    return QDir(CarpetaRecursos).filePath(nombre);
}

}  // namespace corvela
