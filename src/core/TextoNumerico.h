#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// Number text of the whole program: what the user types (decimal comma), what is
// shown (regional separator, fixed patterns) and what goes to the CAD script
// (decimal point).
namespace corvela {

// The user's regional decimal separator (from the default QLocale).
QString SeparadorDecimal();

// Reads the leading number of a text like the classic Val, after turning every
// comma into a point: blanks ignored, sign, digits, one point, exponent with E or
// D, &H and &O whole numbers; stops at the first character that cannot continue
// the number. Never fails: anything unreadable is 0.
double ValorNumerico(const QString& valor);
double ValorNumerico(const QVariant& valor);

// The number a whole text holds (blanks around it ignored, a comma or a point as
// the decimal separator), or nothing when the text is not just a number. The same
// under every locale.
std::optional<double> NumeroCompleto(const QString& texto);

// Lays out a value by a display pattern such as "###0.000", "###0.0#", "##0.0##"
// or "0.000": "0" a digit always shown, "#" a digit shown when significant, the
// point the regional separator. Rounds half away from zero on the value's
// 15-significant-digit decimal text; no grouping.
QString FormatearPatron(double valor, const QString& patron);

// A value with the user's decimals (FormatoDecimales). Text that is not a number
// comes back unchanged; an empty value gives the empty text.
QString FormatearNumero(const QVariant& valor);

// General number text: up to 15 significant digits, no trailing zeros, the
// regional separator (or the one given).
QString TextoGeneral(double valor);
QString TextoGeneral(double valor, const QString& separador);

// A value as text with every comma turned into a point.
QString ComaAPunto(const QVariant& valor);

// Whether a database column of this type holds numbers.
bool EsCampoNumerico(QMetaType::Type tipo);

// A field value with a missing value replaced by 0 or the empty text.
QVariant ValorCampo(const QVariant& valor, QMetaType::Type tipo);

} // namespace corvela
