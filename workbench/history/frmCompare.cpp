#include "frmCompare.h"

#include "CompareController.h"
#include "CompareTable.h"
#include "HistoryService.h"
#include "HistoryTexts.h"
#include "MessageBoxSeam.h"
#include "mainwin/MainChildWindows.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const MainCommandTable::Registration registration("mnuDeviceCompare", [](frmMain &main) {
    auto *window = qobject_cast<frmCompare *>(
        main.childWindows().instance(typeid(frmCompare).name(), [] { return new frmCompare; }));
    window->compareWith(0);
    main.ShowChildForm(window);
});
} // namespace

frmCompare::frmCompare(QWidget *parent)
    : QWidget(parent), lblComparedWith(new QLabel(this)), lblStatus(new QLabel(this)),
      chkOnlyDifferences(new QCheckBox(GetResText(4708), this)),
      cmdReadDevice(new QPushButton(GetResText(4709), this)),
      cmdWrite(new QPushButton(GetResText(4710), this)),
      cmdTake(new QPushButton(GetResText(4711), this)),
      cmdClose(new QPushButton(GetResText(4712), this)), m_controller(new CompareController(this)),
      m_table(new CompareTable(m_controller, true, this))
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(GetResText(4702));
    lblStatus->setWordWrap(true);
    auto *top = new QHBoxLayout;
    top->addWidget(lblComparedWith, 1);
    top->addWidget(chkOnlyDifferences);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdReadDevice);
    buttons->addStretch(1);
    buttons->addWidget(cmdTake);
    buttons->addWidget(cmdWrite);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);
    resize(640, 560);

    connect(chkOnlyDifferences, &QCheckBox::toggled, m_controller,
            &CompareController::setOnlyDifferences);
    connect(cmdReadDevice, &QPushButton::clicked, m_controller, &CompareController::readDevice);
    connect(cmdWrite, &QPushButton::clicked, m_controller, &CompareController::writeChecked);
    connect(cmdTake, &QPushButton::clicked, m_controller,
            &CompareController::takeCheckedIntoDataset);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (parentWidget())
            parentWidget()->close();
        else
            close();
    });
    connect(m_controller, &CompareController::rowsChanged, this, &frmCompare::refreshState);
    connect(m_controller, &CompareController::stateChanged, this, &frmCompare::refreshState);
    connect(m_controller, &CompareController::writeFailed, this, &frmCompare::writeFailed);
    refreshState();
}

frmCompare::~frmCompare() = default;

void frmCompare::setViewRef(IViewEx *view)
{
    m_view = view;
    m_controller->setService(historyServiceOf(view));
}

QString frmCompare::GetTextFromResource(qint16 &iTextID) const
{
    return GetResText(iTextID);
}

void frmCompare::UpdateVexaControls()
{
    m_controller->refresh();
}

void frmCompare::compareWith(qint64 snapshot)
{
    m_snapshot = snapshot;
    if (isVisible()) {
        if (snapshot == 0)
            m_controller->compareWithDataset();
        else
            m_controller->compareWithSnapshot(snapshot);
    }
}

void frmCompare::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        RestoreWindowPlacement(this, true, true);
        m_placed = true;
    }
    if (m_snapshot == 0)
        m_controller->compareWithDataset();
    else
        m_controller->compareWithSnapshot(m_snapshot);
}

void frmCompare::closeEvent(QCloseEvent *event)
{
    SaveWindowPlacement(this, true, true);
    m_placed = false;
    event->accept();
}

void frmCompare::refreshState()
{
    HistoryService *service = m_controller->service();
    QString other = GetResText(4706);
    if (m_controller->snapshot() != 0 && service) {
        const auto snapshot = service->snapshots().load(m_controller->snapshot());
        other = FormatResText(GetResText(4707),
                              {snapshot ? HistoryTexts::time(snapshot->taken) : QString()});
    }
    lblComparedWith->setText(GetResText(4729) + QStringLiteral(": ") + other);
    m_table->setOtherHeading(other);

    using State = CompareController::State;
    const State state = m_controller->state();
    QString status;
    if (state == State::Reading)
        status = GetResText(4714);
    else if (state == State::NotConnected)
        status = GetResText(4716);
    else
        status = FormatResText(GetResText(4713), {QString::number(m_controller->differenceCount()),
                                                  QString::number(m_controller->rows().size())});
    const QString problem = HistoryTexts::databaseProblem(service);
    lblStatus->setText(problem.isEmpty() ? status : status + QLatin1Char('\n') + problem);
    cmdReadDevice->setEnabled(service && service->isConnected() && state == State::Idle);
    cmdWrite->setEnabled(m_controller->canWrite());
    cmdTake->setEnabled(m_controller->canTakeIntoDataset());
    cmdTake->setVisible(m_controller->snapshot() == 0);
}

void frmCompare::writeFailed()
{
    MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(), GetResText(4786),
                         QMessageBox::Ok);
}
