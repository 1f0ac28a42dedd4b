#pragma once

#include <QString>
#include <memory>

class DeviceInstance;
class HartLink;

// The real host with the program's device description on a link: connects,
// runs sequences as the program does without dialogs, and reads what the
// device answered.
class HostOnLink
{
public:
    explicit HostOnLink(HartLink *link);
    ~HostOnLink();

    bool connect(int timeoutMs = 5000);
    int status() const;
    // Runs the sequence to its end: true when it completed.
    bool run(const QString &name);
    QString shadow(const char *item) const { return text(item, true); }
    QString dataset(const char *item) const { return text(item, false); }
    void setDataset(const char *item, const QString &value);
    DeviceInstance &instance() { return *m_instance; }

private:
    QString text(const char *item, bool shadow) const;

    std::unique_ptr<DeviceInstance> m_instance;
};
