#include "records/GestionTablas.h"

#include "core/AjusteFormulario.h"
#include "core/CamposEntrada.h"
#include "core/Globales.h"
#include "core/Mensajes.h"
#include "core/TextoNumerico.h"
#include "records/AccesoDatos.h"
#include "records/BaseDatos.h"
#include "records/ErrorDatos.h"
#include "records/Esquema.h"
#include "records/FormularioEnlazado.h"

#include <QLineEdit>
#include <QStringList>
#include <cmath>

namespace corvela {

namespace {

constexpr int kIntentos = 10;
constexpr int kEsperaPorIntento = 1000; // milliseconds
constexpr int kErrorElementoNoEncontrado = 3265;
// A QLineEdit may hand back a null text, which the driver would bind as a missing value.
const QString kTextoVacio = QStringLiteral("");

QString TextoDe(const QLineEdit* campo)
{
    const QString texto = campo->text();
    return texto.isNull() ? kTextoVacio : texto;
}

bool EsColumnaNumerica(const QString& columna)
{
    return EsCampoNumerico(TipoColumna(columna));
}

// What a typed text stores in a column: text columns keep it exactly as typed
// (an empty field is an empty text); numeric columns get its number, read with
// either decimal separator, and nothing when the field is empty.
QVariant ValorParaColumna(const QString& columna, const QString& texto)
{
    if (!EsColumnaNumerica(columna))
        return texto;
    if (texto.trimmed().isEmpty())
        return QVariant(QMetaType::fromType<double>());
    const double valor = ValorNumerico(texto);
    if (TipoColumna(columna) == QMetaType::Int && std::trunc(valor) == valor)
        return static_cast<qlonglong>(valor);
    return valor;
}

// The begins-with pattern of a typed criterion: "*" any run, "?" any one
// character, and every other character (%, _ and the escape included) itself.
QString PatronComienzaPor(const QString& texto)
{
    QString patron;
    for (const QChar c : texto) {
        if (c == u'*') {
            patron += u'%';
        } else if (c == u'?') {
            patron += u'_';
        } else {
            if (c == u'%' || c == u'_' || c == u'\\')
                patron += u'\\';
            patron += c;
        }
    }
    return patron + u'%';
}

// Numbers are compared through their text, so that 1 also finds 10 to 19;
// texts without regard to case, for every letter (MUÑOZ finds Muñoz).
QString CriterioComienzaPor(const QString& columna)
{
    if (EsColumnaNumerica(columna))
        return QStringLiteral("CAST(") + columna + QStringLiteral(" AS TEXT) LIKE ? ESCAPE '\\'");
    return TextoPlegado(columna) + QStringLiteral(" LIKE ") + TextoPlegado(QStringLiteral("?")) +
           QStringLiteral(" ESCAPE '\\'");
}

QString ValorDelCriterio(const QString& columna, const QString& texto)
{
    // The database writes numbers with a point; the user types a comma.
    return PatronComienzaPor(EsColumnaNumerica(columna) ? QString(texto).replace(u',', u'.') : texto);
}

// The label a column's field has on the card, its name when it has none.
QString EtiquetaDe(const QString& columna)
{
    for (const esquema::CampoObra& campo : esquema::kCamposObra) {
        if (columna.compare(QLatin1String(campo.columna), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(campo.etiqueta);
    }
    return columna;
}

QString ObraCambiada(const QVariant& codigo, const QString& consecuencia)
{
    return TextoRegistroCambiado(QStringLiteral("La obra ") + codigo.toString(), QStringLiteral("se cargó en la ficha"),
                                 QStringLiteral("la ha modificado o borrado"), consecuencia);
}

} // namespace

QString GestionTablas::TablaResuelta(const QString& tabla) const
{
    if (!tabla.isEmpty() || !Formulario)
        return tabla;
    return Formulario->Tabla();
}

bool GestionTablas::MaximaLongitud(const RecordSet* Tabla, const FormularioEnlazado* formulario)
{
    if (!formulario)
        return false;
    for (const CampoEnlazado& enlace : formulario->CamposEnlazados()) {
        if (!Tabla || !Tabla->TieneCampo(enlace.Columna)) {
            FijarError(kErrorElementoNoEncontrado, QStringLiteral("Elemento no encontrado en esta colección."));
            return false;
        }
        // Only typing is limited: a longer value the program shows, a work code
        // of five digits for one, must reach the statements whole.
        LimitarTecleo(enlace.Campo, Tabla->TamanoDeclarado(enlace.Columna));
    }
    return true;
}

bool GestionTablas::Buscar_Registro(const QString& Tabla, const QString& Orden)
{
    QStringList criterios;
    QVariantList valores;
    Sql = QStringLiteral("SELECT * FROM  ") + TablaResuelta(Tabla);
    if (Formulario) {
        for (const CampoEnlazado& enlace : Formulario->CamposEnlazados()) {
            const QString texto = TextoDe(enlace.Campo);
            if (texto.trimmed().isEmpty())
                continue;
            criterios << CriterioComienzaPor(enlace.Columna);
            valores << ValorDelCriterio(enlace.Columna, texto);
        }
    }
    QString condicion = criterios.join(QStringLiteral(" AND "));
    if (condicion.isEmpty())
        condicion = Where.trimmed();
    else if (!Where.trimmed().isEmpty())
        condicion = (condicion + QStringLiteral(" AND ") + Where).trimmed();
    if (!condicion.isEmpty())
        Sql += QStringLiteral(" WHERE ") + condicion;
    if (!Orden.isEmpty())
        Sql += QStringLiteral(" ORDER BY ") + Orden;
    return AbrirConsulta(valores);
}

bool GestionTablas::AbrirConsulta(const QVariantList& valores)
{
    auto resultado = std::make_shared<RecordSet>(RecordSet::Abrir(Sql, valores));
    if (!resultado->Valido()) {
        RS.reset();
        return false;
    }
    RS = std::move(resultado);
    return RS->RecordCount() >= 1;
}

// A typed code becomes its number; none (an empty field, 0 or below, as no key
// can be) when the insert is to take the next free one.
bool GestionTablas::CodigoTecleado()
{
    QLineEdit* codigo = Formulario->txtFields(0);
    const double tecleado = ValorNumerico(QStringLiteral("0") + codigo->text());
    if (tecleado < 1)
        return false;
    codigo->setText(TextoGeneral(tecleado));
    return true;
}

QVariantList GestionTablas::ValoresMostrados() const
{
    QVariantList valores;
    for (const CampoEnlazado& enlace : Formulario->CamposEnlazados())
        valores << ValorParaColumna(enlace.Columna, TextoDe(enlace.Campo));
    return valores;
}

// Takes the next free code and inserts the record with it in one transaction,
// so that another instance adding a record at the same moment can never take
// the same code; the code field shows the code once the record is stored.
bool GestionTablas::InsertarConCodigoNuevo(const QVariantList& valoresSinCodigo, int* filas)
{
    Transaccion transaccion;
    if (!transaccion.Iniciada())
        return false;
    const std::optional<int> siguiente = MaximoValor(Formulario->Tabla(), Formulario->ColumnaClave());
    if (!siguiente)
        return false;
    QVariantList valores = valoresSinCodigo;
    valores[0] = *siguiente;
    if (!EjecutarAccion(Sql, valores, filas) || !transaccion.Confirmar())
        return false;
    Formulario->txtFields(0)->setText(QString::number(*siguiente));
    return true;
}

bool GestionTablas::Añadir_Registro(const QString& Tabla, bool Updatar)
{
    if (!Formulario || !Formulario->txtFields(0))
        return false;
    const bool tecleado = CodigoTecleado();
    QStringList columnas;
    for (const CampoEnlazado& enlace : Formulario->CamposEnlazados())
        columnas << enlace.Columna;
    Sql = QStringLiteral("Insert into ") + TablaResuelta(Tabla) + u'(' + columnas.join(u',') +
          QStringLiteral(") values (") + QStringList(columnas.size(), QStringLiteral("?")).join(u',') + u')';
    const QVariantList valores = ValoresMostrados();
    if (tecleado)
        return EjecutarSQL(Sql, valores, Updatar) == Ejecucion::Hecha;
    const auto insertar = [this, &valores](int* filas) { return InsertarConCodigoNuevo(valores, filas); };
    return EjecutarSQL(insertar, Updatar) == Ejecucion::Hecha;
}

bool GestionTablas::Modificar_Registro(const QString& Tabla)
{
    if (!Formulario || Formulario->CamposEnlazados().isEmpty())
        return false;
    QStringList asignaciones;
    QVariantList valores;
    for (const CampoEnlazado& enlace : Formulario->CamposEnlazados()) {
        asignaciones << enlace.Columna + QStringLiteral(" = ?");
        valores << ValorParaColumna(enlace.Columna, TextoDe(enlace.Campo));
    }
    const QVariant clave = ValorParaColumna(Formulario->ColumnaClave(), TextoDe(Formulario->txtFields(0)));
    valores << clave;
    const QString cargada = CondicionCargada(clave, valores);
    const QString tabla = TablaResuelta(Tabla);
    Sql = QStringLiteral("UPDATE ") + tabla + QStringLiteral(" SET ") + asignaciones.join(QStringLiteral(", ")) +
          CondicionClave() + cargada;
    const QString siCambiada =
        cargada.isEmpty() ? QString() : ObraCambiada(clave, QStringLiteral("No se ha grabado nada."));
    const QHash<QString, QString> mostrados = TextosCargados();
    const Ejecucion ejecucion = EjecutarSQL(Sql, valores, false, siCambiada);
    if (ejecucion == Ejecucion::Fallida)
        return false;
    RefrescarActual(tabla, clave);
    if (ejecucion == Ejecucion::RegistroCambiado)
        InformarCambiado(tabla, clave, &mostrados);
    return ejecucion == Ejecucion::Hecha;
}

// The texts of the text columns of RS's current record, as the card showed them when loaded.
QHash<QString, QString> GestionTablas::TextosCargados() const
{
    QHash<QString, QString> textos;
    if (!RS || RS->AbsolutePosition() < 0)
        return textos;
    for (const CampoEnlazado& enlace : Formulario->CamposEnlazados()) {
        if (!EsColumnaNumerica(enlace.Columna) && RS->TieneCampo(enlace.Columna))
            textos.insert(enlace.Columna, RS->ValorCampo(enlace.Columna).toString());
    }
    return textos;
}

// Tells the user that the record changed under them. A field the user had not
// touched since it was loaded (cargados) takes what is stored now; one the user
// changed keeps what was typed, and where another user stored something else
// there too, the notice names it, so that the user chooses which to keep and a
// second save writes only the user's own changes.
void GestionTablas::InformarCambiado(const QString& tabla, const QVariant& clave,
                                     const QHash<QString, QString>* cargados)
{
    const QString aviso = ErrorPendiente().Descripcion;
    const RecordSet grabado = RecordSet::Abrir(QStringLiteral("SELECT * FROM ") + tabla + CondicionClave(), {clave});
    if (grabado.Valido() && grabado.RecordCount() == 0) {
        FijarError(kErrorRegistroCambiado, aviso + QStringLiteral(" Ya no está grabada."));
        VerPosibleError();
        return;
    }
    QStringList enConflicto;
    for (const CampoEnlazado& enlace : Formulario->CamposEnlazados()) {
        if (grabado.RecordCount() == 0 || !grabado.TieneCampo(enlace.Columna) || EsColumnaNumerica(enlace.Columna))
            continue;
        const QString ahora = grabado.ValorCampo(enlace.Columna).toString();
        const QString escrito = TextoDe(enlace.Campo);
        const bool conocido = cargados && cargados->contains(enlace.Columna);
        if (conocido && escrito == cargados->value(enlace.Columna))
            enlace.Campo->setText(ahora);
        else if (ahora != escrito && (!conocido || ahora != cargados->value(enlace.Columna)))
            enConflicto << EtiquetaDe(enlace.Columna) + QStringLiteral(": ") + ahora;
    }
    QString texto = aviso;
    if (cargados)
        texto += QStringLiteral(" La ficha muestra lo grabado ahora en los campos que usted no había cambiado y "
                                "conserva lo que usted escribió en los demás; si vuelve a grabar, se grabará así.");
    if (!enConflicto.isEmpty())
        texto += SaltoDoble + QStringLiteral("Grabado ahora por el otro usuario, donde usted escribió otra cosa:") +
                 QStringLiteral("\r\n") + enConflicto.join(QStringLiteral("\r\n"));
    FijarError(kErrorRegistroCambiado, texto);
    VerPosibleError();
}

QString GestionTablas::CondicionClave() const
{
    return QStringLiteral(" WHERE ") + Formulario->ColumnaClave() + QStringLiteral(" = ?");
}

// Whether RS's current record is the one with that key.
bool GestionTablas::EsElActual(const QVariant& clave) const
{
    const QString columnaClave = Formulario->ColumnaClave();
    return RS && RS->AbsolutePosition() >= 0 && RS->TieneCampo(columnaClave) &&
           RS->Valor(columnaClave).toLongLong() == clave.toLongLong();
}

// The condition that the shown record is still stored as RS's current record holds
// it, when that record is the shown one: every bound column compared, missing values alike.
QString GestionTablas::CondicionCargada(const QVariant& clave, QVariantList& valores) const
{
    if (!EsElActual(clave))
        return QString();
    const QString columnaClave = Formulario->ColumnaClave();
    QString condicion;
    for (const CampoEnlazado& enlace : Formulario->CamposEnlazados()) {
        if (enlace.Columna.compare(columnaClave, Qt::CaseInsensitive) == 0 || !RS->TieneCampo(enlace.Columna))
            continue;
        condicion += QStringLiteral(" AND ") + enlace.Columna + QStringLiteral(" IS NOT DISTINCT FROM ?");
        valores << RS->Valor(enlace.Columna);
    }
    return condicion;
}

// The search result is read once: the record just rewritten takes its new values
// there too, or browsing back to it would show, and a later save write, the old ones.
void GestionTablas::RefrescarActual(const QString& tabla, const QVariant& clave)
{
    if (!EsElActual(clave))
        return;
    const QString sql = QStringLiteral("SELECT * FROM ") + tabla + CondicionClave();
    RS->SustituirActual(RecordSet::Abrir(sql, {clave}));
}

bool GestionTablas::Borrar_Registro(const QString& Tabla, int Codigo)
{
    const QString tabla = TablaResuelta(Tabla);
    // The key is known only for the window's own table.
    if (!Formulario || tabla != Formulario->Tabla()) {
        Dialogos().MsgBox(QStringLiteral("Borrado anulado por falta de Valor Clave."), Icono::Informacion,
                          Botones::Aceptar);
        return false;
    }
    QVariantList valores{Codigo};
    const QString cargada = CondicionCargada(Codigo, valores);
    Sql = QStringLiteral("DELETE FROM ") + tabla + CondicionClave() + cargada;
    const QString siCambiada =
        cargada.isEmpty() ? QString() : ObraCambiada(Codigo, QStringLiteral("No se ha borrado nada."));
    const Ejecucion ejecucion = EjecutarSQL(Sql, valores, false, siCambiada);
    if (ejecucion == Ejecucion::RegistroCambiado) {
        RefrescarActual(tabla, Codigo);
        InformarCambiado(tabla, Codigo, nullptr);
    }
    if (ejecucion != Ejecucion::Hecha)
        return false;
    if (!RS || (RS->Bof() && RS->Eof()))
        return false;
    RS->Requery();
    return true;
}

std::optional<int> GestionTablas::MaximoValor(const QString& StrTabla, const QString& StrCampo,
                                              const QString& condicion, const QVariantList& valores) const
{
    return corvela::MaximoValor(StrTabla, StrCampo, condicion, valores);
}

// Runs an action statement up to ten times; the user is asked before every new
// attempt, and each attempt waits only briefly for a database that another
// instance is writing, so that a locked database never holds the window long.
// A repeated key is never retried. A statement that changes no row cannot succeed
// by retrying and fails at once: the record is gone or, when siCambiado tells
// what to say then, no longer stored as it was loaded.
GestionTablas::Ejecucion GestionTablas::EjecutarSQL(const QString& sql, const QVariantList& valores, bool Updatar,
                                                    const QString& siCambiado)
{
    const auto ejecutar = [&sql, &valores](int* filas) { return EjecutarAccion(sql, valores, filas); };
    return EjecutarSQL(ejecutar, Updatar, siCambiado);
}

// A record changed by another instance is left pending for the caller to tell,
// with what is stored now; any other failure is reported here.
GestionTablas::Ejecucion GestionTablas::EjecutarSQL(const std::function<bool(int*)>& accion, bool Updatar,
                                                    const QString& siCambiado)
{
    const EsperaLimitada espera(kEsperaPorIntento);
    for (int intento = 1; intento <= kIntentos; ++intento) {
        if (intento > 1 && !SeguirIntentando())
            break;
        LimpiarError();
        int filas = 0;
        if (accion(&filas) && filas == 0) {
            if (siCambiado.isEmpty())
                FijarError(kErrorSinRegistroActual,
                           QStringLiteral("No existe ningún registro con ese código; no se ha cambiado nada."));
            else
                FijarError(kErrorRegistroCambiado, siCambiado);
            break;
        }
        // No code is left to take, or other records depend on this one: a retry cannot do better.
        const int numero = ErrorPendiente().Numero;
        if (numero == 0 || numero == kErrorDesbordamiento || numero == kErrorConDependientes)
            break;
        if (Updatar)
            return Modificar_Registro() ? Ejecucion::Hecha : Ejecucion::Fallida;
    }
    const int numero = ErrorPendiente().Numero;
    if (numero == 0)
        return Ejecucion::Hecha;
    if (numero == kErrorRegistroCambiado)
        return Ejecucion::RegistroCambiado;
    VerPosibleError();
    return Ejecucion::Fallida;
}

bool GestionTablas::SeguirIntentando()
{
    const ErrorDatos& error = ErrorPendiente();
    if (error.Numero == kErrorClaveDuplicada) {
        Dialogos().MsgBox(QStringLiteral("El registro que intenta añadir ya existe con ese mismo código."),
                          Icono::Pregunta, Botones::Aceptar);
        return false;
    }
    return Dialogos().MsgBox(QStringLiteral("Error al ejecutar la instrucción SQL, ¿Reintentar?") + SaltoDoble +
                                 TextoError(error),
                             Icono::Pregunta, Botones::AceptarCancelar) != Respuesta::Cancelar;
}

void GestionTablas::VerPosibleError()
{
    InformarError();
}

void GestionTablas::EnviarFoco()
{
    if (!Formulario)
        return;
    QLineEdit* codigo = Formulario->txtFields(0);
    QLineEdit* primero = Formulario->txtFields(1);
    const bool codigoBloqueado = codigo && (codigo->isReadOnly() || !codigo->isEnabled());
    if (primero && (!primero->text().isEmpty() || codigoBloqueado))
        primero->setFocus();
    else if (codigo)
        codigo->setFocus();
}

void GestionTablas::Ajustar_Form(QWidget* ventana)
{
    corvela::Ajustar_Form(ventana);
}

} // namespace corvela
