#pragma once

#include <QHash>
#include <QList>
#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;

// The diagnosis bits of a dialog as check boxes: one frame per category
// (caption 2269 + category), box n with the caption 3000 + n and a change
// marker beside it that shows while the category's value is not yet sent.
// Shows values; the dialog writes what the user ticks.
class DiagnosisCheckGrid : public QWidget
{
    Q_OBJECT

public:
    DiagnosisCheckGrid(const QList<int> &boxes, QWidget *parent = nullptr);

    // Null for a box or marker the dialog does not have.
    QCheckBox *chkValue(int box) const { return m_boxes.value(box); }
    QLabel *lblDirty(int box) const { return m_markers.value(box); }
    QGroupBox *fraCategory(int category) const { return m_frames.value(category); }
    const QList<int> &boxes() const { return m_order; }

    // Ticks the boxes of the category from the bits of its value.
    void showValue(int category, double value);
    // The category's markers show or hide.
    void showDirty(int category, bool modified);
    // A box with its marker (a device that lacks the bit).
    void setBoxShown(int box, bool shown);

Q_SIGNALS:
    // Only the user's clicks: showing a value ticks without a signal.
    void boxClicked(int box, bool checked);

private:
    QGroupBox *frame(int category);

    QList<int> m_order;
    QHash<int, QCheckBox *> m_boxes;
    QHash<int, QLabel *> m_markers;
    QHash<int, QGroupBox *> m_frames;
};
