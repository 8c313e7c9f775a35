#include "SmallDisk.h"

#include <sys/mount.h>

#include <QFile>

SmallDisk::SmallDisk(qint64 bytes) {
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                        options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool SmallDisk::fill(qint64 leave) {
    QFile filler(filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(1024, 'f');
    qint64 written = 0;
    while (filler.write(block) == block.size())
        written += block.size();
    filler.close();
    // Give back what the folder's files should still find free.
    return written > leave && QFile::resize(filler.fileName(), written - leave);
}

bool SmallDisk::makeReadOnly() {
    return m_mounted && ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr,
                                MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
