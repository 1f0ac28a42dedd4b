#include "frmHistoryServer.h"

#include "HistoryDatabase.h"
#include "HistoryServerSettings.h"
#include "HistoryService.h"
#include "HistoryTexts.h"
#include "HistoryUplink.h"
#include "MessageBoxSeam.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/frmMain.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace {

void openDialog(frmMain &main)
{
    HistoryService *service = historyServiceOf(main.viewRef());
    const QString local = service ? service->database().path() : HistoryDatabase::defaultPath();
    auto *dialog = new frmHistoryServer(local, &main);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

const MainCommandTable::Registration registration("mnuDeviceHistoryServer", openDialog);

const char *const SslModes[] = {"prefer", "require", "verify-ca", "verify-full", "disable"};

} // namespace

frmHistoryServer::frmHistoryServer(const QString &localPath, QWidget *parent)
    : QDialog(parent), grpServer(new QGroupBox(tr("Keep the history on a team's server"), this)),
      txtHost(new QLineEdit(grpServer)), spnPort(new QSpinBox(grpServer)),
      txtDatabase(new QLineEdit(grpServer)), txtUser(new QLineEdit(grpServer)),
      cmbSslMode(new QComboBox(grpServer)), lblResult(new QLabel(this)),
      cmdTest(new QPushButton(tr("Test connection"), grpServer)),
      cmdSend(new QPushButton(tr("Send this computer's history"), grpServer)),
      prgSend(new QProgressBar(grpServer)), m_localPath(localPath)
{
    setObjectName(QStringLiteral("frmHistoryServer"));
    setWindowTitle(tr("History server"));
    grpServer->setObjectName(QStringLiteral("grpServer"));
    grpServer->setCheckable(true);
    txtHost->setObjectName(QStringLiteral("txtHost"));
    spnPort->setObjectName(QStringLiteral("spnPort"));
    spnPort->setRange(1, 65535);
    spnPort->setGroupSeparatorShown(false);
    txtDatabase->setObjectName(QStringLiteral("txtDatabase"));
    txtUser->setObjectName(QStringLiteral("txtUser"));
    cmbSslMode->setObjectName(QStringLiteral("cmbSslMode"));
    for (const char *mode : SslModes)
        cmbSslMode->addItem(QLatin1String(mode), QLatin1String(mode));
    prgSend->setObjectName(QStringLiteral("prgSend"));
    prgSend->hide();
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(tr("Host:"), txtHost);
    form->addRow(tr("Port:"), spnPort);
    form->addRow(tr("Database:"), txtDatabase);
    form->addRow(tr("User:"), txtUser);
    form->addRow(tr("SSL mode:"), cmbSslMode);
    auto *note = new QLabel(tr("The password is read from ~/.pgpass or a PostgreSQL service "
                               "file; the program keeps none."),
                            grpServer);
    note->setWordWrap(true);
    auto *group = new QVBoxLayout(grpServer);
    group->addLayout(form);
    group->addWidget(note);
    auto *actions = new QHBoxLayout;
    actions->addWidget(cmdTest);
    actions->addWidget(cmdSend);
    actions->addStretch(1);
    group->addLayout(actions);
    group->addWidget(prgSend);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *restart = new QLabel(tr("A change applies from the next start of the program."), this);
    restart->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grpServer);
    layout->addWidget(lblResult);
    layout->addWidget(restart);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(cmdTest, &QPushButton::clicked, this, &frmHistoryServer::testConnection);
    connect(cmdSend, &QPushButton::clicked, this, &frmHistoryServer::sendLocalHistory);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    load(HistoryServerSettings::location());
    resize(520, sizeHint().height());
}

frmHistoryServer::~frmHistoryServer() = default;

void frmHistoryServer::load(const QString &location)
{
    const QUrl url(location);
    grpServer->setChecked(!location.isEmpty());
    txtHost->setText(url.host());
    spnPort->setValue(url.port(5432));
    txtDatabase->setText(url.path().mid(1));
    txtUser->setText(url.userName());
    const QString mode = QUrlQuery(url).queryItemValue(QStringLiteral("sslmode"));
    cmbSslMode->setCurrentIndex(qMax(0, cmbSslMode->findData(mode)));
}

QString frmHistoryServer::location() const
{
    if (!grpServer->isChecked())
        return QString();
    return HistoryServerSettings::compose(txtUser->text(), txtHost->text(), spnPort->value(),
                                          txtDatabase->text(),
                                          cmbSslMode->currentData().toString());
}

void frmHistoryServer::testConnection()
{
    const QString where = location();
    if (where.isEmpty()) {
        lblResult->setText(tr("Enter the server's host and database."));
        return;
    }
    HistoryDatabase server(where);
    switch (server.open()) {
    case HistoryDatabase::Status::Open:
        lblResult->setText(tr("The server answers and keeps a history of this version."));
        return;
    case HistoryDatabase::Status::NewerVersion:
        lblResult->setText(tr("The server's history was made by a newer version (schema %1).")
                               .arg(QLocale().toString(server.fileVersion())));
        return;
    default:
        lblResult->setText(tr("The server cannot be used: %1").arg(server.detail()));
        return;
    }
}

// A laptop's history until now, to the server once; what is there already
// stays there once.
void frmHistoryServer::sendLocalHistory()
{
    const QString where = location();
    if (where.isEmpty() || m_takeOver) {
        lblResult->setText(tr("Enter the server's host and database."));
        return;
    }
    m_takeOver = std::make_unique<HistoryUplink>(m_localPath, where);
    connect(m_takeOver.get(), &HistoryUplink::progress, this, &frmHistoryServer::showProgress);
    connect(m_takeOver.get(), &HistoryUplink::wholeHistorySent, this, &frmHistoryServer::sendEnded);
    cmdSend->setEnabled(false);
    prgSend->setRange(0, 0);
    prgSend->show();
    lblResult->setText(tr("Sending..."));
    m_takeOver->sendWholeHistory();
}

void frmHistoryServer::showProgress(int sent, int total)
{
    prgSend->setRange(0, qMax(1, total));
    prgSend->setValue(sent);
}

void frmHistoryServer::sendEnded(bool complete)
{
    const int waiting = m_takeOver ? m_takeOver->waiting() : 0;
    const QString detail = m_takeOver ? m_takeOver->detail() : QString();
    m_takeOver.reset();
    cmdSend->setEnabled(true);
    prgSend->setRange(0, 1);
    prgSend->setValue(complete ? 1 : 0);
    lblResult->setText(
        complete ? tr("This computer's history is on the server.")
                 : tr("%1 entries could not be sent: %2").arg(QLocale().toString(waiting), detail));
}

bool frmHistoryServer::save()
{
    if (grpServer->isChecked() && location().isEmpty()) {
        lblResult->setText(tr("Enter the server's host and database."));
        return false;
    }
    if (!HistoryServerSettings::setLocation(location())) {
        lblResult->setText(tr("This location cannot be kept."));
        return false;
    }
    return true;
}
