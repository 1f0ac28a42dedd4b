#pragma once

#include "IVexaForm.h"

#include <QWidget>

class CompareController;
class CompareTable;
class QCheckBox;
class QLabel;
class QPushButton;

// The Compare window: the device's values beside the dataset's (or a
// snapshot's), grouped as the dialogs group them, differing rows marked.
// The user ticks rows and writes just those to the device, or takes just
// those into the dataset.
class frmCompare : public QWidget, public IVexaForm
{
    Q_OBJECT

public:
    explicit frmCompare(QWidget *parent = nullptr);
    ~frmCompare() override;

    IViewEx *viewRef() const override { return m_view; }
    void setViewRef(IViewEx *view) override;
    QString GetTextFromResource(qint16 &iTextID) const override;
    void UpdateVexaControls() override;

    // The next showing compares with this snapshot (0: the dataset).
    void compareWith(qint64 snapshot);

    CompareController *controller() const { return m_controller; }
    CompareTable *table() const { return m_table; }
    QLabel *lblComparedWith;
    QLabel *lblStatus;
    QCheckBox *chkOnlyDifferences;
    QPushButton *cmdReadDevice;
    QPushButton *cmdWrite;
    QPushButton *cmdTake;
    QPushButton *cmdClose;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void refreshState();
    void writeFailed();

    IViewEx *m_view = nullptr;
    CompareController *m_controller;
    CompareTable *m_table;
    qint64 m_snapshot = 0;
    bool m_placed = false;
};
