#pragma once

#include "hart/HartLink.h"
#include "hart/HartLinkProfile.h"
#include "hart/HartPcapWriter.h"

#include <QHash>
#include <functional>
#include <memory>

// The link the host holds for the whole session. It keeps the connection
// profile apart from the live link: at each open it makes the link the
// profile describes, passes requests and outcomes through, and, while a
// traffic record is on, writes every frame both ways as HART-IP messages
// (a session initiate at open, a session close at close), whatever the link.
class ProfiledHartLink : public HartLink
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
    RequestId send(const HartFrame &request) override;

Q_SIGNALS:
    void profileChanged();
    void captureChanged(bool on);

private:
    void attach();
    void dropLive();
    RequestId takeOuter(quint64 innerId, HartLink *from);
    void record(const QByteArray &message, bool toDevice);
    void recordFrame(const HartFrame &frame, quint16 sequence, bool toDevice);
    void recordSession(bool initiate);

    Factory m_factory;
    HartLinkProfile m_profile;
    std::unique_ptr<HartLink> m_live;
    QHash<quint64, RequestId> m_outerOf;    // live link's id -> ours
    QHash<RequestId, quint16> m_sequenceOf; // ours -> sequence in the record
    RequestId m_nextId = 1;
    HartPcapWriter m_capture;
    quint16 m_captureSequence = 0;
    bool m_sessionRecorded = false;
};
