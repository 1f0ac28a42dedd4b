#include "UnexpectedMessageBox.h"

#include <QtGlobal>

UnexpectedMessageBox::UnexpectedMessageBox() : m_previous(MessageBoxSeam::installed())
{
    MessageBoxSeam::install(this);
}

UnexpectedMessageBox::~UnexpectedMessageBox()
{
    MessageBoxSeam::install(m_previous);
}

QMessageBox::StandardButton UnexpectedMessageBox::ask(QWidget *parent,
                                                      const MessageBoxRequest &request)
{
    qWarning("message box outside a test's script: \"%s\": \"%s\"", qPrintable(request.title),
             qPrintable(request.text));
    return m_answers.ask(parent, request);
}
