#include "MainCommandBar.h"

#include "MainMenuTree.h"
#include "MainToolBar.h"
#include "MainWindowLog.h"
#include "MessageBoxSeam.h"
#include "Toolkit_LoadResource.h"
#include "VexException.h"
#include "frmMain.h"

#include <QAction>

namespace {

// A menu text as a tooltip shows it: without the markers of its access keys
// ("&Open..." is "Open..."; "&&" stands for "&").
QString withoutAccessKeys(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && ++i >= text.size())
            break;
        plain += text[i];
    }
    return plain;
}

} // namespace

MainCommandBar::MainCommandBar(frmMain &window)
    : QObject(&window), m_window(window), m_menus(std::make_unique<MainMenuTree>(&window)),
      m_toolBar(new MainToolBar(&window))
{
    window.addToolBar(m_toolBar);
    // Every entry runs whatever is there for it when it is chosen, so that a
    // command registered later needs no connection of its own.
    for (QAction *action : m_menus->commands()) {
        const QString name = action->objectName();
        connect(action, &QAction::triggered, this, [this, name] { run(name); });
    }
    connect(m_toolBar, &MainToolBar::ButtonClick, this, &MainCommandBar::click);
    m_states.setChangedHandler([this](const QString &element) { apply(element); });
    applyAll();
}

MainCommandBar::~MainCommandBar() = default;

QAction *MainCommandBar::entry(const QString &name) const
{
    return m_menus->entry(name);
}

QMenu *MainCommandBar::menu(const QString &name) const
{
    return m_menus->menu(name);
}

QAction *MainCommandBar::button(const QString &key) const
{
    return m_toolBar->button(key);
}

std::function<void()> MainCommandBar::commandOf(const QString &entryName) const
{
    if (const auto own = m_wired.value(entryName))
        return own;
    if (const MainCommand registered = MainCommandTable::command(entryName))
        return [this, registered] { registered(m_window); };
    return {};
}

void MainCommandBar::wire(const QString &entryName, std::function<void()> command)
{
    m_wired.insert(entryName, std::move(command));
    applyAll();
}

void MainCommandBar::run(const QString &entryName)
{
    const auto command = commandOf(entryName);
    if (!command)
        return;
    try {
        command();
    } catch (const VexException &e) {
        MessageBoxSeam::show(&m_window, QMessageBox::Warning, m_window.windowTitle(),
                             e.description());
    } catch (const std::exception &e) {
        MessageBoxSeam::show(&m_window, QMessageBox::Warning, m_window.windowTitle(),
                             QString::fromLocal8Bit(e.what()));
    }
}

void MainCommandBar::click(const QString &key)
{
    if (const auto command = commandOf(MainCommandTable::commandEntry(key)))
        guarded(qPrintable(key), command);
}

bool MainCommandBar::commandMissing(const QString &element) const
{
    const QString entryName = MainCommandTable::commandEntry(element);
    return !m_wired.contains(entryName) && MainCommandTable::commandMissing(entryName);
}

void MainCommandBar::applyAll()
{
    for (const MainMenuEntry &e : MainCommandTable::entries())
        apply(QLatin1String(e.name));
    for (const MainToolbarButton &b : MainCommandTable::buttons())
        apply(QLatin1String(b.key));
}

void MainCommandBar::apply(const QString &element)
{
    QAction *action = element.isEmpty() ? nullptr : m_menus->entry(element);
    const bool isButton = !action;
    if (isButton)
        action = element.isEmpty() ? nullptr : m_toolBar->button(element);
    if (!action)
        return;
    action->setEnabled(m_states.enabled(element) && !commandMissing(element));
    action->setVisible(m_states.visible(element));
    // A button's tooltip is its text; an entry the rules keep unavailable
    // says why, beside it and in the status bar.
    const QString own =
        isButton ? withoutAccessKeys(resText(qint16(action->property("ToolTipId").toInt())))
                 : QString();
    const QString why = reason(element);
    action->setToolTip(why.isEmpty() ? own : own.isEmpty() ? why : own + QLatin1Char('\n') + why);
    action->setStatusTip(why);
}

QString MainCommandBar::reason(const QString &element) const
{
    if (commandMissing(element))
        return {};
    const qint16 id = m_states.whyDisabled(element);
    if (id == 0)
        return {};
    const QString text = resText(id);
    return text.contains(QLatin1String("%1")) ? text.arg(m_states.pollingAddress()) : text;
}
