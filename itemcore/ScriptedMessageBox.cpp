#include "ScriptedMessageBox.h"

ScriptedMessageBox::ScriptedMessageBox() : m_previous(MessageBoxSeam::installed())
{
    MessageBoxSeam::install(this);
}

ScriptedMessageBox::~ScriptedMessageBox()
{
    MessageBoxSeam::install(m_previous);
}

QMessageBox::StandardButton ScriptedMessageBox::ask(QWidget *, const MessageBoxRequest &request)
{
    m_asked.append(request);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (request.defaultButton != QMessageBox::NoButton)
        return request.defaultButton;
    for (int bit = 0; bit < 32; ++bit) {
        const auto button = QMessageBox::StandardButton(1u << bit);
        if (request.buttons.testFlag(button))
            return button;
    }
    return QMessageBox::Ok;
}

QStringList ScriptedMessageBox::texts() const
{
    QStringList result;
    for (const MessageBoxRequest &r : m_asked)
        result << r.text;
    return result;
}
