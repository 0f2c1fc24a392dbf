// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoder/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "encoder/EncoderFailure.h"
#include "naming/TemporaryResultName.h"

namespace mirelune::encoder {
namespace {

static_assert(temporary_result::kTagLength == 6, "mkstemps makes tags of six");

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The temporary file a signal must take along, or nullptr.
const char* volatile gTemporary = nullptr;

void RemoveAndEnd(int signal) {
    if (const char* path = gTemporary) {
        ::unlink(path);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Holds the ending signals off while the temporary file is made and its name
// handed to the handler, so that no moment leaves one the handler misses.
// They are let through afterwards even when the parent had them blocked: a
// mask is inherited, and a blocked signal would never take the file along.
class SignalsHeld {
  public:
    SignalsHeld() {
        sigemptyset(&held_);
        for (const int signal : kEndingSignals) {
            sigaddset(&held_, signal);
        }
        sigprocmask(SIG_BLOCK, &held_, nullptr);
    }
    ~SignalsHeld() { sigprocmask(SIG_UNBLOCK, &held_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t held_{};
};

void CatchEndingSignals() {
    struct sigaction action {};
    action.sa_handler = &RemoveAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) {
        struct sigaction previous {};
        // A signal ignored when the program started stays ignored, as the
        // shell meant for a program run with nohup.
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) {
            sigaction(signal, &action, nullptr);
        }
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The mode LAME's program gives its output: a file's own when it replaces
// one, else what the umask leaves of read and write for all.
mode_t ResultMode(const struct stat* existing) {
    if (existing) {
        return existing->st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    // A device or a pipe cannot take the header frame written last, and
    // replacing one would do harm.
    struct stat existing {};
    const bool exists = ::stat(path_.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        throw EncoderFailure("cannot write " + path_ + ": not a regular file");
    }
    const SignalsHeld held;
    CatchEndingSignals();
    const std::string folder = FolderOf(path_);
    std::string name = folder + temporary_result::TemplateFor(path_.substr(folder.size()));
    const int fd = ::mkostemps(name.data(),
                               static_cast<int>(std::strlen(temporary_result::kSuffix)), O_CLOEXEC);
    if (fd < 0) {
        fail(errno);
    }
    temporary_ = std::move(name);
    gTemporary = temporary_.c_str();
    ::fchmod(fd, ResultMode(exists ? &existing : nullptr));
    file_.reset(::fdopen(fd, "wb"));
    if (!file_) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
}

OutputFile::~OutputFile() {
    if (!kept_) {
        file_.reset();
        if (!temporary_.empty()) {
            ::unlink(temporary_.c_str());
        }
    }
    gTemporary = nullptr;
}

void OutputFile::fail(int error) const {
    throw EncoderFailure("cannot write " + path_ + ": " + std::strerror(error != 0 ? error : EIO));
}

void OutputFile::write(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file_.get()) != size) {
        fail(errno);
    }
}

void OutputFile::rewrite(std::size_t offset, const Bytes& bytes) {
    if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) {
        fail(errno);
    }
    write(bytes);
    if (std::fseek(file_.get(), 0, SEEK_END) != 0) {
        fail(errno);
    }
}

void OutputFile::keep() {
    errno = 0;
    const bool stored = std::fflush(file_.get()) == 0;
    const int storeError = errno;
    const bool closed = std::fclose(file_.release()) == 0;
    if (!stored || !closed) {
        fail(storeError != 0 ? storeError : errno);
    }
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
        fail(errno);
    }
    kept_ = true;
    gTemporary = nullptr;
}

}  // namespace mirelune::encoder
