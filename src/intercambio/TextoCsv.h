#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

// Text of single CSV fields, as written and as read back.
namespace corvela {

// A field as RFC 4180 writes it: between double quotes, with its quotes doubled,
// only when it holds the separator, a quote, a line break or blanks at either
// end that a reader would otherwise trim.
QString CampoCsv(const QString& texto, QChar separador);

// The shortest text that reads back as exactly the same double, with the given
// decimal mark; plain digits across the range surveys use, an exponent beyond it.
QString NumeroCsv(double valor, QChar decimal);

// A stored value as its field: a missing value empty, a number at full
// precision, a text quoted where needed.
QString ValorCsv(const QVariant& valor, QChar separador, QChar decimal);

// The number a whole field holds (blanks around it ignored, decimal comma or
// point, optional sign and exponent), or nothing.
std::optional<double> LeerNumeroCsv(QStringView campo);

} // namespace corvela
