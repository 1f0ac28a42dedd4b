#include "CompareTable.h"

#include "CompareController.h"
#include "HistoryTexts.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QHeaderView>
#include <QScrollBar>
#include <optional>

namespace {
constexpr int ItemNameRole = Qt::UserRole + 1;
const QColor DifferenceBackground(255, 236, 200);
} // namespace

CompareTable::CompareTable(CompareController *controller, bool ticking, QWidget *parent)
    : QTreeWidget(parent), m_controller(controller), m_ticking(ticking)
{
    setObjectName(QStringLiteral("tvwCompare"));
    setColumnCount(4);
    setHeaderLabels({GetResText(4704), GetResText(4705), QString(), GetResText(4706)});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(ItemColumn, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(DeviceColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(MarkColumn, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(OtherColumn, QHeaderView::Stretch);
    connect(controller, &CompareController::rowsChanged, this, &CompareTable::fill);
    connect(this, &QTreeWidget::itemChanged, this, &CompareTable::itemTicked);
    fill();
}

void CompareTable::setOtherHeading(const QString &heading)
{
    headerItem()->setText(OtherColumn, heading);
}

QTreeWidgetItem *CompareTable::rowOf(const QString &item) const
{
    for (int g = 0; g < topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            if (group->child(i)->data(ItemColumn, ItemNameRole).toString() == item)
                return group->child(i);
        }
    }
    return nullptr;
}

void CompareTable::fill()
{
    // A tick changes nothing but the box the user just set.
    if (m_inTick)
        return;
    m_filling = true;
    const int scroll = verticalScrollBar() ? verticalScrollBar()->value() : 0;
    clear();
    const QString notRead = GetResText(4715);
    QTreeWidgetItem *group = nullptr;
    std::optional<CompareItem::Group> current;
    for (const DatasetComparison::Row &row : m_controller->visibleRows()) {
        if (current != row.item->group) {
            current = row.item->group;
            group = new QTreeWidgetItem(this, {HistoryTexts::groupLabel(*current)});
            group->setFirstColumnSpanned(true);
            group->setFlags(Qt::ItemIsEnabled);
            QFont bold = font();
            bold.setBold(true);
            group->setFont(ItemColumn, bold);
            group->setExpanded(true);
        }
        auto *line = new QTreeWidgetItem(group);
        line->setData(ItemColumn, ItemNameRole, row.name);
        line->setText(ItemColumn, HistoryTexts::itemLabel(row.name));
        line->setToolTip(ItemColumn, row.name);
        line->setText(DeviceColumn, row.deviceKnown ? row.deviceShown : notRead);
        line->setText(OtherColumn, row.otherKnown ? row.otherShown : notRead);
        line->setText(MarkColumn, row.differs ? QStringLiteral("\u2260") : QStringLiteral("="));
        line->setTextAlignment(MarkColumn, Qt::AlignCenter);
        Qt::ItemFlags flags = Qt::ItemIsEnabled;
        if (m_ticking && row.differs) {
            flags |= Qt::ItemIsUserCheckable;
            line->setCheckState(ItemColumn,
                                m_controller->isChecked(row.name) ? Qt::Checked : Qt::Unchecked);
        }
        line->setFlags(flags);
        for (int column = 0; column < columnCount(); ++column) {
            if (row.differs)
                line->setBackground(column, DifferenceBackground);
        }
        for (int column : {DeviceColumn, OtherColumn}) {
            const bool known = column == DeviceColumn ? row.deviceKnown : row.otherKnown;
            if (!known) {
                QFont italic = font();
                italic.setItalic(true);
                line->setFont(column, italic);
            }
        }
    }
    expandAll();
    if (verticalScrollBar())
        verticalScrollBar()->setValue(scroll);
    m_filling = false;
}

void CompareTable::itemTicked(QTreeWidgetItem *row, int column)
{
    if (m_filling || column != ItemColumn || !(row->flags() & Qt::ItemIsUserCheckable))
        return;
    m_inTick = true;
    m_controller->setChecked(row->data(ItemColumn, ItemNameRole).toString(),
                             row->checkState(ItemColumn) == Qt::Checked);
    m_inTick = false;
}
