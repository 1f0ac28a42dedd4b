#pragma once

#include "CalcheckRecord.h"
#include "mainwin/clsVexaForm.h"

#include <QDate>
#include <memory>

class CalcheckController;
class CalcheckRecordStore;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTableWidget;

// The calibration check wizard: the set-up, the as-found run, the adjustment
// through the calibration dialogs, the as-left run and the result with its
// certificate. The controller does the work; this window only shows it.
class frmCalcheck : public clsVexaForm
{
    Q_OBJECT

public:
    enum Page
    {
        SetupPage,
        RunPage,
        AdjustPage,
        ResultPage
    };

    explicit frmCalcheck(QWidget *parent = nullptr);
    ~frmCalcheck() override;

    // Made at the first activation, on the host of the window's view.
    CalcheckController *controller() const { return m_controller.get(); }
    int page() const;
    const CalcheckRecord &finishedRecord() const { return m_record; }
    // The earlier checks of the device as the set-up lists them, newest first.
    const QList<CalcheckRecord> &pastChecks() const { return m_past; }

    QLineEdit *txtPoints;
    QDoubleSpinBox *txtTolerance;
    QLineEdit *txtReferenceName;
    QLineEdit *txtReferenceSerial;
    QDateEdit *txtReferenceDue;
    QLineEdit *txtTechnician;
    QPushButton *cmdStartAsFound;
    QTableWidget *tblPastChecks;
    QPushButton *cmdPastCertificate;

    QLabel *lblRunTitle;
    QLabel *lblPoint;
    QLabel *lblMultidrop;
    QLineEdit *txtReference;
    QLineEdit *txtMeasuredCurrent;
    QPushButton *cmdApply;
    QPushButton *cmdMeasure;
    QPushButton *cmdCancelRun;
    QProgressBar *prgStability;
    QLabel *lblStability;
    QTableWidget *tblReadings;

    QLabel *lblAdjust;
    QPushButton *cmdZero;
    QPushButton *cmdBalance;
    QPushButton *cmdCurrentTrim;
    QPushButton *cmdStartAsLeft;
    QTableWidget *tblAsFound;

    QLabel *lblResult;
    QLabel *lblDrift;
    QPushButton *cmdCertificate;
    QPushButton *cmdNewCheck;
    QTableWidget *tblAsLeft;

    // Fills a table with the readings of a run (the certificate's tables too).
    static void fillTable(QTableWidget *table, const CalcheckRun &run);
    static QTableWidget *readingsTable(QWidget *parent, const char *name);

protected:
    void FormActivated() override;
    void FormUnload() override;

private:
    QWidget *buildSetup();
    QWidget *buildRun();
    QWidget *buildAdjust();
    QWidget *buildResult();
    void showPage(Page page);
    void startRun(CalcheckRun::Kind kind);
    void showPoint();
    void showSourceCurrent(double mA);
    void measure();
    void pointRecorded();
    void runFinished(CalcheckRun::Kind kind);
    void pointFailed(const QString &message);
    void showResult();
    void openMenuEntry(const char *entry);
    void showCertificate();
    void showPastChecks();
    void showPastCertificate();
    // The records of the device instance's history; null, with why, when
    // the history database cannot be used.
    std::unique_ptr<CalcheckRecordStore> openStore(QString *problem) const;
    CalcheckRecord record() const;

    std::unique_ptr<CalcheckController> m_controller;
    QStackedWidget *m_pages;
    CalcheckRun::Kind m_kind = CalcheckRun::Kind::AsFound;
    CalcheckRecord m_record; // the finished check
    QList<CalcheckRecord> m_past;
};
