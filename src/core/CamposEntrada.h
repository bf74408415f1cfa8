#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

// Keyboard behaviour of the entry fields: key filters, the tidy-up of numeric
// fields after each change, select-all on focus and digits-only fields.
namespace corvela {

// Key filter of numeric fields: comma and point become the separator; digits,
// backspace and the separator pass; every other key is dropped (0).
int TeclaNumerica(int& codigoTecla, const QString& separador);

// Key filter of the works card: Enter moves to the next field (except in
// multi-line fields), Escape is dropped, a double quote becomes a single quote.
int TeclaEdicion(int& codigoTecla, QWidget* campo);

// Counts the exact occurrences of buscado in texto (positions from 1).
int ContarApariciones(const QString& texto, const QString& buscado, int& primera, int& ultima);

// The tidy-up after a change of a numeric field: one separator (the last typed),
// at most maxDecimales decimals, a minus anywhere makes the number negative.
void AjustarNumero(QLineEdit* campo, const QString& separador, int maxDecimales);

// Selects the whole text of the field and gives it the focus.
void SeleccionarTexto(QLineEdit* campo);

// The field takes only the digits 0 to 9 from the keyboard.
void SoloDigitos(QLineEdit* campo);

// Routes every typed character of a widget through a key function such as
// TeclaNumerica: 0 drops the key, another code types that character instead.
// A maximum length limits what the user types or pastes into a line edit (or only
// what the user types), never what the program writes there (QLineEdit::maxLength
// would cut both).
class FiltroTeclas : public QObject
{
    Q_OBJECT
public:
    using Funcion = std::function<int(int& codigoTecla, QWidget* campo)>;
    // What the maximum length holds back. SoloTecleo suits a field whose pasted
    // texts are checked elsewhere.
    enum class Limite { TecleoYPegado, SoloTecleo };
    // An empty funcion lets every key through.
    FiltroTeclas(QWidget* campo, Funcion funcion, int longitudMaxima = 0, Limite limite = Limite::TecleoYPegado);

    // The filter of a widget, null when it has none.
    static FiltroTeclas* De(const QWidget* campo);

    int LongitudMaxima() const { return longitudMaxima_; }
    // 0 or less: no limit.
    void FijarLongitudMaxima(int longitud) { longitudMaxima_ = longitud; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    bool Lleno(QWidget* campo) const;
    void RecortarInsercion(QLineEdit* linea);

    Funcion funcion_;
    int longitudMaxima_;
    Limite limite_;
    // The field's text before the user's edit in progress.
    QString anterior_;
};

// The most characters the user may type or paste into the field; 0, no limit.
// The field's key filter keeps the limit (one that lets every key through is
// added when the field has none).
void LimitarTecleo(QLineEdit* campo, int longitudMaxima);
int LimiteTecleo(const QLineEdit* campo);

// Calls the given functions when the widget gains or loses the focus.
class FiltroFoco : public QObject
{
    Q_OBJECT
public:
    FiltroFoco(QWidget* campo, std::function<void()> alEntrar, std::function<void()> alSalir);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    std::function<void()> alEntrar_;
    std::function<void()> alSalir_;
};

} // namespace corvela
