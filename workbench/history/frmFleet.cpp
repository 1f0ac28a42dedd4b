#include "frmFleet.h"

#include "FileChooser.h"
#include "FleetController.h"
#include "HistoryDatabase.h"
#include "HistoryServerSettings.h"
#include "HistoryService.h"
#include "HistoryTexts.h"
#include "HistoryUplink.h"
#include "MessageBoxSeam.h"
#include "frmHistory.h"
#include "hart/HartManufacturers.h"
#include "mainwin/MainChildWindows.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const MainCommandTable::Registration registration("mnuDeviceFleet",
                                                  MainChildWindows::opener<frmFleet>());

constexpr int DeviceRole = Qt::UserRole + 1;
constexpr int SortRole = Qt::UserRole + 2;

// Sorts dates and numbers by value, not by their text.
class FleetItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant mine = data(column, SortRole);
        const QVariant theirs = other.data(column, SortRole);
        if (mine.isValid() && theirs.isValid())
            return QVariant::compare(mine, theirs) == QPartialOrdering::Less;
        return QTreeWidgetItem::operator<(other);
    }
};

QString shownDate(const QDate &date)
{
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString();
}

QString passed(bool pass)
{
    return pass ? frmFleet::tr("passed") : frmFleet::tr("failed");
}

// "3C-9D-000042": maker 0x3C, device type 0x9D.
quint16 keyPart(const QString &device, int part)
{
    bool ok = false;
    const quint16 code = quint16(device.section(QLatin1Char('-'), part, part).toUInt(&ok, 16));
    return ok ? code : 0;
}

} // namespace

frmFleet::frmFleet(QWidget *parent)
    : QWidget(parent), lvwFleet(new QTreeWidget(this)), txtSearch(new QLineEdit(this)),
      chkDue(new QCheckBox(tr("Due within"), this)), spnDueDays(new QSpinBox(this)),
      lblStatus(new QLabel(this)), cmdExport(new QPushButton(tr("Export..."), this)),
      cmdReload(new QPushButton(tr("Refresh"), this)), cmdClose(new QPushButton(tr("Close"), this)),
      m_controller(new FleetController(this))
{
    setObjectName(QStringLiteral("frmFleet"));
    setWindowTitle(tr("Fleet"));
    lvwFleet->setObjectName(QStringLiteral("lvwFleet"));
    lvwFleet->setRootIsDecorated(false);
    lvwFleet->setUniformRowHeights(true);
    lvwFleet->setAlternatingRowColors(true);
    lvwFleet->setHeaderLabels(header());
    lvwFleet->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lvwFleet->setSortingEnabled(true);
    lvwFleet->sortByColumn(0, Qt::AscendingOrder);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setClearButtonEnabled(true);
    txtSearch->setPlaceholderText(tr("Search by tag"));
    // Room for the hint in either language, and for the clear button.
    txtSearch->setMinimumWidth(
        txtSearch->fontMetrics().horizontalAdvance(txtSearch->placeholderText()) + 40);
    chkDue->setObjectName(QStringLiteral("chkDue"));
    spnDueDays->setObjectName(QStringLiteral("spnDueDays"));
    spnDueDays->setRange(0, 3650);
    spnDueDays->setValue(30);
    spnDueDays->setSuffix(tr(" days"));
    spnDueDays->setEnabled(false);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));

    auto *filters = new QHBoxLayout;
    auto *searchLabel = new QLabel(tr("Tag:"), this);
    searchLabel->setBuddy(txtSearch);
    filters->addWidget(searchLabel);
    filters->addWidget(txtSearch, 1);
    filters->addSpacing(12);
    filters->addWidget(chkDue);
    filters->addWidget(spnDueDays);
    filters->addStretch(1);
    filters->addWidget(cmdReload);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblStatus, 1);
    bottom->addWidget(cmdExport);
    bottom->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(lvwFleet, 1);
    layout->addLayout(bottom);
    resize(1100, 480);

    connect(m_controller, &FleetController::changed, this, &frmFleet::fill);
    connect(txtSearch, &QLineEdit::textChanged, m_controller, &FleetController::setSearch);
    connect(chkDue, &QCheckBox::toggled, this, &frmFleet::dueChanged);
    connect(spnDueDays, &QSpinBox::valueChanged, this, &frmFleet::dueChanged);
    connect(cmdReload, &QPushButton::clicked, m_controller, &FleetController::reload);
    connect(cmdExport, &QPushButton::clicked, this, &frmFleet::chooseExportFile);
    connect(lvwFleet, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { openHistory(item->data(0, DeviceRole).toString()); });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (parentWidget())
            parentWidget()->close();
        else
            close();
    });
}

void frmFleet::setViewRef(IViewEx *view)
{
    m_view = view;
    // The history this program writes to: a team's server, read here
    // directly, with this computer's file while the server is away.
    HistoryService *service = historyServiceOf(view);
    HistoryUplink *uplink = service ? service->uplink() : nullptr;
    const QString local =
        service ? service->database().path() : HistoryServerSettings::effective(QString());
    m_controller->setLocation(uplink ? uplink->location() : local, uplink ? local : QString());
}

QString frmFleet::GetTextFromResource(qint16 &iTextID) const
{
    return GetResText(iTextID);
}

void frmFleet::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_controller->reload();
}

QStringList frmFleet::header()
{
    return {tr("Device"),    tr("Tag"),     tr("Maker"),          tr("Type"),
            tr("Last seen"), tr("By"),      tr("Last check"),     tr("Technician"),
            tr("As found"),  tr("As left"), tr("Drift (% span)"), tr("Next due")};
}

QStringList frmFleet::cells(const FleetRow &row)
{
    const QLocale locale;
    const bool checked = row.lastCheck.isValid();
    return {row.device,
            row.tag,
            HartManufacturers::describe(keyPart(row.device, 0)),
            HartManufacturers::codeText(keyPart(row.device, 1)),
            HistoryTexts::time(row.lastSeen),
            row.lastSeenBy,
            checked ? HistoryTexts::time(row.lastCheck) : tr("never"),
            row.technician,
            checked ? passed(row.asFoundPassed) : QString(),
            checked ? passed(row.asLeftPassed) : QString(),
            row.drift ? locale.toString(*row.drift, 'f', 3) : QString(),
            checked ? shownDate(row.nextDue) : tr("now")};
}

void frmFleet::fill()
{
    lvwFleet->setSortingEnabled(false);
    lvwFleet->clear();
    for (const FleetRow &row : m_controller->rows()) {
        auto *item = new FleetItem(lvwFleet, cells(row));
        item->setData(0, DeviceRole, row.device);
        item->setData(4, SortRole, row.lastSeen);
        item->setData(6, SortRole, row.lastCheck);
        item->setData(10, SortRole, row.drift ? QVariant(*row.drift) : QVariant(-1e9));
        item->setData(11, SortRole, row.nextDue.isValid() ? row.nextDue : QDate(1, 1, 1));
    }
    lvwFleet->setSortingEnabled(true);
    const QLocale locale;
    QString status = tr("%1 of %2 devices")
                         .arg(locale.toString(int(m_controller->rows().size())),
                              locale.toString(m_controller->total()));
    if (!m_controller->problem().isEmpty())
        status += QStringLiteral("; ") +
                  tr("the server cannot be read, this computer's history is shown: %1")
                      .arg(m_controller->problem());
    lblStatus->setText(status);
    cmdExport->setEnabled(!m_controller->rows().isEmpty());
}

void frmFleet::dueChanged()
{
    spnDueDays->setEnabled(chkDue->isChecked());
    m_controller->setDueWithin(chkDue->isChecked() ? std::optional<int>(spnDueDays->value())
                                                   : std::nullopt);
}

void frmFleet::chooseExportFile()
{
    const QString path = FileChooser::current().saveFileName(
        this, tr("Export"), QStringLiteral("fleet.csv"), tr("CSV files (*.csv)"));
    if (!path.isEmpty())
        exportTo(path);
}

bool frmFleet::exportTo(const QString &path)
{
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) &&
                    m_controller->writeCsv(file, header(), &frmFleet::cells) && file.commit();
    if (!ok)
        MessageBoxSeam::show(
            this, QMessageBox::Warning, windowTitle(),
            tr("The list could not be written to %1.").arg(QDir::toNativeSeparators(path)),
            QMessageBox::Ok);
    return ok;
}

void frmFleet::openHistory(const QString &device)
{
    auto *main = qobject_cast<frmMain *>(MainWindow());
    const MainCommand open = MainCommandTable::command(QStringLiteral("mnuDeviceHistory"));
    if (!main || !open || device.isEmpty())
        return;
    open(*main);
    if (auto *history =
            qobject_cast<frmHistory *>(main->childWindows().existing(typeid(frmHistory).name())))
        history->showDevice(device);
}
