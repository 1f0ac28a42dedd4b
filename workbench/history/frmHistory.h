#pragma once

#include "IVexaForm.h"

#include <QWidget>

class HistoryController;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

// The History window: the snapshots taken before writes (each can be
// compared with the device now and restored to it) and the change log with
// its filters and CSV export.
class frmHistory : public QWidget, public IVexaForm
{
    Q_OBJECT

public:
    explicit frmHistory(QWidget *parent = nullptr);
    ~frmHistory() override;

    IViewEx *viewRef() const override { return m_view; }
    void setViewRef(IViewEx *view) override;
    QString GetTextFromResource(qint16 &iTextID) const override;
    void UpdateVexaControls() override {}

    HistoryController *controller() const { return m_controller; }
    // The snapshot selected in the list; 0 for none.
    qint64 selectedSnapshot() const;
    // Writes the shown entries to the file; false (and a message) when it fails.
    bool exportTo(const QString &path);
    // The change log of this device (another window asks, by its key).
    void showDevice(const QString &device);
    // The column titles of the log, also the CSV header.
    static QStringList logHeader();

    QTabWidget *tbsHistory;
    QTreeWidget *lvwSnapshots;
    QTreeWidget *lvwChanges;
    QComboBox *cmbDevice;
    QDateEdit *dtpFrom;
    QDateEdit *dtpTo;
    QLineEdit *txtItem;
    QLabel *lblProblem;
    QPushButton *cmdCompare;
    QPushButton *cmdRestore;
    QPushButton *cmdExport;
    QPushButton *cmdClose;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *snapshotPage();
    QWidget *logPage();
    void fill();
    void fillDevices();
    void timeFilterChanged();
    void compareSnapshot();
    void restoreSnapshot();
    void chooseExportFile();
    void refreshButtons();

    IViewEx *m_view = nullptr;
    HistoryController *m_controller;
    bool m_placed = false;
};
