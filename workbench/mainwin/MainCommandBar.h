#pragma once

#include "MainCommandStates.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>

class MainMenuTree;
class MainToolBar;
class QAction;
class QMenu;
class frmMain;

// The main window's menu bar and toolbar as MainCommandTable describes them:
// builds both, shows the state MainCommandStates gives each element (an
// entry without a command is unavailable and says so), and runs what an
// entry has when it or its button is chosen.
class MainCommandBar : public QObject
{
    Q_OBJECT

public:
    explicit MainCommandBar(frmMain &window);
    ~MainCommandBar() override;

    MainCommandStates &states() { return m_states; }
    QAction *entry(const QString &name) const;
    QMenu *menu(const QString &name) const;
    QAction *button(const QString &key) const;
    MainToolBar *toolBar() const { return m_toolBar; }

    // A command for this window alone, ahead of what is registered.
    void wire(const QString &entryName, std::function<void()> command);
    // Runs an entry's command; an error is shown to the user.
    void run(const QString &entryName);
    // Runs a button's command; an error is only logged.
    void click(const QString &key);
    // Shows every element's state again (texts applied, commands changed).
    void applyAll();

private:
    std::function<void()> commandOf(const QString &entryName) const;
    bool commandMissing(const QString &element) const;
    void apply(const QString &element);
    // Why the element is unavailable, in the user's language; empty when it is not.
    QString reason(const QString &element) const;

    frmMain &m_window;
    std::unique_ptr<MainMenuTree> m_menus;
    MainToolBar *m_toolBar;
    MainCommandStates m_states;
    QHash<QString, std::function<void()>> m_wired;
};
