#pragma once

#include <QTreeWidget>

class CompareController;

// The comparison as a table: the groups with their items, the device's value
// beside the other side's, differing rows marked, and (when ticking is on) a
// check box on each row that differs.
class CompareTable : public QTreeWidget
{
    Q_OBJECT

public:
    enum Column
    {
        ItemColumn,
        DeviceColumn,
        MarkColumn,
        OtherColumn,
    };

    explicit CompareTable(CompareController *controller, bool ticking, QWidget *parent = nullptr);

    // The heading of the other side's column (dataset or snapshot).
    void setOtherHeading(const QString &heading);
    // The row of an item; null when it is not shown.
    QTreeWidgetItem *rowOf(const QString &item) const;

private:
    void fill();
    void itemTicked(QTreeWidgetItem *row, int column);

    CompareController *m_controller;
    bool m_ticking;
    bool m_filling = false;
    bool m_inTick = false;
};
