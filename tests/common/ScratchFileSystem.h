#pragma once

#include <QString>
#include <QTemporaryDir>

// A small file system of its own (tmpfs) under a temporary folder, for tests
// of full and read-only disks. Mounting needs root; where the test may not
// mount, isMounted() is false and reason() says why.
class ScratchFileSystem
{
public:
    explicit ScratchFileSystem(qint64 bytes = 64 * 1024);
    ~ScratchFileSystem();
    ScratchFileSystem(const ScratchFileSystem &) = delete;
    ScratchFileSystem &operator=(const ScratchFileSystem &) = delete;

    bool isMounted() const { return m_mounted; }
    QString reason() const { return m_reason; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes a filler file until not one more byte fits.
    bool fill() const;
    // Mounts it again read-only.
    bool makeReadOnly();

private:
    QTemporaryDir m_dir;
    QString m_reason;
    bool m_mounted = false;
};
