#include "frmHistory.h"

#include "FileChooser.h"
#include "HistoryController.h"
#include "HistoryService.h"
#include "HistoryTexts.h"
#include "MessageBoxSeam.h"
#include "frmCompare.h"
#include "frmSavePreview.h"
#include "mainwin/MainChildWindows.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const MainCommandTable::Registration registration("mnuDeviceHistory",
                                                  MainChildWindows::opener<frmHistory>());

constexpr int SnapshotIdRole = Qt::UserRole + 1;
// The earliest date: shown as "no limit".
const QDate OpenDate(2000, 1, 1);

QTreeWidget *table(QWidget *parent, const char *name, const QStringList &header)
{
    auto *view = new QTreeWidget(parent);
    view->setObjectName(QLatin1String(name));
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAlternatingRowColors(true);
    view->setHeaderLabels(header);
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->header()->setStretchLastSection(true);
    return view;
}

QDateEdit *dateEdit(QWidget *parent, const char *name)
{
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setCalendarPopup(true);
    edit->setMinimumDate(OpenDate);
    edit->setSpecialValueText(QStringLiteral("\u2014"));
    edit->setDate(OpenDate);
    return edit;
}

} // namespace

frmHistory::frmHistory(QWidget *parent)
    : QWidget(parent), tbsHistory(new QTabWidget(this)), lblProblem(new QLabel(this)),
      cmdClose(new QPushButton(GetResText(4712), this)), m_controller(new HistoryController(this))
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(GetResText(4703));
    tbsHistory->addTab(snapshotPage(), GetResText(4759));
    tbsHistory->addTab(logPage(), GetResText(4760));
    lblProblem->setWordWrap(true);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblProblem, 1);
    bottom->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tbsHistory, 1);
    layout->addLayout(bottom);
    // The change log's eight columns side by side.
    resize(960, 480);
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (parentWidget())
            parentWidget()->close();
        else
            close();
    });
    m_controller->setItemLabel(HistoryTexts::itemLabel);
    connect(m_controller, &HistoryController::changed, this, &frmHistory::fill);
}

frmHistory::~frmHistory() = default;

QWidget *frmHistory::snapshotPage()
{
    auto *page = new QWidget(tbsHistory);
    lvwSnapshots = table(
        page, "lvwSnapshots",
        {GetResText(4761), GetResText(4705), GetResText(4763), GetResText(4762), GetResText(4764)});
    cmdCompare = new QPushButton(GetResText(4771), page);
    cmdRestore = new QPushButton(GetResText(4772), page);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdCompare);
    buttons->addWidget(cmdRestore);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(lvwSnapshots, 1);
    layout->addLayout(buttons);
    connect(lvwSnapshots, &QTreeWidget::itemSelectionChanged, this, &frmHistory::refreshButtons);
    connect(cmdCompare, &QPushButton::clicked, this, &frmHistory::compareSnapshot);
    connect(cmdRestore, &QPushButton::clicked, this, &frmHistory::restoreSnapshot);
    return page;
}

QWidget *frmHistory::logPage()
{
    auto *page = new QWidget(tbsHistory);
    cmbDevice = new QComboBox(page);
    cmbDevice->setObjectName(QStringLiteral("cmbDevice"));
    dtpFrom = dateEdit(page, "dtpFrom");
    dtpTo = dateEdit(page, "dtpTo");
    txtItem = new QLineEdit(page);
    txtItem->setObjectName(QStringLiteral("txtItem"));
    txtItem->setClearButtonEnabled(true);
    lvwChanges = table(page, "lvwChanges", logHeader());
    cmdExport = new QPushButton(GetResText(4773), page);
    auto *filters = new QHBoxLayout;
    const auto labelled = [page, filters](qint16 id, QWidget *field) {
        auto *label = new QLabel(GetResText(id), page);
        label->setBuddy(field);
        filters->addWidget(label);
        filters->addWidget(field);
    };
    labelled(4705, cmbDevice);
    labelled(4775, dtpFrom);
    labelled(4776, dtpTo);
    labelled(4777, txtItem);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdExport);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(filters);
    layout->addWidget(lvwChanges, 1);
    layout->addLayout(buttons);
    connect(cmbDevice, &QComboBox::currentIndexChanged, this,
            [this] { m_controller->setDeviceFilter(cmbDevice->currentData().toString()); });
    connect(dtpFrom, &QDateEdit::dateChanged, this, &frmHistory::timeFilterChanged);
    connect(dtpTo, &QDateEdit::dateChanged, this, &frmHistory::timeFilterChanged);
    connect(txtItem, &QLineEdit::textChanged, m_controller, &HistoryController::setItemFilter);
    connect(cmdExport, &QPushButton::clicked, this, &frmHistory::chooseExportFile);
    return page;
}

QStringList frmHistory::logHeader()
{
    return {GetResText(4761), GetResText(4762), GetResText(4705), GetResText(4763),
            GetResText(4704), GetResText(4765), GetResText(4766), GetResText(4767)};
}

void frmHistory::setViewRef(IViewEx *view)
{
    m_view = view;
    m_controller->setService(historyServiceOf(view));
    fillDevices();
}

QString frmHistory::GetTextFromResource(qint16 &iTextID) const
{
    return GetResText(iTextID);
}

void frmHistory::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        RestoreWindowPlacement(this, true, true);
        m_placed = true;
    }
    fillDevices();
    m_controller->reload();
}

void frmHistory::closeEvent(QCloseEvent *event)
{
    SaveWindowPlacement(this, true, true);
    m_placed = false;
    event->accept();
}

void frmHistory::fillDevices()
{
    const QString current = cmbDevice->currentData().toString();
    QSignalBlocker blocker(cmbDevice);
    cmbDevice->clear();
    cmbDevice->addItem(GetResText(4774), QString());
    for (const QString &device : m_controller->devices())
        cmbDevice->addItem(device, device);
    // A device asked for by another window stays chosen, also one with no
    // change logged yet.
    if (!current.isEmpty() && cmbDevice->findData(current) < 0)
        cmbDevice->addItem(current, current);
    cmbDevice->setCurrentIndex(qMax(0, cmbDevice->findData(current)));
}

void frmHistory::showDevice(const QString &device)
{
    if (cmbDevice->findData(device) < 0)
        cmbDevice->addItem(device, device);
    cmbDevice->setCurrentIndex(cmbDevice->findData(device));
    tbsHistory->setCurrentIndex(1);
}

void frmHistory::timeFilterChanged()
{
    // The whole of the days chosen, in the user's time.
    const QDate from = dtpFrom->date();
    const QDate to = dtpTo->date();
    m_controller->setTimeFilter(from == OpenDate ? QDateTime() : from.startOfDay(),
                                to == OpenDate ? QDateTime() : to.endOfDay());
}

void frmHistory::fill()
{
    const qint64 selected = selectedSnapshot();
    lvwSnapshots->clear();
    for (const Snapshot &s : m_controller->snapshots()) {
        auto *row = new QTreeWidgetItem(lvwSnapshots, {HistoryTexts::time(s.taken), s.device, s.tag,
                                                       s.user, HistoryTexts::reason(s.reason)});
        row->setData(0, SnapshotIdRole, s.id);
        if (s.id == selected)
            row->setSelected(true);
    }
    lvwChanges->clear();
    HistoryService *service = m_controller->service();
    for (const ChangeEntry &e : m_controller->entries()) {
        auto *row = new QTreeWidgetItem(lvwChanges, HistoryTexts::logRow(service, e));
        row->setToolTip(4, e.item);
        if (e.outcome != ChangeEntry::Outcome::Accepted)
            row->setForeground(7, QColor(160, 0, 0));
    }
    lblProblem->setText(HistoryTexts::databaseProblem(m_controller->service()));
    if (cmbDevice->count() != m_controller->devices().size() + 1)
        fillDevices();
    refreshButtons();
}

qint64 frmHistory::selectedSnapshot() const
{
    const QList<QTreeWidgetItem *> rows = lvwSnapshots->selectedItems();
    return rows.isEmpty() ? 0 : rows.first()->data(0, SnapshotIdRole).toLongLong();
}

void frmHistory::refreshButtons()
{
    HistoryService *service = m_controller->service();
    const bool chosen = selectedSnapshot() != 0;
    cmdCompare->setEnabled(chosen && service);
    cmdRestore->setEnabled(chosen && service && service->isConnected());
    cmdExport->setEnabled(!m_controller->entries().isEmpty());
}

void frmHistory::compareSnapshot()
{
    auto *main = qobject_cast<frmMain *>(MainWindow());
    const qint64 snapshot = selectedSnapshot();
    if (!main || snapshot == 0)
        return;
    auto *window = qobject_cast<frmCompare *>(
        main->childWindows().instance(typeid(frmCompare).name(), [] { return new frmCompare; }));
    window->compareWith(snapshot);
    main->ShowChildForm(window);
}

void frmHistory::restoreSnapshot()
{
    const qint64 snapshot = selectedSnapshot();
    if (snapshot != 0 && m_controller->service())
        frmSavePreview::restore(this, m_controller->service(), snapshot);
}

void frmHistory::chooseExportFile()
{
    const QString path = FileChooser::current().saveFileName(
        this, GetResText(4773), QStringLiteral("changes.csv"), GetResText(4793));
    if (!path.isEmpty())
        exportTo(path);
}

bool frmHistory::exportTo(const QString &path)
{
    // The table as shown, but for the time: ISO 8601 sorts and reads anywhere.
    HistoryService *service = m_controller->service();
    const auto cells = [service](const ChangeEntry &e) {
        return HistoryTexts::logRow(service, e).mid(1);
    };
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) &&
                    m_controller->exportCsv(file, logHeader(), cells) && file.commit();
    if (!ok)
        MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(),
                             FormatResText(GetResText(4785), {QDir::toNativeSeparators(path)}),
                             QMessageBox::Ok);
    return ok;
}
