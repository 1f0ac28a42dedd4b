#pragma once

#include "SwitchedDevice.h"

#include "hart/ProfiledHartLink.h"
#include "mainwin/MainWindowCommands.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QStringList>
#include <memory>

class DeviceFrame;
class DeviceInstance;
class LinkReconnector;
class frmMain;

// The program as the frame starts it: the real host on the simulated
// transmitter without wire time (through the link the program holds, so
// that the connection settings can change it), the always-started components and the
// main view, and the main window shown offscreen. The main window's plug-in
// commands only record that they ran. The device's clock stands still until a
// test moves it, so a restart lasts exactly as long as the test says.
class MainWindowRig
{
public:
    explicit MainWindowRig(const QStringList &arguments = {});
    ~MainWindowRig();

    DeviceInstance &instance() const;
    frmMain &form() const { return *m_form; }
    SimulatedTransmitter device;
    // The line to the device: another one can be plugged in its place, and
    // it keeps what was sent.
    SwitchedDevice line{&device};
    void advanceDeviceClock(qint64 ms) { m_deviceClockNs += ms * 1'000'000; }
    // A lost link is brought back as the program does, after these pauses.
    void reconnectAfter(int firstPauseMs, int maxPauseMs);
    LinkReconnector *reconnector() const { return m_reconnector.get(); }

    // As the device side or the frame writes a host item.
    void set(const QString &item, const QString &value) const;
    QString text(const QString &item) const;
    // The program's link: its signals tell each answer that went over the line.
    ProfiledHartLink &link() { return m_link; }
    // Connects through the menu and waits until the device information is read.
    bool connect() const;
    bool idle() const;

    // Set before connecting: every byte a real link (HART-IP, serial) made
    // for the program carries, as it travelled.
    HartTrafficSink *wire = nullptr;

    QStringList commandsRun;
    MainWindowCommands::Reset lastReset = MainWindowCommands::Reset::FactoryData;

private:
    qint64 m_deviceClockNs = 0;
    ProfiledHartLink m_link{[this](const HartLinkProfile &p, QString *why) {
        if (p.kind != HartLinkProfile::Kind::Simulator) {
            auto real = ProfiledHartLink::standardLink(p, why);
            if (real && wire)
                real->setTrafficSink(wire);
            return real;
        }
        auto inProcess = std::make_unique<InProcessHartLink>(&line);
        inProcess->setBitRate(0);
        return std::unique_ptr<HartLink>(std::move(inProcess));
    }};
    std::unique_ptr<DeviceFrame> m_frame;
    std::unique_ptr<LinkReconnector> m_reconnector;
    frmMain *m_form = nullptr;
};
