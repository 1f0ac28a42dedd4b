// The program: one device instance on the simulated transmitter (or the
// link --link names), opened with its main window; --quit runs the start-up
// on the console instead.

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ResidentViews.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "calcheck/CalcheckSource.h"
#include "clsAppItem.h"
#include "frame/DeviceFrame.h"
#include "frame/FrameOptions.h"
#include "frame/ProgramLanguage.h"
#include "frame/StartupProbe.h"
#include "hart/LinkReconnector.h"
#include "hart/ProfiledHartLink.h"
#include "mainwin/clsMainView.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QApplication>
#include <QSettings>
#include <QTextStream>
#include <QTimer>

#include <optional>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QString value(DeviceInstance &instance, const char *item, bool shadow = false)
{
    const ItemStore &store = instance.manager()->store();
    const int index = store.indexOf(QLatin1String(item));
    return index < 0 ? QString() : store.text(index, shadow);
}

// The items the always-started components publish, printed as they change.
void watchPublishedItems(DeviceInstance &instance, QObject *owner)
{
    for (const char *name : {"currentSequence", "currentRecord", "currentResponseCode",
                             "InCompatibleDataset", "outScaleUnitGui", "scaleInHiLimRounded",
                             "&&private&&Connect", "&&Menu_State&&Connect"}) {
        auto *item = new clsAppItem(owner);
        item->Register(instance.manager(), QLatin1String(name));
        QObject::connect(item, &clsAppItem::ValueUpdate, owner, [name](QString &value) {
            out() << "  " << name << " = \"" << value << "\"" << Qt::endl;
        });
    }
}

// Without a main window: connect, read the whole dataset and say what came.
void demonstrate(DeviceFrame &frame, QApplication &app)
{
    DeviceInstance &instance = *frame.instance();
    watchPublishedItems(instance, &app);
    QObject::connect(&instance.connection(), &ConnectionController::connectFailed, &app,
                     [&app](const QString &reason) {
                         out() << "connect failed: " << reason << Qt::endl;
                         app.exit(1);
                     });
    QObject::connect(&instance.engine(), &SequenceEngine::sequenceEnded, &app,
                     [&](const QString &name, bool completed) {
                         if (name != QLatin1String("UPLOAD"))
                             return;
                         out() << "sequence " << name << (completed ? " completed" : " ended early")
                               << Qt::endl;
                         out() << "tag " << value(instance, "_tagHART").trimmed() << ", range "
                               << value(instance, "scaleInLoLim") << " to "
                               << value(instance, "scaleInHiLim") << " (unit code "
                               << value(instance, "primaryValueUnit") << "), damping "
                               << value(instance, "filterTime") << " s" << Qt::endl;
                         instance.connection().disconnectDevice();
                         app.quit();
                     });
    QTimer::singleShot(0, &app, [&instance] {
        out() << "connecting at polling address " << value(instance, "&&private_PM&&Address")
              << Qt::endl;
        instance.connection().connectDevice();
    });
    auto *poll = new QTimer(&app);
    QObject::connect(poll, &QTimer::timeout, &app, [&instance, &app, poll] {
        if (instance.connection().status() != ConnectionController::Connected)
            return;
        // A device of another kind is named, and nothing of this family is read from it.
        if (instance.connection().isForeignDevice()) {
            poll->stop();
            out() << instance.connection().linkMessage() << Qt::endl
                  << "not a transmitter of this family: nothing read" << Qt::endl;
            instance.connection().disconnectDevice();
            app.exit(3);
            return;
        }
        // The always-started components read the device information first.
        if (instance.engine().start(QStringLiteral("UPLOAD")) != 0)
            return;
        poll->stop();
        out() << "connected to device id " << value(instance, "_deviceIdNumberHART", true)
              << ", reading the dataset" << Qt::endl;
    });
    poll->start(20);
}

// The link as last time, or as the command line names it (then remembered).
HartLinkProfile chooseProfile(FrameOptions &options)
{
    QSettings settings;
    HartLinkProfile profile = HartLinkProfile::load(settings);
    if (!options.link.isEmpty()) {
        QString error;
        const HartLinkProfile chosen = *HartLinkProfile::parse(options.link, &error);
        profile.kind = chosen.kind;
        profile.serialPort = chosen.serialPort;
        profile.host = chosen.host;
        profile.port = chosen.port;
        profile.udp = chosen.udp;
    }
    if (options.pollingAddressGiven)
        profile.pollingAddress = options.pollingAddress;
    else
        options.pollingAddress = profile.pollingAddress;
    profile.save(settings);
    return profile;
}

// The options given, or nothing with the exit code when the program ends
// here (bad options, or only the usage asked for).
std::optional<FrameOptions> parsedOptions(const QApplication &app, int &exitCode)
{
    QString error;
    auto options = FrameOptions::parse(app.arguments(), &error);
    if (!options) {
        out() << error << Qt::endl << FrameOptions::usage();
        exitCode = 2;
        return std::nullopt;
    }
    if (options->help) {
        out() << FrameOptions::usage();
        exitCode = 0;
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    // The options alone: no window, and no display needed for them.
    if (FrameOptions::asksForHelp(argc, argv)) {
        QCoreApplication core(argc, argv);
        out() << FrameOptions::usage();
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Workbench"));
    QApplication::setOrganizationName(QStringLiteral("Workbench"));
    StartupProbe::installIfRequested();

    int exitCode = 0;
    const auto options = parsedOptions(app, exitCode);
    if (!options)
        return exitCode;
    QString error;
    ProgramLanguage::apply(options->language);

    registerResidentViews();
    // Without a main view the frame runs the console demonstration.
    if (!options->quit)
        registerWorkbenchViews();

    // The device this program talks to: the simulated transmitter in this
    // process, unless the profile names a serial modem or a HART-IP server.
    FrameOptions frameOptions = *options;
    SimulatedTransmitter transmitter;
    transmitter.setLivelyProcess();
    const int bitRate = options->linkBitRate;
    const HartLinkProfile profile = chooseProfile(frameOptions);
    ProfiledHartLink link(
        [&transmitter, bitRate](const HartLinkProfile &p,
                                QString *why) -> std::unique_ptr<HartLink> {
            if (p.kind != HartLinkProfile::Kind::Simulator)
                return ProfiledHartLink::standardLink(p, why);
            auto inProcess = std::make_unique<InProcessHartLink>(&transmitter);
            inProcess->setBitRate(bitRate);
            inProcess->setRequestPreambles(p.preambles);
            return inProcess;
        },
        profile);
    if (!options->captureFile.isEmpty() && !link.startCapture(options->captureFile, &error)) {
        out() << "--capture " << options->captureFile << ": " << error << Qt::endl;
        return 1;
    }
    QObject::connect(&link, &ProfiledHartLink::captureFailed, &app,
                     [](const QString &reason) { out() << reason << Qt::endl; });
    // Its bench's pressure source and ammeter serve a calibration check, but
    // only while the link goes to it.
    const auto bench = CalcheckSource::installWhile(link, HartLinkProfile::Kind::Simulator,
                                                    CalcheckSource::of(transmitter));

    // A lost link comes back by itself until the user disconnects.
    LinkReconnector reconnector(link);
    DeviceFrame frame(frameOptions, &link);
    QObject::connect(&frame, &DeviceFrame::log, &app,
                     [](const QString &line) { out() << line << Qt::endl; });
    if (!frame.open(&error)) {
        out() << error << Qt::endl;
        return 1;
    }
    frame.instance()->connection().setReconnector(&reconnector);
    if (options->quit)
        demonstrate(frame, app);
    // The built-in transmitter is always there, as on a bench: the program
    // starts connected to it. A real loop is connected when the user says so.
    else if (options->connect || profile.kind == HartLinkProfile::Kind::Simulator)
        frame.instance()->connection().connectDevice();
    const int rc = app.exec();
    // The main view lets go of its window once the host has released it.
    QCoreApplication::sendPostedEvents();
    frame.close();
    return rc;
}
