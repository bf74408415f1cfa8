#pragma once

#include <QString>

class QAbstractButton;

// The CAD script export of the works card and the buttons of its configuration
// frame. The card hands over what these need (its work code text, its buttons).
namespace corvela {

class ProgresoScript;

// Where the script and its template live: the data folder.
QString RutaScript();
QString RutaPlantilla();

// Tool tips of Command1(1) and Command1(2): the stored CAD program and drawing folder.
void MostrarRutas(QAbstractButton* botonPrograma, QAbstractButton* botonDestino);

// Command1(1) "&Ruta Instalación AUTOCAD (exe)": asks for the CAD program file;
// true when a path was stored (the caller then runs MostrarRutas).
bool ElegirProgramaCad();

// Command1(2) "&Ruta Destino Archivo AUTOCAD": asks for the drawing folder and
// stores it with a closing separator; true when stored.
bool ElegirDestinoCad();

// Command1(3) "&Generar en AUTOCAD": writes the script of the work whose code is
// shown (codigoObra, the text of txtFields(0)) and starts the CAD program on it,
// or, with no program stored, puts the script's path on the clipboard. True when
// the script was written and handed over. progreso null: a progress dialog.
bool GenerarAutoCad(const QString& codigoObra, ProgresoScript* progreso = nullptr);

// Asks for the scale and the drawing name and writes the script of the work to
// rutaScript. False, with the previous script untouched, when anything stops it:
// every stop but a cancelled prompt or progress is explained to the user.
bool CrearScript(const QString& codigoObra, const QString& rutaScript, ProgresoScript* progreso = nullptr);

// The scale last given for a drawing ("Escala"), 0.01 before the first.
QString EscalaGuardada();
// Stores the scale given for a drawing (decimal point) when it is not the stored one.
void RecordarEscala(const QString& escala);

// The script CrearScript writes once the user has given the scale and the drawing
// name, without asking anything (command-line exports). The scale is not stored.
bool EscribirScript(const QString& codigoObra, const QString& escala, const QString& nombreDibujo,
                    const QString& rutaScript, ProgresoScript& progreso);

} // namespace corvela
