#include "core/DialogoFicheros.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QRegularExpression>
#include <QStyle>

namespace corvela {

namespace {

// Icons and type names from the name alone: the default provider reads the
// first bytes of a file whose name does not tell its type.
class IconosSinLeer : public QAbstractFileIconProvider
{
public:
    QIcon icon(IconType tipo) const override
    {
        return QApplication::style()->standardIcon(tipo == Folder || tipo == Drive ? QStyle::SP_DirIcon
                                                                                   : QStyle::SP_FileIcon);
    }

    QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }

    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QStringLiteral("Carpeta");
        return info.suffix().isEmpty() ? QStringLiteral("Fichero") : info.suffix().toUpper();
    }
};

} // namespace

std::unique_ptr<QFileDialog> DialogoFicheros(QWidget* padre, const QString& titulo, const QString& inicial,
                                             QFileDialog::FileMode modo, QFileDialog::AcceptMode uso,
                                             const QString& filtro)
{
    auto dialogo = std::make_unique<QFileDialog>(padre, titulo, inicial);
    // The desktop's own dialog would run its own type detection in this process.
    dialogo->setOption(QFileDialog::DontUseNativeDialog);
    static IconosSinLeer iconos;
    dialogo->setIconProvider(&iconos);
    dialogo->setFileMode(modo);
    dialogo->setAcceptMode(uso);
    if (modo == QFileDialog::Directory)
        dialogo->setOption(QFileDialog::ShowDirsOnly);
    if (!filtro.isEmpty()) {
        dialogo->setNameFilter(filtro);
        // A name typed without its extension gets it before the dialog asks
        // whether to replace an existing file, not after.
        static const QRegularExpression extension(QStringLiteral("\\(\\*\\.(\\w+)\\)"));
        const auto encontrada = extension.match(filtro);
        if (encontrada.hasMatch())
            dialogo->setDefaultSuffix(encontrada.captured(1));
    }
    return dialogo;
}

} // namespace corvela
