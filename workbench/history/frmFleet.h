#pragma once

#include "IVexaForm.h"

#include <QWidget>

class FleetController;
struct FleetRow;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

// The Fleet window: every device the history knows, with its last
// calibration check and when the next is due; searched by tag, narrowed to
// the devices due within some days, exported as CSV. A double click opens
// the device's history.
class frmFleet : public QWidget, public IVexaForm
{
    Q_OBJECT

public:
    explicit frmFleet(QWidget *parent = nullptr);

    IViewEx *viewRef() const override { return m_view; }
    void setViewRef(IViewEx *view) override;
    QString GetTextFromResource(qint16 &iTextID) const override;
    void UpdateVexaControls() override {}

    FleetController *controller() const { return m_controller; }
    // The header, also the CSV header, and a row as the user reads it.
    static QStringList header();
    static QStringList cells(const FleetRow &row);
    // Writes the rows shown to the file; false (and a message) when it fails.
    bool exportTo(const QString &path);
    // Opens the history window on this device.
    void openHistory(const QString &device);

    QTreeWidget *lvwFleet;
    QLineEdit *txtSearch;
    QCheckBox *chkDue;
    QSpinBox *spnDueDays;
    QLabel *lblStatus;
    QPushButton *cmdExport;
    QPushButton *cmdReload;
    QPushButton *cmdClose;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill();
    void dueChanged();
    void chooseExportFile();

    IViewEx *m_view = nullptr;
    FleetController *m_controller;
};
