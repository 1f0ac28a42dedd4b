#include "ResTextLoader.h"

#include "ItemctlLog.h"
#include "Module1.h"
#include "VexaControlItemHandler.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>

namespace {

// The id in a design value; 0 for separators, empty or non-numeric values.
qint16 idOf(const QVariant &value)
{
    bool ok = false;
    const int id = value.toString().trimmed().toInt(&ok);
    return ok && id > 0 && id <= 32767 ? qint16(id) : 0;
}

class Applier
{
public:
    explicit Applier(const ResTextLoader::Lookup &lookup) : m_lookup(lookup) {}

    // Calls set with the text of id; nothing when the id is missing.
    template <class Set> void with(const QVariant &designId, Set set) const
    {
        const qint16 id = idOf(designId);
        if (id == 0)
            return;
        try {
            set(m_lookup(id));
        } catch (...) {
            qCInfo(lcItemctl).noquote()
                << "text" << id << "not applied, the design text stays:" << CurrentErrorText();
        }
    }

    void control(QWidget *widget) const
    {
        if (auto *tabs = qobject_cast<QTabWidget *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                with(tabs->tabText(i), [&](const QString &t) { tabs->setTabText(i, t); });
        } else if (auto *bar = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < bar->count(); ++i) {
                with(bar->tabData(i), [&](const QString &t) { bar->setTabText(i, t); });
                with(bar->tabToolTip(i), [&](const QString &t) { bar->setTabToolTip(i, t); });
            }
        } else if (auto *toolBar = qobject_cast<QToolBar *>(widget)) {
            for (QAction *action : toolBar->actions())
                with(action->toolTip(), [&](const QString &t) { action->setToolTip(t); });
        } else if (auto *tree = qobject_cast<QTreeWidget *>(widget)) {
            QTreeWidgetItem *header = tree->headerItem();
            for (int c = 0; c < tree->columnCount(); ++c)
                with(header->data(c, Qt::UserRole),
                     [&](const QString &t) { header->setText(c, t); });
        } else {
            with(widget->property("Tag"), [&](const QString &t) { setCaption(widget, t); });
            boundItemTooltip(widget);
        }
        with(widget->property("ToolTipText"), [&](const QString &t) { widget->setToolTip(t); });
    }

    void action(QAction *action) const
    {
        with(action->property("Tag"), [&](const QString &t) { action->setText(t); });
    }

private:
    static void setCaption(QWidget *widget, const QString &text)
    {
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setText(text);
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(text);
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            group->setTitle(text);
        else if (auto *menu = qobject_cast<QMenu *>(widget))
            menu->setTitle(text);
        else if (widget->metaObject()->indexOfProperty("Caption") >= 0)
            widget->setProperty("Caption", text);
        else
            widget->setWindowTitle(text);
    }

    static void boundItemTooltip(QWidget *widget)
    {
        for (const char *name : {"ObjectNameText", "ObjectNameCombo"}) {
            const QVariant item = widget->property(name);
            if (item.isValid())
                widget->setToolTip(item.toString());
        }
    }

    const ResTextLoader::Lookup &m_lookup;
};

} // namespace

void ResTextLoader::Apply(QWidget *window, const Lookup &lookup)
{
    if (!window)
        return;
    const Applier applier(lookup);
    applier.with(window->property("Tag"), [&](const QString &t) { window->setWindowTitle(t); });
    for (QWidget *control : VexaControlItemHandler::Controls(window))
        applier.control(control);
    // Menus are popup windows of their own, so the control walk passes them by.
    for (QMenu *menu : window->findChildren<QMenu *>())
        applier.with(menu->property("Tag"), [&](const QString &t) { menu->setTitle(t); });
    for (QAction *action : window->findChildren<QAction *>())
        applier.action(action);
}
