#pragma once

#include "hart/HartLink.h"

#include <QList>
#include <memory>

// A link that passes everything on to the real one and keeps the command
// number of every request that went out, so that a test can say exactly
// what a device was sent.
class LoggedHartLink : public HartLink
{
    Q_OBJECT

public:
    LoggedHartLink(std::unique_ptr<HartLink> inner, QList<int> &sent);

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_inner->isOpen(); }

protected:
    void transmit(const HartFrame &request) override;

private:
    std::unique_ptr<HartLink> m_inner;
    QList<int> &m_sent;
};
