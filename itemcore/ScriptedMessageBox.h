#pragma once

#include "MessageBoxSeam.h"

#include <QList>

// A message box for tests: records every question and answers from a queue
// (the default button, or the first button offered, when the queue is empty).
// Installs itself while it lives and then puts back the one it replaced.
class ScriptedMessageBox final : public MessageBoxSeam
{
public:
    ScriptedMessageBox();
    ~ScriptedMessageBox() override;
    ScriptedMessageBox(const ScriptedMessageBox &) = delete;
    ScriptedMessageBox &operator=(const ScriptedMessageBox &) = delete;

    QMessageBox::StandardButton ask(QWidget *parent, const MessageBoxRequest &request) override;

    void enqueue(QMessageBox::StandardButton answer) { m_answers.append(answer); }
    const QList<MessageBoxRequest> &asked() const { return m_asked; }
    QStringList texts() const;
    void clear() { m_asked.clear(); }

private:
    QList<MessageBoxRequest> m_asked;
    QList<QMessageBox::StandardButton> m_answers;
    MessageBoxSeam *m_previous = nullptr;
};
