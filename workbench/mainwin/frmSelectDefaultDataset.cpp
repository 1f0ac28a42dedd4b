#include "frmSelectDefaultDataset.h"

#include "AppletItemManager.h"
#include "IViewEx.h"
#include "MessageBoxSeam.h"
#include "Module1.h"
#include "Toolkit_LoadResource.h"
#include "VexaAppItem.h"
#include "WorkbenchLog.h"
#include "global.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr qint32 FloatDataType = 4;
const QString ReadDefaultdataset = QStringLiteral("ReadDefaultdataset");

VexaAppItem *item(const char *objectName, const char *itemName, QWidget *parent)
{
    auto *control = new VexaAppItem(parent);
    control->setObjectName(QLatin1String(objectName));
    if (itemName)
        control->setAppItemName(QLatin1String(itemName));
    return control;
}

QLabel *caption(int textId, const QString &designText, QWidget *parent)
{
    auto *label = new QLabel(designText, parent);
    label->setProperty("Tag", textId);
    return label;
}

// Switches the busy state on for its lifetime and always clears the marker
// that holds the rules back, whatever happens while the values are written.
class DefaultsBeingWritten
{
public:
    explicit DefaultsBeingWritten(VexaAppItem *currentSequence) : m_currentSequence(currentSequence)
    {
        EnableMainWindow(false);
        m_currentSequence->setStringValue(ReadDefaultdataset);
    }
    ~DefaultsBeingWritten()
    {
        m_currentSequence->setStringValue(QString());
        EnableMainWindow(true);
    }
    DefaultsBeingWritten(const DefaultsBeingWritten &) = delete;
    DefaultsBeingWritten &operator=(const DefaultsBeingWritten &) = delete;

private:
    VexaAppItem *m_currentSequence;
};

} // namespace

frmSelectDefaultDataset::frmSelectDefaultDataset(QWidget *parent) : clsVexaForm(parent)
{
    setObjectName(QStringLiteral("frmSelectDefaultDataset"));
    setWindowFlags(Qt::Dialog);
    setProperty("Tag", 2563);
    setWindowTitle(tr("Create new device dataset"));
    buildControls();
    connect(lstDeviceID, &QListWidget::currentRowChanged, this, [this] { lstDeviceID_Click(); });
    connect(lstPRanges, &QListWidget::currentRowChanged, this, [this] { refreshOK(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { close(); });
}

frmSelectDefaultDataset::~frmSelectDefaultDataset() = default;

void frmSelectDefaultDataset::buildControls()
{
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraGroupAll"));

    appDeviceType = item("appDeviceType", "_mfrDeviceTypeHART", frame);
    appInCompatibleDataset = item("appInCompatibleDataset", "InCompatibleDataset", frame);
    appCountryCode = item("appCountryCode", "&&private&&countrycode", frame);
    appCurrentSequence = item("appCurrentSequence", "currentSequence", frame);
    appCurrentSource = item("appCurrentSource", "&&private&&CurrentSource", frame);
    appFileName = item("appFileName", "&&private_PM&&FileName", frame);
    appVexDPath = item("appVexDPath", "&&private_PM&&VexDPath", frame);
    appUniversal = item("appUniversal", nullptr, frame);

    auto *deviceFrame = new QGroupBox(tr("Device type"), frame);
    deviceFrame->setObjectName(QStringLiteral("fraDeviceType"));
    deviceFrame->setProperty("Tag", 2577);
    lstDeviceID = new QListWidget(deviceFrame);
    lstDeviceID->setObjectName(QStringLiteral("lstDeviceID"));
    lblDeviceDescription = new QLabel(deviceFrame);
    lblDeviceDescription->setObjectName(QStringLiteral("lblDeviceDescription"));
    lblDeviceDescription->setWordWrap(true);
    lblDeviceDescription->setMinimumHeight(lblDeviceDescription->fontMetrics().height() * 2);
    lblDeviceDescription->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto *deviceLayout = new QVBoxLayout(deviceFrame);
    deviceLayout->addWidget(caption(2579, tr("Designation"), deviceFrame));
    deviceLayout->addWidget(lstDeviceID);
    deviceLayout->addWidget(caption(2578, tr("Description"), deviceFrame));
    deviceLayout->addWidget(lblDeviceDescription);

    auto *rangeFrame = new QGroupBox(tr("Measurement Range"), frame);
    rangeFrame->setObjectName(QStringLiteral("fraPRange"));
    rangeFrame->setProperty("Tag", 2604);
    lstPRanges = new QListWidget(rangeFrame);
    lstPRanges->setObjectName(QStringLiteral("lstPRanges"));
    auto *rangeLayout = new QVBoxLayout(rangeFrame);
    rangeLayout->addWidget(caption(2603, tr("Pressure"), rangeFrame));
    rangeLayout->addWidget(lstPRanges);

    cmdOK = new QPushButton(QStringLiteral("&OK"), frame);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setProperty("Tag", 2561);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(tr("&Cancel"), frame);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setProperty("Tag", 2562);

    auto *lists = new QHBoxLayout;
    lists->addWidget(deviceFrame, 3);
    lists->addWidget(rangeFrame, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *inner = new QVBoxLayout(frame);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addLayout(lists);
    inner->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(frame);
    resize(560, 340);
}

void frmSelectDefaultDataset::ShowModal()
{
    QEventLoop loop;
    connect(this, &frmSelectDefaultDataset::Closed, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    show();
    if (isVisible())
        loop.exec();
}

QString frmSelectDefaultDataset::HostValue(const QString &objectValue, qint32 dataType,
                                           const QLocale &locale)
{
    const QString stored = objectValue.trimmed();
    if (dataType != FloatDataType)
        return stored;
    bool ok = false;
    const double number = QLocale::c().toDouble(stored, &ok);
    if (!ok)
        return stored; // the host refuses it, rather than taking it as 0
    // Without group separators: the host reads "160.000" as 160.
    QLocale user = locale;
    user.setNumberOptions(QLocale::OmitGroupSeparator);
    return user.toString(number, 'g', QLocale::FloatingPointShortest);
}

QString frmSelectDefaultDataset::RangeText(const QString &range, const QLocale &locale)
{
    static const QRegularExpression decimalPoint(QStringLiteral("(?<=\\d)\\.(?=\\d)"));
    QString text = range;
    return text.replace(decimalPoint, locale.decimalPoint());
}

void frmSelectDefaultDataset::FormActivated()
{
    if (!openDatabase())
        return;
    fillDeviceTypes();
}

bool frmSelectDefaultDataset::openDatabase()
{
    QString error;
    DefaultDatasetDatabase::Failure failure = DefaultDatasetDatabase::Failure::None;
    const QString folder = appVexDPath->StringValue();
    if (m_database.open(folder, &error, &failure))
        return true;
    // The database is there to be built, but not in this folder: say where.
    const QString text = failure == DefaultDatasetDatabase::Failure::CannotBuild
                             ? cannotBuildText(folder, error)
                             : notFoundText(error);
    MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(), text);
    closeLater();
    return false;
}

void frmSelectDefaultDataset::fillDeviceTypes()
{
    lstDeviceID->clear();
    const QString country = QString::number(qRound64(appCountryCode->UIntValue()));
    auto types = m_database.ViewDeviceTypes(country);
    if (!types || types->isEmpty())
        types = m_database.ViewDeviceTypes(QStringLiteral("1"));
    m_deviceTypes = types.value_or(QList<DefaultDatasetDatabase::DeviceType>());
    for (const auto &type : std::as_const(m_deviceTypes))
        lstDeviceID->addItem(type.label.trimmed());
    if (lstDeviceID->count() > 0)
        lstDeviceID->setCurrentRow(0);
    refreshOK();
}

void frmSelectDefaultDataset::lstDeviceID_Click()
{
    lstPRanges->clear();
    const int row = lstDeviceID->currentRow();
    if (row < 0 || row >= m_deviceTypes.size()) {
        lblDeviceDescription->clear();
        refreshOK();
        return;
    }
    const auto &type = m_deviceTypes[row];
    lblDeviceDescription->setText(type.Description);
    // The database's name of a range is its key; the user reads it in his
    // number format.
    for (const QString &range :
         m_database.ViewDeviceTypePRanges(type.label).value_or(QStringList())) {
        auto *item = new QListWidgetItem(RangeText(range), lstPRanges);
        item->setData(Qt::UserRole, range);
    }
    if (lstPRanges->count() > 0)
        lstPRanges->setCurrentRow(0);
    refreshOK();
}

void frmSelectDefaultDataset::refreshOK()
{
    // Without a type and a range there is no dataset to create.
    cmdOK->setEnabled(lstDeviceID->currentItem() && lstPRanges->currentItem());
}

void frmSelectDefaultDataset::cmdOK_Click()
{
    if (!lstDeviceID->currentItem() || !lstPRanges->currentItem())
        return;
    const QString deviceType = lstDeviceID->currentItem()->text();
    const QString range = lstPRanges->currentItem()->data(Qt::UserRole).toString();
    // Everything is read before the first value is written, so that a query
    // that fails leaves the dataset as it was.
    const auto general = m_database.ViewGeneralDevicedata();
    const auto ranged = general ? m_database.ViewPRangeData(deviceType, range) : std::nullopt;
    if (!general || !ranged) {
        MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(),
                             notFoundText(m_database.lastError()));
        close();
        return;
    }
    {
        DefaultsBeingWritten writing(appCurrentSequence);
        apply(*general);
        apply(*ranged);
    }
    appInCompatibleDataset->setStringValue(QStringLiteral("0"));
    appCurrentSource->setStringValue(QStringLiteral("0"));
    // A new dataset has no file until it is saved as one: Save must not
    // write it over the file that was open.
    appFileName->setStringValue(QString());
    close();
}

QString frmSelectDefaultDataset::notFoundText(const QString &reason) const
{
    qint16 id = 2576;
    return GetTextFromResource(id) + QLatin1Char('\n') + reason;
}

QString frmSelectDefaultDataset::cannotBuildText(const QString &folder, const QString &reason) const
{
    qint16 id = 3902;
    return FormatResText(GetTextFromResource(id), {QDir::toNativeSeparators(folder)}) +
           QLatin1Char('\n') + reason;
}

void frmSelectDefaultDataset::apply(const QList<DefaultDatasetDatabase::Value> &rows)
{
    const auto manager = viewRef() ? viewRef()->appletItemManagerRef() : nullptr;
    for (const auto &row : rows) {
        // A value the host refuses is left out; the next one is written.
        try {
            appUniversal->setAppItemName(row.ObjectName.trimmed());
            appUniversal->Register(manager);
            appUniversal->setStringValue(HostValue(row.ObjectValue, appUniversal->DataType()));
        } catch (...) {
            qCInfo(lcWorkbench).noquote() << "default value of" << row.ObjectName.trimmed()
                                          << "not written:" << CurrentErrorText();
        }
    }
    appUniversal->UnRegister();
}

void frmSelectDefaultDataset::FormUnload()
{
    m_deviceTypes.clear();
    m_database.close();
}

void frmSelectDefaultDataset::closeEvent(QCloseEvent *event)
{
    clsVexaForm::closeEvent(event);
    Q_EMIT Closed();
}

void frmSelectDefaultDataset::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cmdOK->isEnabled())
            cmdOK->click();
        return;
    case Qt::Key_Escape:
        cmdCancel->click();
        return;
    default:
        clsVexaForm::keyPressEvent(event);
    }
}

void frmSelectDefaultDataset::closeLater()
{
    QTimer::singleShot(0, this, [this] { close(); });
}
