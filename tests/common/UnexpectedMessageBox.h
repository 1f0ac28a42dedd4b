#pragma once

#include "ScriptedMessageBox.h"

// The message box of a test run when no test installed its own: it answers
// as a scripted one does (so nothing waits for a person) and warns with the
// box's title and text, which fails the test that raised it.
class UnexpectedMessageBox final : public MessageBoxSeam
{
public:
    UnexpectedMessageBox();
    ~UnexpectedMessageBox() override;

    QMessageBox::StandardButton ask(QWidget *parent, const MessageBoxRequest &request) override;

private:
    ScriptedMessageBox m_answers;
    MessageBoxSeam *m_previous = nullptr;
};
