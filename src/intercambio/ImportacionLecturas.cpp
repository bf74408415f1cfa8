#include "intercambio/ImportacionLecturas.h"

#include "core/TextoNumerico.h"
#include "fieldbook/Reduccion.h"
#include "intercambio/LectorCsv.h"
#include "intercambio/TextoCsv.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <array>
#include <limits>

namespace corvela {

namespace {

using esquema::NombrePunto;

// A null text would bind as a missing value; the text columns hold the empty text instead.
QString TextoNoNulo(const QString& texto)
{
    return texto.isNull() ? QStringLiteral("") : texto;
}

// The columns of a readings file, captioned as the field book's entry row.
enum ColumnaLectura { kPunto, kResena, kMedia, kSuperior, kInferior, kHorizontal, kVertical, kNotas, kColumnas };
const std::array<QString, kColumnas> kTitulos{
    QStringLiteral("Punto"),    QStringLiteral("Reseña"),    QStringLiteral("Media"),    QStringLiteral("Superior"),
    QStringLiteral("Inferior"), QStringLiteral("Angulo H."), QStringLiteral("A. Vert."), QStringLiteral("Notas")};

// No readings file comes near this; a larger one is something else and would only fill the memory.
constexpr qint64 kTamanoMaximo = 256LL * 1024 * 1024;
// The longest piece of a bad field quoted back to the user.
constexpr int kMuestra = 20;

const QString kPatronMedia = QStringLiteral("0.000");

const QString kInsercion =
    QStringLiteral("INSERT INTO %1(%2) VALUES (%3)")
        .arg(esquema::Nombre(esquema::kPuntos),
             esquema::ColumnasPunto(esquema::kCodPunto, esquema::kCodEst, QStringLiteral("%1"), QStringLiteral(",")),
             QStringList(esquema::kColumnasPunto, QStringLiteral("?")).join(u','));

// What the rows are checked against: the station they go into.
struct Destino
{
    DatosEstacion Estacion;
    QSet<int> Existentes;
    int LargoResena = 0; // 0: no limit known
    int LargoNotas = 0;
};

struct Cabecera
{
    QChar Separador;
    int Linea = 0;
    int Campos = 0;
    std::array<int, kColumnas> Indices{};
};

// A caption as compared: blanks around and inside it collapsed, accents dropped, case folded.
QString Plegado(const QString& texto)
{
    const QString descompuesto = texto.simplified().normalized(QString::NormalizationForm_D);
    QString plegado;
    plegado.reserve(descompuesto.size());
    for (const QChar c : descompuesto) {
        if (c.category() != QChar::Mark_NonSpacing)
            plegado += c;
    }
    return plegado.toCaseFolded();
}

QString Muestra(const QString& texto)
{
    return texto.size() <= kMuestra ? texto : texto.left(kMuestra) + QStringLiteral("…");
}

QString Nombre(const QString& ruta)
{
    return QStringLiteral("«") + QFileInfo(ruta).fileName() + QStringLiteral("»");
}

// The captions found in a header record, and how many of the required ones.
struct Coincidencia
{
    std::array<int, kColumnas> Indices;
    int Halladas = 0;
    QString Repetida;
};

Coincidencia Casar(const QStringList& campos)
{
    Coincidencia c;
    c.Indices.fill(-1);
    for (int i = 0; i < campos.size(); ++i) {
        const QString titulo = Plegado(campos[i]);
        for (int col = 0; col < kColumnas; ++col) {
            if (titulo != Plegado(kTitulos[col]))
                continue;
            if (c.Indices[col] >= 0)
                c.Repetida = kTitulos[col];
            else
                ++c.Halladas;
            c.Indices[col] = i;
        }
    }
    return c;
}

// The first record that is not blank, split by the separator.
bool PrimerRegistro(const QString& texto, QChar separador, RegistroCsv& registro)
{
    LectorCsv lector(texto, separador);
    while (lector.Siguiente(registro)) {
        if (!registro.Vacio())
            return true;
    }
    return false;
}

// The header, with whichever separator makes it name every column.
std::optional<Cabecera> LeerCabecera(const QString& texto, const QString& ruta, QString& error)
{
    Coincidencia mejor;
    RegistroCsv registro;
    for (const QChar separador : {QChar(u';'), QChar(u',')}) {
        if (!PrimerRegistro(texto, separador, registro)) {
            error = QStringLiteral("El fichero %1 está vacío.").arg(Nombre(ruta));
            return std::nullopt;
        }
        const Coincidencia c = Casar(registro.Campos);
        if (c.Halladas == kColumnas && c.Repetida.isEmpty())
            return Cabecera{separador, registro.Linea, static_cast<int>(registro.Campos.size()), c.Indices};
        if (!c.Repetida.isEmpty() && c.Halladas == kColumnas) {
            error = QStringLiteral("La columna «%1» aparece dos veces en la cabecera (línea %2) del fichero %3.")
                        .arg(c.Repetida)
                        .arg(registro.Linea)
                        .arg(Nombre(ruta));
            return std::nullopt;
        }
        if (c.Halladas > mejor.Halladas)
            mejor = c;
    }
    QStringList faltan;
    for (int col = 0; col < kColumnas; ++col) {
        if (mejor.Halladas == 0 || mejor.Indices[col] < 0)
            faltan << kTitulos[col];
    }
    error = QStringLiteral("La primera línea del fichero %1 no nombra las columnas %2. Ha de llevar los títulos "
                           "Punto, Reseña, Media, Superior, Inferior, Angulo H., A. Vert. y Notas, separados por "
                           "«;» o por «,».")
                .arg(Nombre(ruta), faltan.join(QStringLiteral(", ")));
    return std::nullopt;
}

std::optional<QString> LeerTexto(const QString& ruta, bool& windows1252, QString& error)
{
    QFile fichero(ruta);
    if (!fichero.exists()) {
        error = QStringLiteral("No existe el fichero %1.").arg(Nombre(ruta));
        return std::nullopt;
    }
    if (fichero.size() > kTamanoMaximo) {
        error = QStringLiteral("El fichero %1 es demasiado grande para ser de lecturas.").arg(Nombre(ruta));
        return std::nullopt;
    }
    if (!fichero.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("No se puede leer el fichero %1: %2").arg(Nombre(ruta), fichero.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = fichero.readAll();
    if (bytes.contains('\0')) {
        error = QStringLiteral("El fichero %1 no es un fichero de texto.").arg(Nombre(ruta));
        return std::nullopt;
    }
    return DecodificarCsv(bytes, &windows1252);
}

std::optional<Destino> LeerDestino(int codObra, int codEstacion, QString& error)
{
    const QVariantList clave{codObra, codEstacion};
    auto estacion =
        AbrirLectura(QStringLiteral("SELECT ALTAPAR, COORDX, COORDY, COORDZ FROM %1 WHERE CODOBRA=? AND CODEST=?")
                         .arg(esquema::Nombre(esquema::kEstaciones)),
                     clave);
    auto puntos = AbrirLectura(
        QStringLiteral("SELECT CODPUNTO FROM %1 WHERE CODOBRA=? AND CODEST=?").arg(esquema::Nombre(esquema::kPuntos)),
        clave);
    Destino d;
    if (estacion && puntos && estacion->next()) {
        d.Estacion = {ValorNumerico(estacion->value(0)), ValorNumerico(estacion->value(1)),
                      ValorNumerico(estacion->value(2)), ValorNumerico(estacion->value(3))};
        while (puntos->next())
            d.Existentes.insert(puntos->value(0).toInt());
        if (!puntos->lastError().isValid()) {
            d.LargoResena = LongitudColumna(NombrePunto(esquema::kResena));
            d.LargoNotas = LongitudColumna(NombrePunto(esquema::kObserv));
            return d;
        }
        FijarError(puntos->lastError());
    } else if (estacion && !estacion->lastError().isValid()) {
        error = QStringLiteral("La ESTACIÓN %1 de la OBRA %2 no existe.").arg(codEstacion).arg(codObra);
        return std::nullopt;
    }
    error = QStringLiteral("No se pudo leer la estación: ") + TextoError(ErrorPendiente());
    LimpiarError();
    return std::nullopt;
}

std::optional<int> CodigoPunto(const QString& campo)
{
    const QString texto = campo.trimmed();
    if (texto.isEmpty() || texto.size() > 10)
        return std::nullopt;
    for (const QChar c : texto) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const qlonglong codigo = texto.toLongLong();
    if (codigo < 1 || codigo > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(codigo);
}

// One row read and checked against its station and the rows before it.
class AnalisisFila
{
public:
    AnalisisFila(const Cabecera& cabecera, const Destino& destino, QHash<int, int>& vistos)
        : cabecera_(cabecera), destino_(destino), vistos_(vistos)
    {
    }

    // The point the row stands for, or nothing with the reasons in motivo.
    std::optional<Punto> Analizar(const RegistroCsv& registro, QString& motivo)
    {
        motivos_.clear();
        if (registro.ComillasSinCerrar)
            motivos_ << QStringLiteral("comillas sin cerrar desde esta línea hasta el final del fichero");
        else if (registro.Campos.size() != cabecera_.Campos)
            motivos_ << QStringLiteral("la fila tiene %1 campos y la cabecera %2")
                            .arg(registro.Campos.size())
                            .arg(cabecera_.Campos);
        if (!motivos_.isEmpty()) {
            motivo = motivos_.join(QStringLiteral("; "));
            return std::nullopt;
        }
        campos_ = &registro.Campos;
        Punto p;
        Codigo(registro.Linea, p);
        p.Resena = Texto(kResena, destino_.LargoResena);
        p.Notas = Texto(kNotas, destino_.LargoNotas);
        std::array<double, kNotas - kMedia> lecturas{};
        bool legibles = true;
        for (int col = kMedia; col < kNotas; ++col)
            legibles = Numero(static_cast<ColumnaLectura>(col), lecturas[col - kMedia]) && legibles;
        if (Campo(kMedia).trimmed().isEmpty())
            lecturas[0] = MediaCompletada(lecturas[1], lecturas[2]);
        if (legibles)
            Reducir(lecturas, p);
        motivo = motivos_.join(QStringLiteral("; "));
        return motivos_.isEmpty() ? std::optional<Punto>(p) : std::nullopt;
    }

private:
    const QString& Campo(ColumnaLectura col) const { return (*campos_)[cabecera_.Indices[col]]; }

    void Codigo(int linea, Punto& p)
    {
        const std::optional<int> codigo = CodigoPunto(Campo(kPunto));
        if (!codigo) {
            motivos_ << QStringLiteral("Punto «%1» no es un número entero mayor que cero").arg(Muestra(Campo(kPunto)));
            return;
        }
        p.Codigo = *codigo;
        const auto visto = vistos_.constFind(*codigo);
        if (visto != vistos_.constEnd())
            motivos_ << QStringLiteral("el punto %1 ya está en la línea %2").arg(*codigo).arg(*visto);
        else
            vistos_.insert(*codigo, linea);
        if (destino_.Existentes.contains(*codigo))
            motivos_ << QStringLiteral("el punto %1 ya existe en la estación").arg(*codigo);
    }

    QString Texto(ColumnaLectura col, int largo)
    {
        const QString& texto = Campo(col);
        if (texto.contains(u'\n') || texto.contains(u'\r'))
            motivos_ << QStringLiteral("salto de línea en %1").arg(kTitulos[col]);
        if (largo > 0 && texto.size() > largo)
            motivos_ << QStringLiteral("%1 tiene %2 caracteres y la base de datos admite %3")
                            .arg(kTitulos[col])
                            .arg(texto.size())
                            .arg(largo);
        return TextoNoNulo(texto);
    }

    // An empty field is 0, as an empty entry field of the field book.
    bool Numero(ColumnaLectura col, double& valor)
    {
        const QString& campo = Campo(col);
        const std::optional<double> numero = campo.trimmed().isEmpty() ? 0.0 : LeerNumeroCsv(campo);
        if (!numero) {
            motivos_ << QStringLiteral("número ilegible en %1").arg(kTitulos[col]);
            return false;
        }
        valor = *numero;
        return true;
    }

    // An empty middle reading is the mean of the other two, as the field book
    // fills it: the mean's three-decimal text read back.
    static double MediaCompletada(double superior, double inferior)
    {
        return ValorNumerico(PatronEntrada((inferior + superior) / 2.0, kPatronMedia));
    }

    // The field book's wire check, answered without asking: a middle reading that
    // is not the mean at three decimals is a fault, not a question.
    void ComprobarHilos(double media, double superior, double inferior)
    {
        if (!(inferior < media && media < superior))
            motivos_ << QStringLiteral("lectura de hilos incorrecta: ha de ser Inferior < Media < Superior");
        const QString textoMedia = PatronEntrada((inferior + superior) / 2.0, kPatronMedia);
        const QString textoLeido = PatronEntrada(media, kPatronMedia);
        if (textoLeido != textoMedia)
            motivos_ << QStringLiteral("el hilo medio %1 no coincide con la media del superior e inferior, %2")
                            .arg(textoLeido, textoMedia);
    }

    // As a typed point: the distance stored as shown, the coordinates from it.
    void Reducir(const std::array<double, kNotas - kMedia>& l, Punto& p)
    {
        const double media = l[0], superior = l[1], inferior = l[2], horizontal = l[3], vertical = l[4];
        ComprobarHilos(media, superior, inferior);
        const ResultadoReduccion r =
            ReducirObservacion(media, superior, inferior, horizontal, vertical, destino_.Estacion);
        p.Numeros = {media, superior, inferior, horizontal, vertical, ValorNumerico(r.Distancia), r.X, r.Y, r.Z};
    }

    const Cabecera& cabecera_;
    const Destino& destino_;
    QHash<int, int>& vistos_;
    const QStringList* campos_ = nullptr;
    QStringList motivos_;
};

void AnalizarFilas(const QString& texto, const Cabecera& cabecera, const Destino& destino, AnalisisLecturas& a)
{
    LectorCsv lector(texto, cabecera.Separador);
    RegistroCsv registro;
    do {
        if (!lector.Siguiente(registro))
            return;
    } while (registro.Linea < cabecera.Linea);
    QHash<int, int> vistos;
    AnalisisFila fila(cabecera, destino, vistos);
    QString motivo;
    while (lector.Siguiente(registro)) {
        if (registro.Vacio())
            continue;
        std::optional<Punto> punto = fila.Analizar(registro, motivo);
        if (punto)
            a.Buenos.push_back(std::move(*punto));
        else
            a.Erroneas.push_back(FilaErronea{registro.Linea, motivo});
    }
}

} // namespace

AnalisisLecturas AnalizarLecturas(const QString& ruta, int codObra, int codEstacion)
{
    AnalisisLecturas a;
    const std::optional<QString> texto = LeerTexto(ruta, a.Windows1252, a.ErrorFichero);
    if (!texto)
        return a;
    const std::optional<Cabecera> cabecera = LeerCabecera(*texto, ruta, a.ErrorFichero);
    if (!cabecera)
        return a;
    const std::optional<Destino> destino = LeerDestino(codObra, codEstacion, a.ErrorFichero);
    if (!destino)
        return a;
    AnalizarFilas(*texto, *cabecera, *destino, a);
    if (a.Buenos.isEmpty() && a.Erroneas.isEmpty())
        a.ErrorFichero = QStringLiteral("El fichero %1 no tiene ninguna lectura bajo la cabecera.").arg(Nombre(ruta));
    return a;
}

bool ImportarLecturas(const AnalisisLecturas& analisis, int codObra, int codEstacion)
{
    if (!analisis.Aceptable()) {
        FijarError(kErrorLecturasNoAceptables,
                   QStringLiteral("El fichero de lecturas tiene errores: no se ha importado ningún punto."));
        return false;
    }
    // Declared before the transaction, so that a server frees it only once the
    // transaction has ended: inside a failed one it could not.
    QSqlQuery insercion(BaseDatos());
    Transaccion transaccion;
    if (!transaccion.Iniciada())
        return false;
    if (!insercion.prepare(kInsercion)) {
        FijarError(insercion.lastError());
        return false;
    }
    for (const Punto& p : analisis.Buenos) {
        insercion.bindValue(esquema::kCodPunto, p.Codigo);
        insercion.bindValue(esquema::kResena, TextoNoNulo(p.Resena));
        for (int i = 0; i < kNumerosPunto; ++i)
            insercion.bindValue(esquema::kLectMed + i, p.Numeros[static_cast<size_t>(i)]);
        insercion.bindValue(esquema::kObserv, TextoNoNulo(p.Notas));
        insercion.bindValue(esquema::kCodObra, codObra);
        insercion.bindValue(esquema::kCodEst, codEstacion);
        if (!insercion.exec()) {
            FijarError(insercion.lastError());
            return false;
        }
    }
    return transaccion.Confirmar();
}

} // namespace corvela
