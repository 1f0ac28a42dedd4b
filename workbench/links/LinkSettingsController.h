#pragma once

#include "hart/HartLinkProfile.h"
#include "hart/ProfiledHartLink.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

// The connection settings as the user changes them: checks what was entered,
// keeps it in the user's settings, and hands it to the live link and the
// host's polling address; while a device is connected only once that
// connection has ended, so that a link is never pulled away from under a
// running sequence. The scan tries the entered link out before it is chosen.
class LinkSettingsController : public QObject
{
    Q_OBJECT

public:
    // pollingAddress: how a new polling address reaches the host.
    LinkSettingsController(ProfiledHartLink *link, std::function<void(int)> pollingAddress,
                           QObject *parent = nullptr);

    ProfiledHartLink *link() const { return m_link; }
    // What the dialog starts from: the profile waiting for the connection
    // to end, otherwise the link's.
    HartLinkProfile profile() const;
    bool hasPending() const { return m_pending.has_value(); }

    // The string-table id of what keeps the profile from being used; 0 when it can be.
    static qint16 problem(const HartLinkProfile &profile);
    // Saves the profile and applies it now, or when the connection has
    // ended while connected. True when it took effect now.
    bool apply(const HartLinkProfile &profile, bool connected);
    // The connection has ended: the profile that waited takes effect.
    void connectionEnded();

    // The link with the entered settings for a scan; restore() puts back
    // what it had when the dialog was cancelled.
    void tryOut(const HartLinkProfile &profile);
    void restore();

Q_SIGNALS:
    void pendingChanged(bool pending);

private:
    void take(const HartLinkProfile &profile);

    QPointer<ProfiledHartLink> m_link;
    std::function<void(int)> m_pollingAddress;
    std::optional<HartLinkProfile> m_pending;
    std::optional<HartLinkProfile> m_beforeTryOut;
};
