#include "TrendLegend.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPainter>
#include <QToolButton>

namespace {

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

TrendLegend::TrendLegend(const std::array<QColor, Entries> &colours, QWidget *parent)
    : QWidget(parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 0, 4, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int c = 0; c < Entries; ++c) {
        auto *button = new QToolButton(this);
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIcon(swatch(colours[size_t(c)]));
        button->setAutoRaise(true);
        button->setVisible(false);
        button->setChecked(c == 0);
        group->addButton(button, c);
        connect(button, &QToolButton::clicked, this, [this, c] { Q_EMIT curveChosen(c); });
        grid->addWidget(button, c / 2, c % 2, Qt::AlignLeft);
        m_buttons[size_t(c)] = button;
    }
    grid->setColumnStretch(1, 1);
}

void TrendLegend::setEntry(int curve, bool inUse, const QString &caption, const QString &value,
                           const QString &toolTip)
{
    QToolButton *button = m_buttons[size_t(curve)];
    button->setVisible(inUse);
    if (!inUse)
        return;
    button->setText(entryText(caption, value, button->fontMetrics(), entryWidth()));
    button->setToolTip(toolTip);
}

void TrendLegend::setCurrent(int curve)
{
    m_buttons[size_t(curve)]->setChecked(true);
}

QString TrendLegend::entryToolTip(int curve) const
{
    return m_buttons[size_t(curve)]->toolTip();
}

int TrendLegend::entryWidth() const
{
    // Half the width, less the swatch, its gap and the button's margins.
    return std::max(80, (width() - 8) / 2 - 8 - 36);
}

QString TrendLegend::entryText(const QString &caption, const QString &value,
                               const QFontMetrics &metrics, int width)
{
    // The name gives way, never the value: a number cut short reads as another.
    const QString separator = QStringLiteral(": ");
    const int room = width - metrics.horizontalAdvance(separator + value);
    const QString name = metrics.elidedText(caption, Qt::ElideRight, std::max(0, room));
    return name.isEmpty() ? value : name + separator + value;
}
