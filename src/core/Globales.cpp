#include "core/Globales.h"

#include "core/Parametros.h"

#include <QDir>
#include <QFileInfo>

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

QString BuscarCarpetaRecursos(const QString& carpetaPrograma)
{
    const QDir programa(carpetaPrograma);
    // CORVELA_RECURSOS_INSTALADOS: where the install puts them, from the executable's folder.
    for (const QString& candidata :
         {programa.path(), QDir::cleanPath(programa.filePath(QStringLiteral(CORVELA_RECURSOS_INSTALADOS)))}) {
        if (QFileInfo(QDir(candidata).filePath(QStringLiteral("IMAGEN"))).isDir())
            return candidata;
    }
    return programa.path();
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
