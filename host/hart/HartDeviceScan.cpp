#include "hart/HartDeviceScan.h"

#include "hart/HartCodec.h"
#include "hart/HartProtocol.h"

#include <algorithm>

namespace {

constexpr int TagBytes = 6;

// Commands 0 and 11 answer the same identity.
std::optional<HartDeviceScan::Device> identity(const HartMaster::Outcome &outcome)
{
    if (outcome.kind != HartMaster::Outcome::Kind::Response ||
        outcome.responseCode != hart::response::Success)
        return std::nullopt;
    const std::optional<HartDeviceIdentity> found = HartDeviceIdentity::parse(outcome.data);
    if (!found)
        return std::nullopt;
    HartDeviceScan::Device device;
    device.identity = *found;
    return device;
}

} // namespace

HartDeviceScan::HartDeviceScan(HartLink *link, QObject *parent) : QObject(parent), m_link(link)
{
    qRegisterMetaType<HartDeviceScan::Device>();
    if (link)
        m_master = std::make_unique<HartMaster>(link);
}

HartDeviceScan::~HartDeviceScan()
{
    if (m_running)
        end(false);
}

bool HartDeviceScan::canSendTag(const QString &tag)
{
    if (tag.size() > TagCharacters)
        return false;
    const QString upper = tag.toUpper();
    return std::all_of(upper.begin(), upper.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x5F; });
}

bool HartDeviceScan::start(const QString &tag)
{
    m_error.clear();
    if (m_running) {
        m_error = tr("A scan is running already.");
        return false;
    }
    if (!m_link) {
        m_error = tr("There is no link to scan.");
        return false;
    }
    if (!canSendTag(tag.trimmed())) {
        m_error = tr("\"%1\" cannot be sent as a tag.").arg(tag);
        return false;
    }
    m_openedLink = !m_link->isOpen();
    if (m_openedLink && !m_link->open()) {
        m_error = m_link->errorString();
        m_openedLink = false;
        return false;
    }
    m_running = true;
    m_devices.clear();
    m_current.reset();
    m_wanted.reset();
    m_address = 0;
    m_done = 0;
    const QString wanted = tag.trimmed();
    // Finding by tag adds one step before the addresses.
    m_total = PollingAddresses + (wanted.isEmpty() ? 0 : 1);
    report();
    if (wanted.isEmpty()) {
        send(Step::Identify, HartFrame::shortFrame(HartFrame::Kind::Request, 0,
                                                   hart::command::ReadUniqueIdentifier));
    } else {
        // The broadcast address: every device hears it, the one with the tag answers.
        m_wantedTag = HartCodec::packAscii(wanted, TagBytes);
        send(Step::FindByTag,
             HartFrame::longFrame(HartFrame::Kind::Request, 0, 0, 0,
                                  hart::command::ReadUniqueIdentifierByTag, m_wantedTag));
    }
    return true;
}

void HartDeviceScan::cancel()
{
    if (m_running)
        end(false);
}

void HartDeviceScan::send(Step step, const HartFrame &frame)
{
    m_step = step;
    const quint64 run = m_run;
    m_master->request(frame, [this, run](const HartMaster::Outcome &o) {
        if (m_running && run == m_run)
            outcome(o);
    });
}

void HartDeviceScan::outcome(const HartMaster::Outcome &outcome)
{
    if (outcome.kind == HartMaster::Outcome::Kind::ConnectionLost) {
        m_error = m_link && !m_link->errorString().isEmpty()
                      ? m_link->errorString()
                      : tr("The link was lost during the scan.");
        end(false);
        return;
    }
    switch (m_step) {
    case Step::Identify:
        identified(outcome);
        break;
    case Step::ReadTag:
        tagRead(outcome);
        break;
    case Step::FindByTag:
        foundByTag(outcome);
        break;
    }
}

void HartDeviceScan::identified(const HartMaster::Outcome &outcome)
{
    std::optional<Device> device = identity(outcome);
    if (device && m_wanted) {
        // Looking for the address of the device that answered to its tag.
        if (!device->identity.sameDevice(m_wanted->identity)) {
            nextAddress();
            return;
        }
        m_wanted->pollingAddress = m_address;
        m_devices.append(*m_wanted);
        Q_EMIT deviceFound(*m_wanted);
        m_wanted.reset();
        m_done = m_total;
        end(true);
        return;
    }
    if (!device || m_wanted) {
        nextAddress();
        return;
    }
    device->pollingAddress = m_address;
    m_current = device;
    send(Step::ReadTag,
         HartFrame::longFrame(HartFrame::Kind::Request, device->identity.manufacturer,
                              device->identity.deviceType, device->identity.deviceId,
                              hart::command::ReadTagDescriptorDate));
}

void HartDeviceScan::tagRead(const HartMaster::Outcome &outcome)
{
    // A device that answers command 0 but not 13 is still listed, without its tag.
    if (outcome.kind == HartMaster::Outcome::Kind::Response &&
        !(outcome.responseCode & hart::commerror::Flag) && outcome.data.size() >= TagBytes)
        m_current->tag = HartCodec::unpackAscii(outcome.data.first(TagBytes)).trimmed();
    m_devices.append(*m_current);
    const Device found = *m_current;
    m_current.reset();
    Q_EMIT deviceFound(found);
    if (m_running)
        nextAddress();
}

void HartDeviceScan::foundByTag(const HartMaster::Outcome &outcome)
{
    ++m_done;
    std::optional<Device> device = identity(outcome);
    if (!device) {
        // Nobody has that tag: nothing to look for at the addresses.
        m_done = m_total;
        end(true);
        return;
    }
    // As the device holds it: upper case, blanks at the end dropped.
    device->tag = HartCodec::unpackAscii(m_wantedTag).trimmed();
    m_wanted = device;
    report();
    send(Step::Identify,
         HartFrame::shortFrame(HartFrame::Kind::Request, 0, hart::command::ReadUniqueIdentifier));
}

void HartDeviceScan::nextAddress()
{
    ++m_done;
    if (++m_address >= PollingAddresses) {
        if (m_wanted) {
            // It answered to its tag but at none of the addresses: listed
            // all the same, so that the user learns that it is there.
            m_devices.append(*m_wanted);
            Q_EMIT deviceFound(*m_wanted);
            m_wanted.reset();
        }
        end(true);
        return;
    }
    report();
    send(Step::Identify, HartFrame::shortFrame(HartFrame::Kind::Request, quint8(m_address),
                                               hart::command::ReadUniqueIdentifier));
}

void HartDeviceScan::end(bool completed)
{
    m_running = false;
    ++m_run;
    if (m_openedLink && m_link)
        m_link->close();
    m_openedLink = false;
    if (completed)
        report();
    Q_EMIT finished(completed);
}

void HartDeviceScan::report()
{
    Q_EMIT progress(m_done, m_total);
}
