#pragma once

#include "MainCommandTable.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <typeinfo>

class IViewEx;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QScreen;
class QWidget;

// How a menu command opens its child window.
struct ChildWindowOptions
{
    // Display windows read the range values first, once per connection.
    bool readRangeValues = false;
    // A new window for every command; otherwise one instance, made on first
    // use and brought to the front by every later command.
    bool several = false;
    // A question asked first (Yes/No, string-table ids); No opens nothing.
    qint16 questionId = 0;
    qint16 questionTitleId = 0;
    // Whether the question is asked, given the one instance kept (null
    // before the first opening); unset: always.
    bool (*questionNeeded)(const QWidget *instance) = nullptr;
};

// The main window's document area: every device dialog and display window is
// a child window in it. Shows them, keeps the one instance of each dialog,
// refreshes and closes them, arranges them, lists them in the Window menu,
// reaches the active control for the clipboard commands, and keeps the
// background picture covering the area.
class MainChildWindows : public QObject
{
    Q_OBJECT

public:
    // Makes the document area, to be the parent's central widget.
    MainChildWindows(QMenu *windowMenu, QWidget *parent);

    // The command that opens T as a child window, for registration:
    //   MainCommandTable::Registration r("mnuDisplayBar",
    //       MainChildWindows::opener<frmDisplayBar>({.readRangeValues = true}));
    template <class T> static MainCommand opener(ChildWindowOptions options = {})
    {
        return opener(
            typeid(T).name(), [] { return static_cast<QWidget *>(new T); }, options);
    }
    static MainCommand opener(const char *kind, std::function<QWidget *()> make,
                              ChildWindowOptions options);

    // The one instance of a kind of child window, made now if there is none.
    QWidget *instance(const char *kind, const std::function<QWidget *()> &make);
    // The one instance, null while none was made.
    QWidget *existing(const char *kind) const;

    // Shows a dialog as child window (adding it on first use) with the view
    // given, and gives it the focus.
    void ShowChildForm(QWidget *dialog, IViewEx *view);
    // Every child window that is a form refreshes its display controls.
    void UpdateAllDialogs();
    // Closes every child window; false when one keeps itself open a while
    // to finish with the device (returning a loop current it fixed to
    // normal): allClosed() follows once the last of those has closed.
    bool UnloadChildForms();

    // The area's own cascade.
    void cascade();
    // Side by side (horizontally) or one above the other, each window no
    // smaller than it needs; cascaded when the area is too small for that.
    void tile(Qt::Orientation orientation);
    // Closes the active child window (Ctrl+F4).
    void closeActive();

    // The clipboard commands: the text of the active control of the active
    // child window (its selection, if it has one), and what may take the
    // clipboard's text (an editable field). canCopyChanged() tells when the
    // focus or the clipboard changed.
    void copyFromActiveControl();
    void pasteIntoActiveControl();
    bool canCopy() const;
    bool canPaste() const;

    // The picture resource for a desktop work area this many pixels wide.
    static QString BackgroundResource(int desktopWidth);
    // The picture for the screen's work area covers the area, whatever its
    // size; without a picture the area stays as it is.
    void chooseBackground(const QScreen *screen);

    QMdiArea *area() const { return m_area; }

Q_SIGNALS:
    void clipboardTargetChanged();
    void allClosed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *activeControl() const;
    int titleHeight() const;
    bool anyOpen() const;
    // Moves a window back so that its title bar and close button can be reached.
    void keepInside(QMdiSubWindow *frame) const;
    void listInWindowMenu();
    void drawBackground();

    QMdiArea *m_area;
    QMenu *m_windowMenu;
    QList<QAction *> m_listed;
    QHash<QString, QPointer<QWidget>> m_instances;
    QString m_background;
    QSize m_backgroundSize;
    int m_opened = 0;               // windows added so far, for the cascade of new ones
    bool m_waitingForClose = false; // some refused UnloadChildForms() for now
};
