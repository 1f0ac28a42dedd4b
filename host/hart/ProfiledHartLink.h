#pragma once

#include "hart/HartLink.h"
#include "hart/HartLinkProfile.h"
#include "hart/HartMaster.h"
#include "hart/HartPcapWriter.h"

#include <functional>
#include <memory>

// The link the host holds for the whole session. It keeps the connection
// profile apart from the live link: at each open it makes the link the
// profile describes and passes each request on through a master of the
// live link, one at a time, and its outcome back.
// While a traffic record is on, the live link hands it every byte as it
// travelled; a record that cannot be written stops and says why.
class ProfiledHartLink : public HartLink, private HartTrafficSink
{
    Q_OBJECT

public:
    // Makes the live link for a profile; nothing when it cannot (the reason
    // in *error).
    using Factory =
        std::function<std::unique_ptr<HartLink>(const HartLinkProfile &, QString *error)>;

    explicit ProfiledHartLink(Factory factory, HartLinkProfile profile = {},
                              QObject *parent = nullptr);
    ~ProfiledHartLink() override;

    // The serial and HART-IP links of a profile; nothing for the simulator.
    static std::unique_ptr<HartLink> standardLink(const HartLinkProfile &profile, QString *error);

    const HartLinkProfile &profile() const { return m_profile; }
    // A link of its own for another profile, made as the live one would be
    // (to ask a port whether the device is there); nothing when it cannot.
    std::unique_ptr<HartLink> createLink(const HartLinkProfile &profile, QString *error) const
    {
        return m_factory(profile, error);
    }
    // Takes effect at the next open; a live link of another profile is closed.
    void setProfile(const HartLinkProfile &profile);
    HartLink *live() const { return m_live.get(); }

    bool startCapture(const QString &path, QString *error);
    void stopCapture();
    bool isCapturing() const { return m_capture.isOpen(); }
    QString captureFile() const { return m_capture.fileName(); }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_live && m_live->isOpen(); }

Q_SIGNALS:
    void profileChanged();
    void captureChanged(bool on);
    // The record could not be written and has stopped; what it holds so far stays.
    void captureFailed(const QString &reason);

protected:
    void transmit(const HartFrame &request) override;

private:
    void attach();
    void dropLive();
    void take(const HartTraffic &traffic) override;

    Factory m_factory;
    HartLinkProfile m_profile;
    std::unique_ptr<HartLink> m_live;
    std::unique_ptr<HartMaster> m_liveMaster;
    HartPcapWriter m_capture;
};
