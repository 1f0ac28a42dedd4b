#pragma once

#include "DefaultDatasetDatabase.h"
#include "clsVexaForm.h"

#include <QList>
#include <QLocale>

class QLabel;
class QListWidget;
class QPushButton;
class VexaAppItem;

// File New: the user picks a device type and a measuring range from the
// default datasets, and OK writes the stored default of every parameter
// into the host's items. Opened modal over the main window after all other
// child windows were closed; give it the main window's view first:
//
//     auto *dialog = new frmSelectDefaultDataset(mainWindow);
//     dialog->setViewRef(viewRef);
//     dialog->ShowModal();
class frmSelectDefaultDataset : public clsVexaForm
{
    Q_OBJECT

public:
    explicit frmSelectDefaultDataset(QWidget *parent = nullptr);
    ~frmSelectDefaultDataset() override;

    // Shows the dialog application-modal and returns when it has closed.
    void ShowModal();

    // A stored value in the form the host takes for an item of this data
    // type: floats (4) in the user's number format, everything else as
    // stored; both without surrounding blanks.
    static QString HostValue(const QString &objectValue, qint32 dataType,
                             const QLocale &locale = QLocale());
    // A measuring range as the database names it ("-2.5 ... 2.5 bar"), with
    // the user's decimal separator.
    static QString RangeText(const QString &range, const QLocale &locale = QLocale());

    VexaAppItem *appDeviceType;
    VexaAppItem *appInCompatibleDataset;
    VexaAppItem *appCountryCode;
    VexaAppItem *appCurrentSequence;
    VexaAppItem *appCurrentSource;
    VexaAppItem *appFileName;
    VexaAppItem *appVexDPath;
    VexaAppItem *appUniversal;
    QListWidget *lstDeviceID;
    QLabel *lblDeviceDescription;
    QListWidget *lstPRanges;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;

Q_SIGNALS:
    void Closed();

protected:
    void FormActivated() override;
    void closeEvent(QCloseEvent *event) override;
    // Enter presses OK (when a dataset can be created), Escape Cancel.
    void keyPressEvent(QKeyEvent *event) override;
    void FormUnload() override;

private:
    void buildControls();
    bool openDatabase();
    void fillDeviceTypes();
    void lstDeviceID_Click();
    void cmdOK_Click();
    void apply(const QList<DefaultDatasetDatabase::Value> &rows);
    QString notFoundText(const QString &reason) const;
    QString cannotBuildText(const QString &folder, const QString &reason) const;
    void refreshOK();
    void closeLater();

    DefaultDatasetDatabase m_database;
    QList<DefaultDatasetDatabase::DeviceType> m_deviceTypes;
};
