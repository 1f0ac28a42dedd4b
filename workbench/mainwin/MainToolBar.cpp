#include "MainToolBar.h"

#include "global.h"

#include <QAction>
#include <QIcon>

namespace {

struct Button
{
    const char *key;      // empty: a separator
    const char *imageKey; // kept with the button
    const char *picture;
    int tooltipId;
};

constexpr Button Buttons[] = {
    {"tbNew", "New", "TOOLBAR_FILE_NEW", 1001},
    {"tbopen", "Open", "TOOLBAR_FILE_OPEN", 1002},
    {"tbSave", "Save", "TOOLBAR_FILE_SAVE", 1004},
    {"", "", "", 0},
    {"tbCopy", "Copy", "TOOLBAR_COPY", 1015},
    {"tbPaste", "Paste", "TOOLBAR_PASTE", 1016},
    {"", "", "", 0},
    {"tbConnect", "Connect", "TOOLBAR_CONNECT", 1022},
    {"tbDisconnect", "Disconnect", "TOOLBAR_DISCONNECT", 1023},
    {"", "", "", 0},
    {"tbReadFromDevice", "ReadFromDevice", "TOOLBAR_READ_FROM_DEVICE", 1024},
    {"tbWriteToDevice", "WriteToDevice", "TOOLBAR_WRITE_TO_DEVICE", 1025},
    {"", "", "", 0},
    {"tbDiagnostics", "Diagnostics", "TOOLBAR_DIAGNOSTICS", 1046},
};

} // namespace

MainToolBar::MainToolBar(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("tbToolBar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(24, 24));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const Button &b : Buttons) {
        if (!*b.key) {
            addSeparator();
            continue;
        }
        const QString key = QLatin1String(b.key);
        const QPixmap picture =
            LoadJpegResource(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(b.picture)));
        QAction *action = addAction(QIcon(picture), key);
        action->setObjectName(key);
        action->setProperty("ImageKey", QLatin1String(b.imageKey));
        action->setToolTip(QString::number(b.tooltipId));
        // Kept for tooltips that say more than the text (an unavailable button).
        action->setProperty("ToolTipId", b.tooltipId);
        connect(action, &QAction::triggered, this, [this, key] { Q_EMIT ButtonClick(key); });
        m_buttons.insert(key, action);
        m_order.append(key);
    }
}

QStringList MainToolBar::keys() const
{
    return m_order;
}
