#include "DiagnosisCheckGrid.h"

#include "DiagnosisBits.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
// The categories side by side: the short ones on the left, electronics and
// operation on the right.
constexpr int Column[DiagnosisBits::Categories] = {0, 0, 1, 0, 1};

QLabel *marker(QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("\u25CF"), parent);
    label->setStyleSheet(QStringLiteral("color: #d07000;"));
    label->hide();
    return label;
}
} // namespace

DiagnosisCheckGrid::DiagnosisCheckGrid(const QList<int> &boxes, QWidget *parent)
    : QWidget(parent), m_order(boxes)
{
    setObjectName(QStringLiteral("grdDiagnosis"));
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    QVBoxLayout *column[2] = {new QVBoxLayout, new QVBoxLayout};
    for (QVBoxLayout *layout : column)
        columns->addLayout(layout, 1);
    for (int box : boxes) {
        QGroupBox *group = frame(DiagnosisBits::category(box));
        auto *grid = static_cast<QGridLayout *>(group->layout());
        auto *check = new QCheckBox(group);
        check->setObjectName(QStringLiteral("chkValue%1").arg(box));
        check->setProperty("Tag", 3000 + box);
        auto *dirty = marker(group);
        dirty->setObjectName(QStringLiteral("lblDirty%1").arg(box));
        // The column keeps its width while the markers are hidden.
        grid->setColumnMinimumWidth(0, dirty->sizeHint().width());
        const int row = grid->rowCount();
        grid->addWidget(dirty, row, 0);
        grid->addWidget(check, row, 1);
        m_boxes.insert(box, check);
        m_markers.insert(box, dirty);
        connect(check, &QCheckBox::clicked, this,
                [this, box](bool checked) { Q_EMIT boxClicked(box, checked); });
    }
    for (int c = 0; c < DiagnosisBits::Categories; ++c) {
        if (QGroupBox *group = m_frames.value(c))
            column[Column[c]]->addWidget(group);
    }
    for (QVBoxLayout *layout : column)
        layout->addStretch(1);
}

QGroupBox *DiagnosisCheckGrid::frame(int category)
{
    if (QGroupBox *group = m_frames.value(category))
        return group;
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("fraCategory%1").arg(category));
    group->setProperty("Tag", int(DiagnosisBits::categoryTextId(category)));
    auto *grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(4);
    m_frames.insert(category, group);
    return group;
}

void DiagnosisCheckGrid::showValue(int category, double value)
{
    for (int bit = 0; bit < 8; ++bit) {
        if (QCheckBox *check = chkValue(category * 10 + bit))
            check->setChecked(DiagnosisBits::isSet(value, bit));
    }
}

void DiagnosisCheckGrid::showDirty(int category, bool modified)
{
    for (int bit = 0; bit < 8; ++bit) {
        if (QLabel *dirty = lblDirty(category * 10 + bit))
            dirty->setVisible(modified && !chkValue(category * 10 + bit)->isHidden());
    }
}

void DiagnosisCheckGrid::setBoxShown(int box, bool shown)
{
    if (QCheckBox *check = chkValue(box))
        check->setVisible(shown);
    if (QLabel *dirty = lblDirty(box); dirty && !shown)
        dirty->setVisible(false);
}
