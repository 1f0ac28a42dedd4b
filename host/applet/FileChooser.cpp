#include "FileChooser.h"

#include <QFileDialog>

namespace {

class DialogFileChooser final : public FileChooser
{
public:
    QString openFileName(QWidget *parent, const QString &title, const QString &directory,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, directory, filter);
    }
    QString saveFileName(QWidget *parent, const QString &title, const QString &suggestion,
                         const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, title, suggestion, filter);
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
