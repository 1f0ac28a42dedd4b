#include "MainToolBar.h"

#include "MainCommandTable.h"
#include "global.h"

#include <QAction>
#include <QIcon>

MainToolBar::MainToolBar(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("tbToolBar"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(24, 24));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const MainToolbarButton &b : MainCommandTable::buttons()) {
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
        action->setProperty("ToolTipId", int(b.tooltipId));
        connect(action, &QAction::triggered, this, [this, key] { Q_EMIT ButtonClick(key); });
        m_buttons.insert(key, action);
        m_order.append(key);
    }
}

QStringList MainToolBar::keys() const
{
    return m_order;
}
