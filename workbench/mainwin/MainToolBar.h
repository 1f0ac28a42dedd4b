#pragma once

#include <QHash>
#include <QToolBar>

// The main window's toolbar "tbToolBar": ten buttons, each named by its key
// ("tbNew", "tbopen", ...) and showing its picture; the tooltip id sits in
// the tooltip until LoadResStrings puts the text in. A click is reported by
// the button's key.
class MainToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit MainToolBar(QWidget *parent = nullptr);

    // Null for an unknown key.
    QAction *button(const QString &key) const { return m_buttons.value(key); }
    QStringList keys() const;

Q_SIGNALS:
    void ButtonClick(const QString &key);

private:
    QHash<QString, QAction *> m_buttons;
    QStringList m_order;
};
