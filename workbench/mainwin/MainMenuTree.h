#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;

// The main window's menu bar in its design state. Every entry is named
// after its design name ("mnuFileNew"); its text id sits in the "Tag"
// property, so LoadResStrings puts the user's language in; the help topic
// in "HelpContextID". A submenu is reached as an entry through its menu
// action, so that enabling or hiding it works like any other entry.
class MainMenuTree
{
public:
    explicit MainMenuTree(QMainWindow *window);

    // The entry (a command or the action of a submenu); null for an unknown name.
    QAction *entry(const QString &name) const { return m_entries.value(name); }
    QMenu *menu(const QString &name) const { return m_menus.value(name); }
    QList<QAction *> commands() const;

    // The entries without a text id, in the language now installed: they
    // are translated by the program's catalogue, not the string table.
    static void applyOwnTexts(QMenuBar *bar);

    // The width a menu bar needs for every visible title side by side.
    static int barWidth(const QMenuBar *bar);

private:
    static constexpr const char *OwnTextProperty = "OwnText";

    QHash<QString, QAction *> m_entries;
    QHash<QString, QMenu *> m_menus;
};
