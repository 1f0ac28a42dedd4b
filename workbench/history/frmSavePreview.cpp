#include "frmSavePreview.h"

#include "CompareController.h"
#include "CompareTable.h"
#include "HistoryService.h"
#include "HistoryTexts.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {
const QString SettingKey = QStringLiteral("Settings/PreviewSaveToDevice");
} // namespace

frmSavePreview::frmSavePreview(HistoryService *service, qint64 snapshot, QWidget *parent)
    : QDialog(parent), lblIntro(new QLabel(this)), lblStatus(new QLabel(this)),
      chkShowPreview(new QCheckBox(GetResText(4719), this)),
      cmdWrite(new QPushButton(GetResText(4726), this)),
      cmdCancel(new QPushButton(GetResText(4727), this)), m_controller(new CompareController(this)),
      m_table(new CompareTable(m_controller, false, this))
{
    setObjectName(QStringLiteral("frmSavePreview"));
    setWindowTitle(GetResText(snapshot == 0 ? 4717 : 4789));
    lblIntro->setText(GetResText(snapshot == 0 ? 4718 : 4790));
    lblIntro->setWordWrap(true);
    lblStatus->setWordWrap(true);
    chkShowPreview->setChecked(enabled());
    chkShowPreview->setVisible(snapshot == 0);
    cmdWrite->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkShowPreview);
    buttons->addStretch(1);
    buttons->addWidget(cmdWrite);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblIntro);
    layout->addWidget(m_table, 1);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);
    resize(600, 440);

    connect(chkShowPreview, &QCheckBox::toggled, this, &frmSavePreview::setEnabled);
    connect(cmdWrite, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_controller, &CompareController::rowsChanged, this, &frmSavePreview::refreshState);
    connect(m_controller, &CompareController::stateChanged, this, &frmSavePreview::refreshState);
    m_controller->setOnlyDifferences(true);
    m_controller->setService(service);
    if (snapshot == 0)
        m_controller->compareWithDataset();
    else
        m_controller->compareWithSnapshot(snapshot);
    m_table->setOtherHeading(snapshot == 0 ? GetResText(4706) : GetResText(4788));
    refreshState();
}

bool frmSavePreview::enabled()
{
    return QSettings().value(SettingKey, true).toBool();
}

void frmSavePreview::setEnabled(bool on)
{
    QSettings().setValue(SettingKey, on);
}

void frmSavePreview::refreshState()
{
    using State = CompareController::State;
    const State state = m_controller->state();
    if (state == State::Reading)
        lblStatus->setText(GetResText(4714));
    else if (m_controller->differenceCount() == 0)
        lblStatus->setText(GetResText(4728));
    else
        lblStatus->setText(
            FormatResText(GetResText(4713), {QString::number(m_controller->differenceCount()),
                                             QString::number(m_controller->rows().size())}));
    const QString problem = HistoryTexts::databaseProblem(m_controller->service());
    if (!problem.isEmpty())
        lblStatus->setText(lblStatus->text() + QLatin1Char('\n') + problem);
    cmdWrite->setEnabled(state == State::Idle);
}

void frmSavePreview::previewSaveToDevice(QWidget *mainWindow, HistoryService *service,
                                         std::function<void()> save)
{
    if (!service || !enabled()) {
        save();
        return;
    }
    auto *dialog = new frmSavePreview(service, 0, mainWindow);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, dialog, [save = std::move(save)] { save(); });
    dialog->open();
}

frmSavePreview *frmSavePreview::restore(QWidget *parent, HistoryService *service, qint64 snapshot)
{
    auto *dialog = new frmSavePreview(service, snapshot, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    CompareController *controller = dialog->controller();
    connect(dialog, &QDialog::accepted, controller, [controller] {
        controller->checkDifferences();
        controller->writeChecked();
    });
    dialog->open();
    return dialog;
}
