#include "FileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString LastFolderKey = QStringLiteral("Files/LastFolder");

class DialogFileChooser final : public FileChooser
{
protected:
    QString askOpen(QWidget *parent, const QString &title, const QString &directory,
                    const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, directory, filter);
    }
    // The dialog adds the extension itself, so that it asks before replacing
    // the file the name stands for.
    QString askSave(QWidget *parent, const QString &title, const QString &suggestion,
                    const QString &filter) override
    {
        QFileDialog dialog(parent, title, suggestion, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix(filter));
        if (dialog.exec() != QDialog::Accepted)
            return QString();
        return dialog.selectedFiles().value(0);
    }
};

FileChooser *installed = nullptr;

} // namespace

FileChooser &FileChooser::current()
{
    static DialogFileChooser dialog;
    return installed ? *installed : dialog;
}

void FileChooser::install(FileChooser *chooser)
{
    installed = chooser;
}

QString FileChooser::startFolder()
{
    const QString last = QSettings().value(LastFolderKey).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void FileChooser::remember(const QString &chosen)
{
    if (!chosen.isEmpty())
        QSettings().setValue(LastFolderKey, QFileInfo(chosen).absolutePath());
}

QString FileChooser::defaultSuffix(const QString &filter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\s*\\*\\.(\\w+)"));
    return firstPattern.match(filter).captured(1);
}

QString FileChooser::withSuffix(const QString &path, const QString &suffix)
{
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + suffix;
}

QString FileChooser::openFileName(QWidget *parent, const QString &title, const QString &filter)
{
    const QString chosen = askOpen(parent, title, startFolder(), filter);
    remember(chosen);
    return chosen;
}

QString FileChooser::saveFileName(QWidget *parent, const QString &title, const QString &name,
                                  const QString &filter)
{
    const QString fileName = QFileInfo(name).fileName();
    const QString suggestion =
        fileName.isEmpty() ? startFolder() : QDir(startFolder()).filePath(fileName);
    const QString chosen =
        withSuffix(askSave(parent, title, suggestion, filter), defaultSuffix(filter));
    remember(chosen);
    return chosen;
}
