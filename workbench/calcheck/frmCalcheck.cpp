#include "frmCalcheck.h"

#include "AppletItemManager.h"
#include "CalcheckCertificate.h"
#include "CalcheckController.h"
#include "CalcheckIdentity.h"
#include "CalcheckMath.h"
#include "CalcheckRecordStore.h"
#include "HistoryService.h"
#include "IViewEx.h"
#include "MessageBoxSeam.h"
#include "WorkbenchLog.h"
#include "history/HistoryTexts.h"
#include "mainwin/MainChildWindows.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"

#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString text(int id)
{
    return GetResText(qint16(id));
}

QPushButton *button(QWidget *parent, const char *name, int textId)
{
    auto *button = new QPushButton(text(textId), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

// A number as the user types it: the locale's decimal separator or a point.
std::optional<double> parseNumber(const QString &text)
{
    bool ok = false;
    double value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

void warn(QWidget *parent, const QString &message)
{
    MessageBoxSeam::show(parent, QMessageBox::Warning, text(5710), message);
}

const MainCommandTable::Registration registration("mnuCalibrateCheck",
                                                  MainChildWindows::opener<frmCalcheck>());

} // namespace

frmCalcheck::frmCalcheck(QWidget *parent) : clsVexaForm(parent)
{
    setObjectName(QStringLiteral("frmCalcheck"));
    setWindowTitle(text(5710));
    auto *all = new QWidget(this);
    all->setObjectName(QStringLiteral("fraGroupAll"));
    m_pages = new QStackedWidget(all);
    m_pages->addWidget(buildSetup());
    m_pages->addWidget(buildRun());
    m_pages->addWidget(buildAdjust());
    m_pages->addWidget(buildResult());
    (new QVBoxLayout(all))->addWidget(m_pages);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(all);
    setMinimumSize(760, 520);
}

frmCalcheck::~frmCalcheck() = default;

int frmCalcheck::page() const
{
    return m_pages->currentIndex();
}

QWidget *frmCalcheck::buildSetup()
{
    auto *page = new QWidget;
    txtPoints = new QLineEdit(CalcheckMath::formatPoints(CalcheckMath::defaultPoints()), page);
    txtPoints->setObjectName(QStringLiteral("txtPoints"));
    txtTolerance = new QDoubleSpinBox(page);
    txtTolerance->setObjectName(QStringLiteral("txtTolerance"));
    txtTolerance->setRange(0.01, 10.0);
    txtTolerance->setDecimals(3);
    txtTolerance->setSingleStep(0.05);
    txtTolerance->setValue(CalcheckMath::DefaultTolerance);
    txtReferenceName = new QLineEdit(page);
    txtReferenceName->setObjectName(QStringLiteral("txtReferenceName"));
    txtReferenceSerial = new QLineEdit(page);
    txtReferenceSerial->setObjectName(QStringLiteral("txtReferenceSerial"));
    txtReferenceDue = new QDateEdit(QDate::currentDate().addYears(1), page);
    txtReferenceDue->setObjectName(QStringLiteral("txtReferenceDue"));
    txtReferenceDue->setCalendarPopup(true);
    txtTechnician = new QLineEdit(page);
    txtTechnician->setObjectName(QStringLiteral("txtTechnician"));
    cmdStartAsFound = button(page, "cmdStartAsFound", 5717);
    connect(cmdStartAsFound, &QPushButton::clicked, this, [this] {
        const auto points = CalcheckMath::parsePoints(txtPoints->text());
        if (!points) {
            warn(this, text(5746));
            return;
        }
        if (!m_controller)
            return;
        m_controller->points = *points;
        m_controller->tolerance = txtTolerance->value();
        startRun(CalcheckRun::Kind::AsFound);
    });

    tblPastChecks = new QTableWidget(0, 4, page);
    tblPastChecks->setObjectName(QStringLiteral("tblPastChecks"));
    tblPastChecks->setHorizontalHeaderLabels({text(5773), text(5716), text(5718), text(5719)});
    tblPastChecks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPastChecks->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblPastChecks->setSelectionMode(QAbstractItemView::SingleSelection);
    tblPastChecks->verticalHeader()->hide();
    // The technician's name takes the room the short columns leave.
    tblPastChecks->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    cmdPastCertificate = button(page, "cmdPastCertificate", 5791);
    cmdPastCertificate->setEnabled(false);
    connect(tblPastChecks, &QTableWidget::itemSelectionChanged, this,
            [this] { cmdPastCertificate->setEnabled(!tblPastChecks->selectedItems().isEmpty()); });
    connect(tblPastChecks, &QTableWidget::cellDoubleClicked, this,
            &frmCalcheck::showPastCertificate);
    connect(cmdPastCertificate, &QPushButton::clicked, this, &frmCalcheck::showPastCertificate);

    auto *form = new QFormLayout;
    form->addRow(text(5711), txtPoints);
    form->addRow(text(5712), txtTolerance);
    form->addRow(text(5713), txtReferenceName);
    form->addRow(text(5714), txtReferenceSerial);
    form->addRow(text(5715), txtReferenceDue);
    form->addRow(text(5716), txtTechnician);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(text(5790), page));
    layout->addWidget(tblPastChecks, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdPastCertificate);
    buttons->addStretch();
    buttons->addWidget(cmdStartAsFound);
    layout->addLayout(buttons);
    return page;
}

QWidget *frmCalcheck::buildRun()
{
    auto *page = new QWidget;
    lblRunTitle = new QLabel(page);
    lblRunTitle->setObjectName(QStringLiteral("lblRunTitle"));
    QFont title = lblRunTitle->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.2);
    lblRunTitle->setFont(title);
    lblPoint = new QLabel(page);
    lblPoint->setObjectName(QStringLiteral("lblPoint"));
    lblPoint->setWordWrap(true);
    lblMultidrop = new QLabel(page);
    lblMultidrop->setObjectName(QStringLiteral("lblMultidrop"));
    lblMultidrop->setWordWrap(true);
    lblMultidrop->hide();
    txtReference = new QLineEdit(page);
    txtReference->setObjectName(QStringLiteral("txtReference"));
    txtMeasuredCurrent = new QLineEdit(page);
    txtMeasuredCurrent->setObjectName(QStringLiteral("txtMeasuredCurrent"));
    cmdApply = button(page, "cmdApply", 5726);
    cmdMeasure = button(page, "cmdMeasure", 5725);
    cmdMeasure->setDefault(true);
    cmdCancelRun = button(page, "cmdCancelRun", 5745);
    prgStability = new QProgressBar(page);
    prgStability->setObjectName(QStringLiteral("prgStability"));
    prgStability->setRange(0, 100);
    lblStability = new QLabel(text(5727), page);
    lblStability->setObjectName(QStringLiteral("lblStability"));
    tblReadings = readingsTable(page, "tblReadings");

    connect(cmdApply, &QPushButton::clicked, this, [this] {
        if (m_controller)
            m_controller->applyPressure();
    });
    connect(cmdMeasure, &QPushButton::clicked, this, &frmCalcheck::measure);
    connect(txtReference, &QLineEdit::returnPressed, this, &frmCalcheck::measure);
    connect(cmdCancelRun, &QPushButton::clicked, this, [this] {
        if (m_controller)
            m_controller->stop();
        showPage(SetupPage);
    });

    auto *form = new QFormLayout;
    form->addRow(text(5723), txtReference);
    form->addRow(text(5724), txtMeasuredCurrent);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdApply);
    buttons->addWidget(cmdMeasure);
    buttons->addStretch();
    buttons->addWidget(cmdCancelRun);
    auto *stability = new QHBoxLayout;
    stability->addWidget(lblStability);
    stability->addWidget(prgStability, 1);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(lblRunTitle);
    layout->addWidget(lblPoint);
    layout->addWidget(lblMultidrop);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addLayout(stability);
    layout->addWidget(tblReadings, 1);
    return page;
}

QWidget *frmCalcheck::buildAdjust()
{
    auto *page = new QWidget;
    lblAdjust = new QLabel(text(5738), page);
    lblAdjust->setObjectName(QStringLiteral("lblAdjust"));
    lblAdjust->setWordWrap(true);
    cmdZero = button(page, "cmdZero", 5739);
    cmdBalance = button(page, "cmdBalance", 5740);
    cmdCurrentTrim = button(page, "cmdCurrentTrim", 5741);
    cmdStartAsLeft = button(page, "cmdStartAsLeft", 5742);
    tblAsFound = readingsTable(page, "tblAsFound");
    connect(cmdZero, &QPushButton::clicked, this,
            [this] { openMenuEntry("mnuConfigurePrimaryMeasurement"); });
    connect(cmdBalance, &QPushButton::clicked, this,
            [this] { openMenuEntry("mnuCalibratePressure"); });
    connect(cmdCurrentTrim, &QPushButton::clicked, this,
            [this] { openMenuEntry("mnuCalibrateCurrent"); });
    connect(cmdStartAsLeft, &QPushButton::clicked, this,
            [this] { startRun(CalcheckRun::Kind::AsLeft); });

    auto *title = new QLabel(text(5754), page);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *dialogs = new QHBoxLayout;
    dialogs->addWidget(cmdZero);
    dialogs->addWidget(cmdBalance);
    dialogs->addWidget(cmdCurrentTrim);
    dialogs->addStretch();
    auto *next = new QHBoxLayout;
    next->addStretch();
    next->addWidget(cmdStartAsLeft);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(title);
    layout->addWidget(lblAdjust);
    layout->addLayout(dialogs);
    layout->addWidget(new QLabel(text(5718), page));
    layout->addWidget(tblAsFound, 1);
    layout->addLayout(next);
    return page;
}

QWidget *frmCalcheck::buildResult()
{
    auto *page = new QWidget;
    lblResult = new QLabel(page);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);
    QFont bold = lblResult->font();
    bold.setBold(true);
    lblResult->setFont(bold);
    lblDrift = new QLabel(page);
    lblDrift->setObjectName(QStringLiteral("lblDrift"));
    lblDrift->setWordWrap(true);
    cmdCertificate = button(page, "cmdCertificate", 5743);
    cmdNewCheck = button(page, "cmdNewCheck", 5744);
    tblAsLeft = readingsTable(page, "tblAsLeft");
    connect(cmdCertificate, &QPushButton::clicked, this, &frmCalcheck::showCertificate);
    connect(cmdNewCheck, &QPushButton::clicked, this, [this] { showPage(SetupPage); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdCertificate);
    buttons->addStretch();
    buttons->addWidget(cmdNewCheck);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(lblResult);
    layout->addWidget(lblDrift);
    layout->addWidget(new QLabel(text(5719), page));
    layout->addWidget(tblAsLeft, 1);
    layout->addLayout(buttons);
    return page;
}

void frmCalcheck::FormActivated()
{
    // Checks of the device may have been kept since the window was last open.
    showPastChecks();
    if (m_controller || !viewRef())
        return;
    const auto manager = viewRef()->appletItemManagerRef();
    if (!manager)
        return;
    m_controller = std::make_unique<CalcheckController>(manager);
    connect(m_controller.get(), &CalcheckController::rangeRead, this, &frmCalcheck::showPoint);
    connect(m_controller.get(), &CalcheckController::progressChanged, prgStability,
            &QProgressBar::setValue);
    connect(m_controller.get(), &CalcheckController::pointRecorded, this,
            &frmCalcheck::pointRecorded);
    connect(m_controller.get(), &CalcheckController::runFinished, this, &frmCalcheck::runFinished);
    connect(m_controller.get(), &CalcheckController::pointFailed, this, &frmCalcheck::pointFailed);
    connect(m_controller.get(), &CalcheckController::sourceCurrentRead, this,
            &frmCalcheck::showSourceCurrent);
}

void frmCalcheck::FormUnload()
{
    // A closed window asks nothing more of the device; the point waits for
    // another Measure when the window opens again.
    if (!m_controller)
        return;
    const bool measuring = m_controller->isMeasuring();
    m_controller->stop();
    if (measuring)
        showPoint();
}

void frmCalcheck::showPage(Page page)
{
    if (page == SetupPage)
        showPastChecks();
    m_pages->setCurrentIndex(page);
}

void frmCalcheck::startRun(CalcheckRun::Kind kind)
{
    if (!m_controller)
        return;
    m_kind = kind;
    m_controller->beginRun(kind);
    lblRunTitle->setText(text(kind == CalcheckRun::Kind::AsFound ? 5718 : 5719));
    fillTable(tblReadings, m_controller->run(kind));
    showPage(RunPage);
    showPoint();
}

void frmCalcheck::showPoint()
{
    if (!m_controller || !m_controller->isRunActive() ||
        m_controller->pointIndex() >= m_controller->points.size())
        return;
    const int index = m_controller->pointIndex();
    const CalcheckPoint point = m_controller->points.at(index);
    const QString nominal = CalcheckCertificate::number(m_controller->nominalPressure(), 3);
    lblPoint->setText(FormatResText(
        text(5720), {QString::number(index + 1), QString::number(m_controller->points.size()),
                     nominal, m_controller->unitText(), QLocale().toString(point.percent),
                     CalcheckCertificate::direction(point.rising)}));
    txtReference->setText(nominal);
    // A multidrop device's current is not checked; the source's ammeter
    // writes its own readings, which nobody types over.
    const CalcheckRun &run = m_controller->run(m_kind);
    lblMultidrop->setText(CalcheckCertificate::multidropNote(run));
    lblMultidrop->setVisible(run.multidrop());
    const std::optional<double> ammeter = m_controller->sourceCurrent();
    txtMeasuredCurrent->setText(run.multidrop() ? CalcheckCertificate::notApplicable()
                                : ammeter       ? CalcheckCertificate::number(*ammeter, 4)
                                                : QString());
    txtMeasuredCurrent->setReadOnly(run.multidrop() || m_controller->hasAmmeter());
    cmdApply->setVisible(m_controller->hasSource());
    prgStability->setValue(0);
    const bool idle = !m_controller->isMeasuring();
    txtReference->setEnabled(idle);
    // The ammeter's reading stays legible while it follows the pressure.
    txtMeasuredCurrent->setEnabled((idle || m_controller->hasAmmeter()) && !run.multidrop());
    cmdApply->setEnabled(idle);
    cmdMeasure->setEnabled(idle);
    txtReference->setFocus();
    txtReference->selectAll();
}

void frmCalcheck::showSourceCurrent(double mA)
{
    if (m_controller && !m_controller->run(m_kind).multidrop())
        txtMeasuredCurrent->setText(CalcheckCertificate::number(mA, 4));
}

void frmCalcheck::measure()
{
    if (!m_controller || m_controller->isMeasuring())
        return;
    const auto reference = parseNumber(txtReference->text());
    if (!reference) {
        warn(this, text(5747));
        return;
    }
    std::optional<double> current;
    if (!txtMeasuredCurrent->isReadOnly() && !txtMeasuredCurrent->text().trimmed().isEmpty()) {
        current = parseNumber(txtMeasuredCurrent->text());
        if (!current) {
            warn(this, text(5752));
            return;
        }
    }
    m_controller->measure(*reference, current);
    const bool idle = !m_controller->isMeasuring();
    for (QWidget *input : {static_cast<QWidget *>(txtReference), static_cast<QWidget *>(cmdApply),
                           static_cast<QWidget *>(cmdMeasure)})
        input->setEnabled(idle);
    txtMeasuredCurrent->setEnabled((idle || m_controller->hasAmmeter()) &&
                                   !m_controller->run(m_kind).multidrop());
}

void frmCalcheck::pointRecorded()
{
    fillTable(tblReadings, m_controller->run(m_kind));
    tblReadings->scrollToBottom();
    showPoint();
}

void frmCalcheck::pointFailed(const QString &message)
{
    warn(this, message);
    showPoint();
}

void frmCalcheck::runFinished(CalcheckRun::Kind kind)
{
    if (kind == CalcheckRun::Kind::AsFound) {
        const CalcheckRun &run = m_controller->run(kind);
        fillTable(tblAsFound, run);
        // Nothing to trim where the current is fixed.
        cmdCurrentTrim->setEnabled(!run.multidrop());
        lblAdjust->setText(run.multidrop() ? text(5738) + QLatin1Char('\n') +
                                                 CalcheckCertificate::multidropNote(run)
                                           : text(5738));
        showPage(AdjustPage);
        return;
    }
    showResult();
}

CalcheckRecord frmCalcheck::record() const
{
    CalcheckRecord record;
    record.device = CalcheckIdentity::read(m_controller->manager());
    record.referenceName = txtReferenceName->text().trimmed();
    record.referenceSerial = txtReferenceSerial->text().trimmed();
    record.referenceDue = txtReferenceDue->date();
    record.technician = txtTechnician->text().trimmed();
    record.checkedAt = QDateTime::currentDateTimeUtc();
    record.tolerance = m_controller->tolerance;
    record.asFound = m_controller->run(CalcheckRun::Kind::AsFound);
    record.asLeft = m_controller->run(CalcheckRun::Kind::AsLeft);
    return record;
}

void frmCalcheck::showResult()
{
    m_record = record();
    fillTable(tblAsLeft, m_record.asLeft);
    lblResult->setText(text(m_record.passed() ? 5748 : 5749));
    QString problem;
    std::optional<CalcheckRecord> last;
    if (const auto store = openStore(&problem)) {
        last = store->last(m_record.device.uniqueId);
        if (!store->save(m_record, &problem))
            warn(this, FormatResText(text(5753), {problem}));
    } else {
        warn(this, FormatResText(text(5753), {problem}));
    }
    const auto drift = last ? CalcheckMath::drift(last->asLeft, m_record.asFound) : std::nullopt;
    QString driftText =
        drift ? FormatResText(text(5750), {CalcheckCertificate::dateTime(last->checkedAt),
                                           CalcheckCertificate::number(*drift, 3)})
              : text(5751);
    // Why the table shows no current.
    if (m_record.asLeft.multidrop())
        driftText += QLatin1Char('\n') + CalcheckCertificate::multidropNote(m_record.asLeft);
    lblDrift->setText(driftText);
    showPage(ResultPage);
}

void frmCalcheck::openMenuEntry(const char *entry)
{
    if (auto *main = qobject_cast<frmMain *>(window()))
        main->runMenuCommand(QLatin1String(entry));
}

void frmCalcheck::showCertificate()
{
    CalcheckCertificate::show(m_record, this);
}

std::unique_ptr<CalcheckRecordStore> frmCalcheck::openStore(QString *problem) const
{
    // Asked each time: the device instance owns its history.
    HistoryService *service = historyServiceOf(viewRef());
    if (service) {
        auto store = std::make_unique<CalcheckRecordStore>(service->database());
        if (store->open())
            return store;
    }
    *problem = HistoryTexts::databaseProblem(service);
    return nullptr;
}

void frmCalcheck::showPastChecks()
{
    m_past.clear();
    QString problem;
    const auto manager = viewRef() ? viewRef()->appletItemManagerRef() : nullptr;
    if (manager) {
        if (const auto store = openStore(&problem))
            m_past = store->records(CalcheckIdentity::read(manager).uniqueId);
    }
    tblPastChecks->setRowCount(int(m_past.size()));
    for (int row = 0; row < m_past.size(); ++row) {
        const CalcheckRecord &check = m_past.at(row);
        const QString cells[] = {CalcheckCertificate::dateTime(check.checkedAt), check.technician,
                                 CalcheckCertificate::verdict(check.asFound.passed()),
                                 CalcheckCertificate::verdict(check.passed())};
        const bool passes[] = {true, true, check.asFound.passed(), check.passed()};
        for (int column = 0; column < 4; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column >= 2)
                item->setForeground(passes[column] ? QColor(0x1a7f1a) : QColor(0xb00000));
            tblPastChecks->setItem(row, column, item);
        }
    }
    tblPastChecks->resizeColumnsToContents();
    cmdPastCertificate->setEnabled(!tblPastChecks->selectedItems().isEmpty());
}

void frmCalcheck::showPastCertificate()
{
    const int row = tblPastChecks->currentRow();
    if (row >= 0 && row < m_past.size())
        CalcheckCertificate::show(m_past.at(row), this);
}

QTableWidget *frmCalcheck::readingsTable(QWidget *parent, const char *name)
{
    auto *table = new QTableWidget(parent);
    table->setObjectName(QLatin1String(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    return table;
}

void frmCalcheck::fillTable(QTableWidget *table, const CalcheckRun &run)
{
    const QString unit = QStringLiteral(" [") + run.unitText + QLatin1Char(']');
    const QStringList headers{text(5728), text(5729), text(5730) + unit, text(5731) + unit,
                              text(5732), text(5733), text(5734),        text(5735)};
    table->setColumnCount(int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setRowCount(int(run.readings.size()));
    for (int row = 0; row < run.readings.size(); ++row) {
        const CalcheckReading &reading = run.readings.at(row);
        const QStringList texts = CalcheckCertificate::cells(reading);
        for (int column = 0; column < 8; ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == 7)
                item->setForeground(reading.pass ? QColor(0x1a7f1a) : QColor(0xb00000));
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
}
