#pragma once

#include <QObject>
#include <functional>

class QLineEdit;

// Drops the keys an entry box does not accept, before the box sees them: a
// rule gets the typed character and the text the box would then hold.
class EntryKeyFilter : public QObject
{
    Q_OBJECT

public:
    using Rule = std::function<bool(QChar typed, const QString &textAfter)>;

    EntryKeyFilter(QLineEdit *box, Rule rule);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_box;
    Rule m_rule;
};
