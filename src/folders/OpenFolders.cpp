// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/OpenFolders.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace mirelune {

namespace {

thread_local OpenFolders* current = nullptr;

// A walk level by level lists a folder soon after its parent; a few kept are
// enough for a chain and for the grouped levels of a wide tree.
constexpr std::size_t kKept = 8;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

OpenFolders::OpenFolders() : outer_(current) {
    current = this;
}

OpenFolders::~OpenFolders() {
    for (const Kept& k : kept_) {
        ::close(k.fd);
    }
    current = outer_;
}

int OpenFolders::Open(const QByteArray& nativePath) {
    return current != nullptr ? current->open(nativePath)
                              : ::open(nativePath.constData(), kFolderFlags);
}

int OpenFolders::open(const QByteArray& nativePath) {
    QByteArray path = nativePath;
    while (path.size() > 1 && path.endsWith('/')) {
        path.chop(1);
    }
    const Kept* nearest = nullptr;
    for (const Kept& k : kept_) {
        const bool below = path.size() > k.path.size() && path.startsWith(k.path) &&
                           (k.path.endsWith('/') || path.at(k.path.size()) == '/');
        if (below && (nearest == nullptr || k.path.size() > nearest->path.size())) {
            nearest = &k;
        }
    }
    int fd = -1;
    if (nearest != nullptr) {
        const qsizetype skip = nearest->path.size() + (nearest->path.endsWith('/') ? 0 : 1);
        fd = ::openat(nearest->fd, path.constData() + skip, kFolderFlags);
    }
    // A kept folder moved away since, or any other failure: the path as it
    // stands now decides, and its errno is the one told.
    if (fd < 0) {
        fd = ::open(path.constData(), kFolderFlags);
    }
    if (fd >= 0) {
        keep(path, fd);
    }
    return fd;
}

void OpenFolders::keep(const QByteArray& path, int fd) {
    const int saved = errno;
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    errno = saved;
    if (copy < 0) {
        return;  // out of descriptors: the next folders are opened by path
    }
    if (kept_.size() == kKept) {
        ::close(kept_.back().fd);
        kept_.pop_back();
    }
    kept_.push_front({path, copy});
}

}  // namespace mirelune
