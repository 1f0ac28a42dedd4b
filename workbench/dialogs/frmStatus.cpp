#include "frmStatus.h"

#include "DiagnosisBits.h"
#include "DialogControls.h"
#include "IViewEx.h"
#include "SequenceStarter.h"
#include "VexaAppItem.h"
#include "VexaSequenceItem.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/global.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int Connected = 2;
constexpr int SymbolSize = 20;
constexpr quint8 SelfTestRunning = 3;
// The device's result (not run, passed, failed, running) and its text.
constexpr qint16 SelfTestText[] = {3921, 3923, 3924, 3922};
const char *const Ok = "OK";
const char *const Attention = "ACHTUNG";

QPixmap picture(const char *name, int size)
{
    return QIcon(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name))).pixmap(size, size);
}

// Shown over a part of the dialog while the device is offline.
QFrame *disconnectFrame(const char *name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    frame->setBackgroundRole(QPalette::Window);
    auto *plug = new QLabel(frame);
    plug->setPixmap(picture("TOOLBAR_DISCONNECT", 32));
    plug->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(plug);
    return frame;
}
} // namespace

frmStatus::frmStatus(QWidget *parent) : clsVexaForm(parent)
{
    build();
    connectReactions();
}

frmStatus::~frmStatus() = default;

void frmStatus::build()
{
    setObjectName(QStringLiteral("frmStatus"));
    setProperty("Tag", 2537);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraGroupAll"));

    seqReadAdditionalTransmitterStatus = new VexaSequenceItem(frame);
    seqReadAdditionalTransmitterStatus->setAppItemName(
        QStringLiteral("ReadAdditionalTransmitterStatus"));
    seqPerformTransmitterSelfTest = new VexaSequenceItem(frame);
    seqPerformTransmitterSelfTest->setAppItemName(QStringLiteral("PerformTransmitterSelfTest"));
    appDiagnosis = new VexaAppItem(frame);
    appDiagnosis->setAppItemName(QStringLiteral("Diagnosis"));
    appDiagnosis->setRegisterOnShadow(true);
    appConnectionStatus = new VexaAppItem(frame);
    appConnectionStatus->setAppItemName(QStringLiteral("&&private&&Connect"));
    appCurrentSequence = new VexaAppItem(frame);
    appCurrentSequence->setAppItemName(QStringLiteral("currentSequence"));
    m_statusReader =
        new SequenceStarter(seqReadAdditionalTransmitterStatus, appCurrentSequence, this);

    auto *messages = new QLabel(frame);
    messages->setObjectName(QStringLiteral("lblMessages"));
    messages->setProperty("Tag", 2627);
    tvwMessages = new QTreeWidget(frame);
    tvwMessages->setObjectName(QStringLiteral("tvwMessages"));
    tvwMessages->setHeaderHidden(true);
    tvwMessages->setRootIsDecorated(true);
    tvwMessages->setMinimumSize(320, 200);
    frmElectronicDisconnect = disconnectFrame("frmElectronicDisconnect", frame);
    auto *treeCell = new QGridLayout;
    treeCell->addWidget(tvwMessages, 0, 0);
    treeCell->addWidget(frmElectronicDisconnect, 0, 0);

    auto *left = new QVBoxLayout;
    left->addWidget(messages);
    left->addLayout(treeCell, 1);

    lblSelfTest = new QLabel(frame);
    lblSelfTest->setObjectName(QStringLiteral("lblSelfTest"));
    lblSelfTest->setWordWrap(true);
    lblSelfTest->hide();
    chkCyclicRefresh = new QCheckBox(frame);
    chkCyclicRefresh->setObjectName(QStringLiteral("chkCyclicRefresh"));
    chkCyclicRefresh->setProperty("Tag", 3518);
    cmdRefresh = new QPushButton(frame);
    cmdRefresh->setObjectName(QStringLiteral("cmdRefresh"));
    cmdRefresh->setProperty("Tag", 1046);
    auto *right = new QVBoxLayout;
    right->addWidget(buildCategories(frame));
    right->addStretch(1);
    right->addWidget(lblSelfTest);
    right->addWidget(chkCyclicRefresh);
    right->addWidget(cmdRefresh);

    auto *inner = new QHBoxLayout(frame);
    inner->addLayout(left, 1);
    inner->addLayout(right);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(frame);
}

QWidget *frmStatus::buildCategories(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    auto *symbols = new QGridLayout;
    for (int i = 0; i < Categories; ++i) {
        Picture1[i] = new QLabel(panel);
        Picture1[i]->setObjectName(QStringLiteral("Picture1%1").arg(i));
        Picture1[i]->setFixedSize(SymbolSize, SymbolSize);
        lblCategory[i] = new QLabel(panel);
        lblCategory[i]->setObjectName(QStringLiteral("lblCategory%1").arg(i));
        lblCategory[i]->setProperty("Tag", int(DiagnosisBits::categoryTextId(i)));
        symbols->addWidget(Picture1[i], i, 0);
        symbols->addWidget(lblCategory[i], i, 1);
        setSymbol(i, Ok);
    }
    frmMeasurementdisconnect = disconnectFrame("frmMeasurementdisconnect", panel);
    auto *cell = new QGridLayout(panel);
    cell->setContentsMargins(0, 0, 0, 0);
    cell->addLayout(symbols, 0, 0);
    cell->addWidget(frmMeasurementdisconnect, 0, 0);
    return panel;
}

void frmStatus::connectReactions()
{
    connect(appDiagnosis, &VexaAppItem::ValueChanged, this, [this](QString &) {
        if (IsInitialized())
            diagnosisChanged();
    });
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &) { showConnection(); });
    connect(chkCyclicRefresh, &QCheckBox::clicked, this, &frmStatus::cyclicRefreshClicked);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmStatus::selfTest);
    for (VexaSequenceItem *sequence :
         {seqReadAdditionalTransmitterStatus, seqPerformTransmitterSelfTest}) {
        connect(sequence, &VexaSequenceItem::StatusChanged, this,
                [this, sequence](qint32 &status) { sequenceStatus(sequence, status); });
    }
}

QString frmStatus::symbol(int category) const
{
    return Picture1[category]->property("Picture").toString();
}

void frmStatus::setSymbol(int category, const char *name)
{
    Picture1[category]->setPixmap(picture(name, SymbolSize));
    Picture1[category]->setProperty("Picture", QLatin1String(name));
}

void frmStatus::FormLoad()
{
    // Each opening shows the status as it is read now, not what it was.
    m_tree.forget();
    tvwMessages->clear();
    for (int i = 0; i < Categories; ++i)
        setSymbol(i, Ok);
    lblSelfTest->hide();
    m_statusReadStarted = false;
    m_awaitingSelfTest = false;
}

void frmStatus::FormActivated()
{
    // Opened before its texts and controls were there: wide enough now.
    DialogControls::fitToContents(this);
    if (m_statusReadStarted)
        return;
    m_statusReadStarted = true;
    // Another sequence may run (the dialog opened during an upload): the
    // read waits for it rather than asking the host again and again.
    m_statusReader->start(SequenceStarter::Command::Start, SequenceStarter::WhenBusy::WaitForHost);
}

void frmStatus::diagnosisChanged()
{
    appDiagnosis->Adjust();
    refreshTree();
}

void frmStatus::refreshTree()
{
    const QByteArray value = appDiagnosis->OctetValue().toByteArray();
    showSelfTest(value);
    const auto categories = m_tree.refresh(value);
    if (!categories)
        return;
    tvwMessages->clear();
    for (const DiagnosisTree::Category &category : *categories) {
        setSymbol(category.index, category.attention ? Attention : Ok);
        if (!category.attention)
            continue;
        auto *node = new QTreeWidgetItem(tvwMessages, {lblCategory[category.index]->text()});
        QFont bold = node->font(0);
        bold.setBold(true);
        node->setFont(0, bold);
        for (int bit : category.bits)
            new QTreeWidgetItem(node, {DiagnosisBits::text(category.index, bit)});
        node->setExpanded(true);
    }
}

void frmStatus::showSelfTest(const QByteArray &diagnosis)
{
    const auto result = DiagnosisTree::selfTestResult(diagnosis);
    lblSelfTest->setVisible(result && *result <= SelfTestRunning);
    if (result && *result <= SelfTestRunning)
        lblSelfTest->setText(GetResText(SelfTestText[*result]));
    // While the device tests itself, its status is read every cycle until
    // the result is in; then the user's choice of refresh holds again.
    const bool running = result && *result == SelfTestRunning;
    if (running == m_awaitingSelfTest)
        return;
    m_awaitingSelfTest = running;
    if (!chkCyclicRefresh->isChecked()) {
        // Not from inside the item's own report: registering again replaces its view.
        QMetaObject::invokeMethod(
            this, [this, running] { registerDiagnosis(running ? 1 : 0); }, Qt::QueuedConnection);
    }
}

void frmStatus::registerDiagnosis(qint16 interval)
{
    if (!IsInitialized() || !viewRef())
        return;
    appDiagnosis->setUpdateInterval(interval);
    appDiagnosis->Register(viewRef()->appletItemManagerRef());
}

void frmStatus::cyclicRefreshClicked(bool checked)
{
    registerDiagnosis(checked || m_awaitingSelfTest ? 1 : 0);
}

void frmStatus::selfTest()
{
    // Refused by the host: nothing runs, nothing is busy.
    if (DialogControls::hostTakes("the self test",
                                  [this] { seqPerformTransmitterSelfTest->Start(true); }))
        EnableMainWindow(false);
}

void frmStatus::sequenceStatus(VexaSequenceItem *sequence, qint32 status)
{
    if (IsInitialized() && status == 2)
        sequence->DoAction(1);
}

void frmStatus::showConnection()
{
    const bool online = qRound(appConnectionStatus->UIntValue()) == Connected;
    frmElectronicDisconnect->setVisible(!online);
    frmMeasurementdisconnect->setVisible(!online);
    chkCyclicRefresh->setEnabled(online);
    cmdRefresh->setEnabled(online);
    if (!online)
        m_statusReader->forget();
}
