#include "frmAbout.h"

#include "MessageBoxSeam.h"
#include "Toolkit_LoadResource.h"
#include "global.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>
#include <QVBoxLayout>

namespace {

QSettings machineSettings()
{
    return QSettings(QSettings::SystemScope, QLatin1String(frmAbout::ProductOrganization),
                     QLatin1String(frmAbout::ProductApplication));
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About"));

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(LoadJpegResource(QStringLiteral(":/pictures/ABOUT.svg")));
    lblTitle = new QLabel(QStringLiteral("TARVIK HART"), this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(VersionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription =
        new QLabel(tr("Configuration of the absolute and differential pressure transmitters, "
                      "4 to 20 mA with HART."),
                   this);
    lblDescription->setWordWrap(true);
    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setProperty("Tag", 1096);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setFrameShape(QFrame::StyledPanel);
    lblDisclaimer->setMargin(6);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setProperty("Tag", 1095);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System-Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setProperty("Tag", 1094);
    // Enter stays with OK after the system information was started.
    cmdSysInfo->setAutoDefault(false);

    auto *text = new QVBoxLayout;
    text->addWidget(lblTitle);
    text->addWidget(lblVersion);
    text->addWidget(lblDescription);
    text->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(bottom);
    setFixedWidth(picIcon->sizeHint().width() + 300);

    LoadResStrings(this);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });
}

QString frmAbout::VersionText()
{
    const QString version = machineSettings().value(QLatin1String(VersionValue)).toString();
    if (version.trimmed().isEmpty())
        return QStringLiteral("Version 01.01.00");
    return QStringLiteral("Version ") + version;
}

QString frmAbout::SystemInfoProgram()
{
    const QString configured =
        machineSettings().value(QLatin1String(SystemInfoValue)).toString().trimmed();
    if (!configured.isEmpty()) {
        const QFileInfo program(configured);
        if (program.isFile() && program.isExecutable())
            return program.absoluteFilePath();
    }
    for (const char *name :
         {"hardinfo2", "hardinfo", "gnome-system-monitor", "plasma-systemmonitor", "ksysguard"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

QString frmAbout::SystemInfoMissingText()
{
    return tr("System information program not available at the moment.");
}

// What a support call asks first, without a program of the desktop's.
QString frmAbout::SystemInformation()
{
    const QString settings = QSettings().fileName();
    return GetResText(7420).arg(QCoreApplication::applicationName() + QLatin1Char(' ') +
                                    QCoreApplication::applicationVersion(),
                                QString::fromLatin1(qVersion()), QSysInfo::prettyProductName(),
                                QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture(),
                                QLocale().name(), QDir::toNativeSeparators(settings),
                                QDir::toNativeSeparators(QStandardPaths::writableLocation(
                                    QStandardPaths::AppDataLocation)));
}

void frmAbout::StartSysInfo()
{
    const QString program = SystemInfoProgram();
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        MessageBoxSeam::show(this, QMessageBox::Information, windowTitle(), SystemInformation());
    cmdOK->setFocus();
}
