#pragma once

#include <QFileDialog>
#include <memory>

namespace corvela {

// A file or folder picker that never opens the files it lists. The program's
// database sits in the folders it shows, and a file of the database opened and
// closed by this process, even to read its type for an icon, drops the locks
// SQLite holds on it: another program could then take the database as unused
// and remove its write-ahead log, with the points saved since.
// A name filter ("Documentos PDF (*.pdf)"), when given, is the only one offered.
std::unique_ptr<QFileDialog> DialogoFicheros(QWidget* padre, const QString& titulo, const QString& inicial,
                                             QFileDialog::FileMode modo, QFileDialog::AcceptMode uso,
                                             const QString& filtro = QString());

} // namespace corvela
