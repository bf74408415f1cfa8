// The CSV reader and writer of the readings exchange. Input, in NUL-separated
// fields: a byte choosing the separator, up to six field texts (UTF-8) written as
// one record and read back, then any bytes read as a whole file.
#include "EntradaFuzz.h"
#include "intercambio/LectorCsv.h"
#include "intercambio/TextoCsv.h"

#include <cmath>
#include <cstring>

using namespace corvela;

namespace {

constexpr int kCamposRegistro = 6;

// Whatever a file holds, the reader ends, moves forward and numbers its lines upwards.
void LeerFicheroCualquiera(const QByteArray& bytes, QChar separador)
{
    const QString texto = DecodificarCsv(bytes);
    LectorCsv lector(texto, separador);
    RegistroCsv registro;
    int anterior = 0;
    qsizetype registros = 0;
    while (lector.Siguiente(registro)) {
        EXIGE(registro.Linea > anterior, QStringLiteral("línea %1 tras %2").arg(registro.Linea).arg(anterior));
        anterior = registro.Linea;
        EXIGE(++registros <= texto.size() + 1, QStringLiteral("más registros que caracteres"));
    }
}

// A record written as the exports write it reads back field for field.
void IdaYVuelta(const QStringList& campos, QChar separador)
{
    QStringList escritos;
    for (const QString& campo : campos)
        escritos << CampoCsv(campo, separador);
    const QString texto = escritos.join(separador) + QStringLiteral("\r\n");
    LectorCsv lector(texto, separador);
    RegistroCsv registro;
    EXIGE(lector.Siguiente(registro), texto);
    if (!registro.Vacio())
        EXIGE(registro.Campos == campos, texto + QStringLiteral(" → ") + registro.Campos.join(u'|'));
}

// Every finite number comes back as the very same double, with either mark.
void NumeroIdaYVuelta(const QByteArray& bytes, QChar decimal)
{
    double valor = 0;
    std::memcpy(&valor, bytes.constData(), std::min<std::size_t>(sizeof valor, bytes.size()));
    if (!std::isfinite(valor))
        return;
    const QString texto = NumeroCsv(valor, decimal);
    const std::optional<double> leido = LeerNumeroCsv(texto);
    EXIGE(leido && (*leido == valor || (valor == 0 && *leido == 0)), texto);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, std::size_t tamano)
{
    const QList<QByteArray> campos = fuzz::Campos(datos, tamano, kCamposRegistro + 2);
    const bool coma = fuzz::Byte(campos[0]) % 2;
    const QChar separador = coma ? u',' : u';';
    QStringList registro;
    for (int i = 1; i <= kCamposRegistro; ++i)
        registro << QString::fromUtf8(campos[i]);
    IdaYVuelta(registro, separador);
    NumeroIdaYVuelta(campos[1], coma ? u'.' : u',');
    LeerFicheroCualquiera(campos.last(), separador);
    return 0;
}
