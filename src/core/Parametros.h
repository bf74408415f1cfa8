#pragma once

#include <QString>

// The user's settings, keys of section "PARAMETROS" of the settings file.
namespace corvela {

// Reads one key: the local file first (origin "L"), then the general one ("S");
// origen receives where the value was found. Surrounding blanks are removed and
// the value keeps its case; a blank value gives porDefecto.
QString LeerParametro(const QString& clave, int longitud, const QString& porDefecto, QString& origen);
QString LeerParametro(const QString& clave, const QString& porDefecto = QString());

// Writes one key to the file of its origin (looked up when origen is empty).
// A write that fails or is refused (a value with a line break) is reported to
// the user with its reason and gives false; the file is then left as it was.
bool GrabarParametro(const QString& clave, const QString& valor, const QString& origen = QString());

// Sets NumDecimales and FormatoDecimales from the setting "Decimales" (3 by default).
void CargarDecimales();

} // namespace corvela
