#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

class QWidget;

// One question put to the user.
struct MessageBoxRequest
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool systemModal = false;
};

// Every message box of the program goes through here, so that tests can
// answer them and check what was asked.
class MessageBoxSeam
{
public:
    virtual ~MessageBoxSeam() = default;
    virtual QMessageBox::StandardButton ask(QWidget *parent, const MessageBoxRequest &request) = 0;

    // The seam in use: a real message box unless one was installed.
    static MessageBoxSeam &current();
    // Installs a seam (not owned); null restores the real message box.
    static void install(MessageBoxSeam *seam);
    static MessageBoxSeam *installed();

    // The common cases.
    static QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon,
                                            const QString &title, const QString &text,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                            bool systemModal = false);
};

// The real thing: a modal QMessageBox.
class QtMessageBoxSeam final : public MessageBoxSeam
{
public:
    QMessageBox::StandardButton ask(QWidget *parent, const MessageBoxRequest &request) override;

    // The box as asked, not yet shown: wide enough for its whole title.
    static std::unique_ptr<QMessageBox> build(QWidget *parent, const MessageBoxRequest &request);
    // What a title bar takes besides its title: the window's icon and buttons.
    static int titleBarReserve(const QFontMetrics &titleFont);
    // The font a title bar writes with, as near as a program can know it.
    static QFont titleFont(const QWidget &box);
};
