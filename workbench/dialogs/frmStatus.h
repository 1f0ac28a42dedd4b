#pragma once

#include "DiagnosisTree.h"
#include "mainwin/clsVexaForm.h"

#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QTreeWidget;
class SequenceStarter;
class VexaAppItem;
class VexaSequenceItem;

// The device's diagnosis messages as a tree, a symbol per category ("OK" or
// "ACHTUNG"), the self test and an optional cyclic refresh. The status is
// read once when the dialog opens; later from the cycle or the self test.
class frmStatus : public clsVexaForm
{
    Q_OBJECT

public:
    static constexpr int Categories = DiagnosisTree::Categories;

    explicit frmStatus(QWidget *parent = nullptr);
    ~frmStatus() override;

    // The framework refreshes nothing here: the tree follows the item.
    void UpdateVexaControls() override {}

    VexaSequenceItem *seqReadAdditionalTransmitterStatus;
    VexaSequenceItem *seqPerformTransmitterSelfTest;
    VexaAppItem *appDiagnosis;
    VexaAppItem *appConnectionStatus;
    VexaAppItem *appCurrentSequence;
    QTreeWidget *tvwMessages;
    std::array<QLabel *, Categories> Picture1{};
    std::array<QLabel *, Categories> lblCategory{};
    QLabel *lblSelfTest;
    QCheckBox *chkCyclicRefresh;
    QPushButton *cmdRefresh;
    QFrame *frmElectronicDisconnect;
    QFrame *frmMeasurementdisconnect;

    // "OK" or "ACHTUNG": the symbol a category shows.
    QString symbol(int category) const;

protected:
    void FormLoad() override;
    void FormActivated() override;

private:
    void build();
    QWidget *buildCategories(QWidget *parent);
    void connectReactions();
    void setSymbol(int category, const char *name);
    void diagnosisChanged();
    void refreshTree();
    void showSelfTest(const QByteArray &diagnosis);
    void registerDiagnosis(qint16 interval);
    void cyclicRefreshClicked(bool checked);
    void selfTest();
    void sequenceStatus(VexaSequenceItem *sequence, qint32 status);
    void showConnection();

    DiagnosisTree m_tree;
    SequenceStarter *m_statusReader;
    bool m_statusReadStarted = false;
    // The self test runs on in the device: the status is read until it reports.
    bool m_awaitingSelfTest = false;
};
