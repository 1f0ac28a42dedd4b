#pragma once

#include <QWidget>
#include <array>

class QFontMetrics;
class QToolButton;

// The trend's legend: one entry a curve in use, its colour, name and value
// at the cursor, two rows of two so that a name and its value fit a small
// window. Choosing an entry puts its curve on the axis.
class TrendLegend : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Entries = 4;

    TrendLegend(const std::array<QColor, Entries> &colours, QWidget *parent = nullptr);

    // An entry as shown: hidden for a curve not in use; the name shortened
    // to the room there is, the value never.
    void setEntry(int curve, bool inUse, const QString &caption, const QString &value,
                  const QString &toolTip);
    void setCurrent(int curve);
    QString entryToolTip(int curve) const;

    static QString entryText(const QString &caption, const QString &value,
                             const QFontMetrics &metrics, int width);

Q_SIGNALS:
    void curveChosen(int curve);

private:
    int entryWidth() const;

    std::array<QToolButton *, Entries> m_buttons{};
};
