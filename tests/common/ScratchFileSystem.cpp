#include "ScratchFileSystem.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace {
QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

ScratchFileSystem::ScratchFileSystem(qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (!m_dir.isValid())
        m_reason = QStringLiteral("no temporary folder");
    else if (geteuid() != 0)
        m_reason = QStringLiteral("mounting a tmpfs needs root");
    else if (::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", 0,
                     options.constData()) != 0)
        m_reason = QStringLiteral("cannot mount a tmpfs here: %1").arg(systemError());
    else
        m_mounted = true;
}

ScratchFileSystem::~ScratchFileSystem()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(path()).constData(), MNT_DETACH);
}

bool ScratchFileSystem::fill() const
{
    QFile filler(filePath(QStringLiteral("filler")));
    if (!m_mounted || !filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
    return true;
}

bool ScratchFileSystem::makeReadOnly()
{
    return m_mounted && ::mount(nullptr, QFile::encodeName(path()).constData(), nullptr,
                                MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
