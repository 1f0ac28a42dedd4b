#include "MainMenuTree.h"

#include "MainCommandTable.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionMenuItem>

namespace {

void designState(QAction *action, const MainMenuEntry &e)
{
    action->setObjectName(QLatin1String(e.name));
    if (e.helpContext > 0)
        action->setProperty("HelpContextID", e.helpContext);
    if (e.is(MainMenuEntry::Hidden))
        action->setVisible(false);
    if (e.is(MainMenuEntry::Disabled))
        action->setEnabled(false);
    if (e.is(MainMenuEntry::Checked)) {
        action->setCheckable(true);
        action->setChecked(true);
    }
}

} // namespace

MainMenuTree::MainMenuTree(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    QMenu *parents[3] = {};
    for (const MainMenuEntry &e : MainCommandTable::entries()) {
        const QString name = QLatin1String(e.name);
        const QString design = QString::fromUtf8(e.designText);
        QMenu *parent = e.level > 0 ? parents[e.level - 1] : nullptr;
        if (e.is(MainMenuEntry::Separator)) {
            parent->addSeparator()->setVisible(!e.is(MainMenuEntry::Hidden));
            continue;
        }
        if (e.opensMenu()) {
            auto *menu = new QMenu(design, parent ? static_cast<QWidget *>(parent) : bar);
            menu->setObjectName(name);
            menu->setProperty("Tag", e.textId);
            // Unavailable entries say why in their tooltip.
            menu->setToolTipsVisible(true);
            if (parent)
                parent->addMenu(menu);
            else
                bar->addMenu(menu);
            designState(menu->menuAction(), e);
            m_menus.insert(name, menu);
            m_entries.insert(name, menu->menuAction());
            parents[e.level] = menu;
            continue;
        }
        auto *action = new QAction(design, parent);
        // An entry without a text id is the program's own, in its catalogue.
        if (e.textId > 0)
            action->setProperty("Tag", e.textId);
        else
            action->setProperty(OwnTextProperty, QByteArray(e.designText));
        if (*e.shortcut)
            action->setShortcut(QKeySequence(QLatin1String(e.shortcut)));
        designState(action, e);
        parent->addAction(action);
        m_entries.insert(name, action);
    }
}

QList<QAction *> MainMenuTree::commands() const
{
    QList<QAction *> result;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (!m_menus.contains(it.key()))
            result.append(it.value());
    }
    return result;
}

void MainMenuTree::applyOwnTexts(QMenuBar *bar)
{
    for (QAction *action : bar->findChildren<QAction *>()) {
        const QByteArray source = action->property(OwnTextProperty).toByteArray();
        if (!source.isEmpty())
            action->setText(QCoreApplication::translate("MainMenuTree", source.constData()));
    }
}

int MainMenuTree::barWidth(const QMenuBar *bar)
{
    const QStyle *style = bar->style();
    const int spacing = style->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, bar);
    int width = 2 * (style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, bar) +
                     style->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, bar));
    for (QAction *action : bar->actions()) {
        if (!action->isVisible())
            continue;
        QStyleOptionMenuItem option;
        option.initFrom(bar);
        option.text = action->text();
        const QSize text = bar->fontMetrics().size(Qt::TextShowMnemonic, action->text());
        width +=
            style->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, bar).width() + spacing;
    }
    return width;
}
