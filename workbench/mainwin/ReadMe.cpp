#include "ReadMe.h"

#include "MessageBoxSeam.h"
#include "Module1.h"
#include "Toolkit_LoadResource.h"
#include "WorkbenchLog.h"
#include "global.h"

#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace {

constexpr qint16 ReadMeTitle = 1072; // "Read Me"

QPointer<ReadMe> &openReadMe()
{
    static QPointer<ReadMe> window;
    return window;
}

QString readMeFile()
{
    try {
        return QStringLiteral(":/readme/") + GetResText(1101);
    } catch (...) {
        qCInfo(lcWorkbench).noquote()
            << "read-me of the user's language unknown, English shown:" << CurrentErrorText();
        return QStringLiteral(":/readme/readme.txt");
    }
}

} // namespace

ReadMe::ReadMe(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("ReadMe"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GetResText(ReadMeTitle));
    txtReadMe = new QPlainTextEdit(this);
    txtReadMe->setReadOnly(true);
    txtReadMe->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtReadMe->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtReadMe);
    resize(720, 520);
}

QString ReadMe::text()
{
    QFile file(readMeFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

ReadMe *ReadMe::current()
{
    return openReadMe();
}

void ReadMe::open(QWidget *parent)
{
    const QString content = text();
    if (content.isEmpty()) {
        MessageBoxSeam::show(parent, QMessageBox::Warning, GetResText(ReadMeTitle),
                             tr("%1: not found").arg(readMeFile()));
        return;
    }
    QPointer<ReadMe> &window = openReadMe();
    if (!window) {
        window = new ReadMe(parent ? parent->window() : nullptr);
        PlaceOnScreen(window);
    }
    window->txtReadMe->setPlainText(content);
    window->show();
    window->raise();
    window->activateWindow();
}
