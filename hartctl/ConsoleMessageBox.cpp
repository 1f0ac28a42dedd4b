#include "ConsoleMessageBox.h"

#include "Console.h"

QMessageBox::StandardButton ConsoleMessageBox::ask(QWidget *, const MessageBoxRequest &request)
{
    m_console.message(request.title.isEmpty()
                          ? request.text
                          : request.title + QStringLiteral(": ") + request.text);
    for (const QMessageBox::StandardButton careful :
         {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Abort, QMessageBox::Ok}) {
        if (request.buttons & careful)
            return careful;
    }
    return QMessageBox::NoButton;
}
