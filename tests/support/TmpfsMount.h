// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>
#include <string>

#include <sys/mount.h>

namespace mirelune::test {

// A small tmpfs mounted on a folder for as long as this lives: a device that
// fills up at once, or (with MS_NOEXEC) one that refuses to run programs, as
// many systems mount their temporary folder. Mounting needs root, as tests
// have in CI; elsewhere mounted() is false and why() says why.
class TmpfsMount {
  public:
    TmpfsMount(const QString& folder, unsigned long flags, const char* size = "64k")
        : folder_(QFile::encodeName(folder)) {
        QDir().mkpath(folder);
        const std::string options = std::string("size=") + size + ",mode=0777";
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", flags, options.c_str()) == 0;
        error_ = errno;
    }
    ~TmpfsMount() {
        if (mounted_) {
            ::umount2(folder_.constData(), MNT_DETACH);
        }
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool mounted() const { return mounted_; }
    std::string why() const {
        return "mounting a tmpfs needs root (CAP_SYS_ADMIN): " + std::string(std::strerror(error_));
    }

  private:
    QByteArray folder_;
    bool mounted_ = false;
    int error_ = 0;
};

}  // namespace mirelune::test
