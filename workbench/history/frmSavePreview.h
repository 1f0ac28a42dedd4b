#pragma once

#include <QDialog>
#include <functional>

class CompareController;
class CompareTable;
class HistoryService;
class QCheckBox;
class QLabel;
class QPushButton;

// What a write will change on the device, before it is made: the values
// that differ between the device (as last read) and the dataset (Save to
// device) or a snapshot (restore), with Write and Cancel. Reads the device
// first when its values were not all read since it connected.
class frmSavePreview : public QDialog
{
    Q_OBJECT

public:
    // snapshot 0: the dataset, for Save to device.
    frmSavePreview(HistoryService *service, qint64 snapshot, QWidget *parent = nullptr);

    // Whether Save to device shows the preview (a per-user setting).
    static bool enabled();
    static void setEnabled(bool on);

    // Save to device: the preview, then save() when the user writes; save()
    // at once when the preview is off or there is no history service.
    static void previewSaveToDevice(QWidget *mainWindow, HistoryService *service,
                                    std::function<void()> save);
    // A snapshot back to the device, after the preview.
    static frmSavePreview *restore(QWidget *parent, HistoryService *service, qint64 snapshot);

    CompareController *controller() const { return m_controller; }
    CompareTable *table() const { return m_table; }
    QLabel *lblIntro;
    QLabel *lblStatus;
    QCheckBox *chkShowPreview;
    QPushButton *cmdWrite;
    QPushButton *cmdCancel;

private:
    void refreshState();

    CompareController *m_controller;
    CompareTable *m_table;
};
