#include "core/CamposEntrada.h"

#include "core/TextoNumerico.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>

namespace corvela {

namespace {

constexpr int kRetroceso = 8;
constexpr int kIntro = 13;
constexpr int kEscape = 27;
constexpr int kComillaDoble = 34;
constexpr int kComillaSimple = 39;
constexpr int kComa = 44;
constexpr int kPunto = 46;

bool EsMultilinea(QWidget* campo)
{
    return qobject_cast<QTextEdit*>(campo) || qobject_cast<QPlainTextEdit*>(campo);
}

// The character code a key press types, or -1 when it types nothing (arrows, Tab...).
int CodigoDe(const QKeyEvent* tecla)
{
    switch (tecla->key()) {
    case Qt::Key_Backspace:
        return kRetroceso;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kIntro;
    case Qt::Key_Escape:
        return kEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    const QString texto = tecla->text();
    if (texto.size() != 1)
        return -1;
    return texto[0].unicode();
}

} // namespace

int TeclaNumerica(int& codigoTecla, const QString& separador)
{
    const int codigoSeparador = separador.isEmpty() ? 0 : separador[0].unicode();
    if (codigoTecla == kComa || codigoTecla == kPunto)
        codigoTecla = codigoSeparador;
    if (codigoTecla >= u'0' && codigoTecla <= u'9')
        return codigoTecla;
    if (codigoTecla == kRetroceso)
        return kRetroceso;
    if (codigoTecla != 0 && codigoTecla == codigoSeparador)
        return codigoTecla;
    codigoTecla = 0;
    return 0;
}

int TeclaEdicion(int& codigoTecla, QWidget* campo)
{
    switch (codigoTecla) {
    case kRetroceso:
        return kRetroceso;
    case kIntro:
        if (EsMultilinea(campo))
            return kIntro;
        if (campo) {
            QKeyEvent tabulador(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(campo, &tabulador);
        }
        codigoTecla = 0;
        return 0;
    case kEscape:
        return 0;
    case kComillaDoble:
        codigoTecla = kComillaSimple;
        return kComillaSimple;
    default:
        return codigoTecla;
    }
}

int ContarApariciones(const QString& texto, const QString& buscado, int& primera, int& ultima)
{
    int cuenta = 0;
    primera = 0;
    if (buscado.isEmpty())
        return 0;
    for (int desde = texto.indexOf(buscado, 0, Qt::CaseSensitive); desde >= 0;
         desde = texto.indexOf(buscado, desde + 1, Qt::CaseSensitive)) {
        if (cuenta++ == 0)
            primera = desde + 1;
        ultima = desde + 1;
    }
    return cuenta;
}

void AjustarNumero(QLineEdit* campo, const QString& separador, int maxDecimales)
{
    QString s = campo->text();
    int n = 0;
    int primera = 0;
    int p = 0;
    if (!separador.isEmpty()) {
        n = ContarApariciones(s, separador, primera, p);
        if (n > 1) {
            s.replace(separador, QStringLiteral("|"));
            s = s.left(p - 1) + separador + s.mid(p - 1 + separador.size());
            s.remove(u'|');
        }
    }
    if (n > 0 && s.size() > p + maxDecimales)
        s = s.left(p + maxDecimales);
    if (s.contains(u'-') && s != QStringLiteral("-")) {
        const double valor = ValorNumerico(s);
        s = TextoGeneral(valor, separador.isEmpty() ? SeparadorDecimal() : separador);
        if (!(valor < 0))
            s.prepend(u'-');
    }
    if (s != campo->text())
        campo->setText(s);
    campo->setCursorPosition(s.size());
}

void SeleccionarTexto(QLineEdit* campo)
{
    if (!campo)
        return;
    campo->selectAll();
    if (!campo->hasFocus())
        campo->setFocus();
    // A mouse click that gave the focus would otherwise clear the selection again.
    QTimer::singleShot(0, campo, [campo] {
        if (campo->hasFocus())
            campo->selectAll();
    });
}

void SoloDigitos(QLineEdit* campo)
{
    campo->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), campo));
}

FiltroTeclas::FiltroTeclas(QWidget* campo, Funcion funcion, int longitudMaxima, Limite limite)
    : QObject(campo), funcion_(std::move(funcion)), longitudMaxima_(longitudMaxima), limite_(limite)
{
    campo->installEventFilter(this);
    auto* linea = qobject_cast<QLineEdit*>(campo);
    if (!linea || limite_ == Limite::SoloTecleo)
        return;
    // A user's edit is announced before the change itself, so anterior_ still
    // holds the text it started from; a paste or a drop is cut there.
    anterior_ = linea->text();
    connect(linea, &QLineEdit::textEdited, this, [this, linea] { RecortarInsercion(linea); });
    connect(linea, &QLineEdit::textChanged, this, [this, linea] { anterior_ = linea->text(); });
}

// Keeps of what the user inserted only as much as fits within the limit, and
// nothing when the field was already full.
void FiltroTeclas::RecortarInsercion(QLineEdit* linea)
{
    const QString nuevo = linea->text();
    // A text the program wrote may be longer than the limit: shortening it is always allowed.
    if (longitudMaxima_ <= 0 || nuevo.size() <= longitudMaxima_ || nuevo.size() <= anterior_.size())
        return;
    const qsizetype comun = std::min(nuevo.size(), anterior_.size());
    qsizetype delante = 0;
    while (delante < comun && nuevo[delante] == anterior_[delante])
        ++delante;
    qsizetype detras = 0;
    while (detras < comun - delante && nuevo[nuevo.size() - 1 - detras] == anterior_[anterior_.size() - 1 - detras])
        ++detras;
    const qsizetype insertado = nuevo.size() - delante - detras;
    const qsizetype cabe = longitudMaxima_ - (nuevo.size() - insertado);
    if (cabe <= 0) {
        linea->setText(anterior_);
        return;
    }
    linea->setText(nuevo.left(delante + cabe) + nuevo.right(detras));
    linea->setCursorPosition(static_cast<int>(delante + cabe));
}

FiltroTeclas* FiltroTeclas::De(const QWidget* campo)
{
    return campo ? campo->findChild<FiltroTeclas*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool FiltroTeclas::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() != QEvent::KeyPress)
        return false;
    auto* tecla = static_cast<QKeyEvent*>(evento);
    int codigo = CodigoDe(tecla);
    if (codigo < 0)
        return false;
    const int original = codigo;
    auto* campo = qobject_cast<QWidget*>(objeto);
    const int resultado = funcion_ ? funcion_(codigo, campo) : codigo;
    if (resultado == 0 || (resultado >= 32 && Lleno(campo)))
        return true;
    if (resultado == original)
        return false;
    if (auto* linea = qobject_cast<QLineEdit*>(campo))
        linea->insert(QString(QChar(resultado)));
    return true;
}

bool FiltroTeclas::Lleno(QWidget* campo) const
{
    const auto* linea = qobject_cast<QLineEdit*>(campo);
    return linea && longitudMaxima_ > 0 && linea->text().size() - linea->selectedText().size() >= longitudMaxima_;
}

void LimitarTecleo(QLineEdit* campo, int longitudMaxima)
{
    FiltroTeclas* filtro = FiltroTeclas::De(campo);
    if (!filtro)
        filtro = new FiltroTeclas(campo, nullptr);
    filtro->FijarLongitudMaxima(longitudMaxima);
}

int LimiteTecleo(const QLineEdit* campo)
{
    const FiltroTeclas* filtro = FiltroTeclas::De(campo);
    return filtro ? filtro->LongitudMaxima() : 0;
}

FiltroFoco::FiltroFoco(QWidget* campo, std::function<void()> alEntrar, std::function<void()> alSalir)
    : QObject(campo), alEntrar_(std::move(alEntrar)), alSalir_(std::move(alSalir))
{
    campo->installEventFilter(this);
}

bool FiltroFoco::eventFilter(QObject*, QEvent* evento)
{
    if (evento->type() == QEvent::FocusIn && alEntrar_)
        alEntrar_();
    else if (evento->type() == QEvent::FocusOut && alSalir_)
        alSalir_();
    return false;
}

} // namespace corvela
