#include "EntryKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

EntryKeyFilter::EntryKeyFilter(QLineEdit *box, Rule rule)
    : QObject(box), m_box(box), m_rule(std::move(rule))
{
    box->installEventFilter(this);
}

bool EntryKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_box || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString typed = key->text();
    // Keys without a character (arrows, Enter, Tab, Delete) pass.
    if (typed.size() != 1 || !typed[0].isPrint())
        return typed == QStringLiteral("\b") ? !m_rule(QChar(8), m_box->text()) : false;
    QString after = m_box->text();
    int at = m_box->cursorPosition();
    if (m_box->hasSelectedText()) {
        at = m_box->selectionStart();
        after.remove(at, m_box->selectedText().size());
    }
    after.insert(at, typed);
    return !m_rule(typed[0], after);
}
