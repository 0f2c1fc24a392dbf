// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/NameProbe.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cerrno>

#include <gtest/gtest.h>

#include "landing/TargetNames.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Q;

void SetModified(const QString& path, qint64 seconds) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// The names made in folder while the watch was on.
QStringList MadeIn(int watch) {
    QStringList made;
    char buffer[64 * 1024];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + n;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(at);
            made.append(QFile::decodeName(event->name));
            at += sizeof(struct inotify_event) + event->len;
        }
    }
    return made;
}

TEST(NameProbe, TrialsMakeNothingButTheirOwnFolderBesideTheResults) {
    test::ScratchDir dir;
    const QString folder = Q(dir.path().string());
    test::WriteBytes(folder + "/taken.mp3", "x");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(
        ::inotify_add_watch(watch, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO),
        0);
    {
        NameProbe probe(folder);
        EXPECT_EQ(probe.tryName("taken.mp3"), 0);
        EXPECT_EQ(probe.tryName("Who?.mp3"), 0);
        EXPECT_EQ(probe.tryName(QString(256, 'x')), ENAMETOOLONG);
        EXPECT_EQ(TargetNames().fit(folder, "Who?" + QString(300, 'x'), ".mp3"),
                  "Who?" + QString(247, 'x') + ".mp3");
    }
    const QStringList made = MadeIn(watch);
    ::close(watch);
    // The probe's folder, and the fit's own where names are tried at all.
    ASSERT_EQ(made.size(), TakesEveryName(folder) ? 1 : 2);
    for (const QString& name : made) {
        EXPECT_TRUE(name.startsWith(".mirelune-probe-") && name.size() == 24) << name.toStdString();
    }
    EXPECT_EQ(test::EntriesOf(folder), QStringList{"taken.mp3"});
}

TEST(NameProbe, AFolderThatTakesNoFileSaysWhy) {
    test::ScratchDir dir;
    test::WriteBytes(Q(dir.file("file")), "x");
    EXPECT_EQ(NameProbe(Q(dir.file("file"))).tryName("x"), ENOTDIR);
    EXPECT_EQ(NameProbe(Q(dir.file("missing"))).tryName("x"), ENOENT);
    EXPECT_EQ(NameProbe(Q(dir.path().string())).tryName("x"), 0);
    EXPECT_EQ(test::EntriesOf(Q(dir.path().string())), QStringList{"file"});
}

// On FAT a folder's mode keeps nobody out: a file someone put in the probe
// folder is taken for a name the target takes, and stays.
TEST(NameProbe, ATrialNeverTakesAFileItDidNotMake) {
    test::ScratchDir dir;
    const QString folder = Q(dir.path().string());
    NameProbe probe(folder);
    probe.setWhileMade([&] {
        const QStringList probes = test::EntriesOf(folder);
        ASSERT_EQ(probes.size(), 1);
        test::WriteBytes(folder + "/" + probes[0] + "/theirs.mp3", "theirs");
    });
    EXPECT_EQ(probe.tryName("x"), 0);
    probe.setWhileMade({});
    EXPECT_EQ(probe.tryName("theirs.mp3"), EEXIST);
    const QStringList probes = test::EntriesOf(folder);
    ASSERT_EQ(probes.size(), 1);
    EXPECT_EQ(test::ReadBytes(folder + "/" + probes[0] + "/theirs.mp3"), "theirs");
}

// Only a probe folder that has been quiet past the limit, of this user, holding
// nothing but empty files of this user, is a dead run's.
TEST(NameProbe, TheSweepRemovesOnlyDeadProbeFoldersOfOurs) {
    test::ScratchDir dir;
    const QString folder = Q(dir.path().string());
    const qint64 now = 2000000000;
    const qint64 dead = now - kProbeQuietSeconds - 1;
    const uid_t stranger = ::geteuid() + 4242;
    const struct {
        const char* name;
        const char* file;  // inside it, when not null
        QByteArray bytes;  // of the file
        bool strangersFile;
        bool strangersFolder;
        qint64 modified;
        bool removed;
    } cases[] = {
        {".mirelune-probe-empty", nullptr, "", false, false, dead, true},
        {".mirelune-probe-trial", "Who?.mp3", "", false, false, dead, true},
        {".mirelune-probe-quiet", nullptr, "", false, false, now - kProbeQuietSeconds, false},
        {".mirelune-probe-data", "song.mp3", "ID3", false, false, dead, false},
        {".mirelune-probe-other", "song.mp3", "", true, false, dead, false},
        {".mirelune-probe-theirs", nullptr, "", false, true, dead, false},
        {"mirelune-probe-unhidden", nullptr, "", false, false, dead, false},
    };
    bool canChown = true;
    for (const auto& c : cases) {
        const QString path = folder + "/" + c.name;
        ASSERT_TRUE(QDir().mkpath(path));
        if (c.file != nullptr) {
            test::WriteBytes(path + "/" + c.file, c.bytes);
            if (c.strangersFile) {
                canChown = canChown && ::chown(QFile::encodeName(path + "/" + c.file).constData(),
                                               stranger, static_cast<gid_t>(-1)) == 0;
            }
        }
        if (c.strangersFolder) {
            canChown = canChown && ::chown(QFile::encodeName(path).constData(), stranger,
                                           static_cast<gid_t>(-1)) == 0;
        }
        SetModified(path, c.modified);
    }
    if (!canChown) {
        GTEST_SKIP() << "files of another user need root";
    }
    // A link to a dead probe folder, and one inside a probe folder.
    ASSERT_TRUE(QDir().mkpath(folder + "/elsewhere"));
    SetModified(folder + "/elsewhere", dead);
    ASSERT_TRUE(QFile::link(folder + "/elsewhere", folder + "/.mirelune-probe-link"));
    ASSERT_TRUE(QDir().mkpath(folder + "/.mirelune-probe-holdslink"));
    ASSERT_TRUE(QFile::link(folder + "/elsewhere",
                            folder + "/.mirelune-probe-holdslink/.mirelune-probe-x"));
    SetModified(folder + "/.mirelune-probe-holdslink", dead);

    SweepDeadProbeFolders(OpenFolderBelow(folder, QString(), false), now);

    EXPECT_EQ(test::EntriesOf(folder),
              (QStringList{".mirelune-probe-data", ".mirelune-probe-holdslink",
                           ".mirelune-probe-link", ".mirelune-probe-other", ".mirelune-probe-quiet",
                           ".mirelune-probe-theirs", "elsewhere", "mirelune-probe-unhidden"}));
    EXPECT_EQ(test::EntriesOf(folder + "/.mirelune-probe-data"), QStringList{"song.mp3"});
    EXPECT_EQ(test::EntriesOf(folder + "/.mirelune-probe-other"), QStringList{"song.mp3"});
    EXPECT_EQ(test::EntriesOf(folder + "/.mirelune-probe-holdslink"),
              QStringList{".mirelune-probe-x"});
}

// A run killed mid-trial leaves only its probe folder; the next run that
// tries names there removes it once it is quiet past the limit.
TEST(NameProbe, AKilledTrialLeavesNoFileAtTheNameAndItsFolderGoesLater) {
    test::ScratchDir dir;
    const QString folder = Q(dir.path().string());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TargetNames names([](NameProbe& probe, const QString& name) {
            probe.setWhileMade([] { ::raise(SIGKILL); });
            return probe.tryName(name);
        });
        names.fit(folder, "Song", " (2).mp3");
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const QStringList left = test::EntriesOf(folder);
    ASSERT_EQ(left.size(), 1);
    ASSERT_TRUE(left[0].startsWith(".mirelune-probe-"));
    EXPECT_EQ(test::EntriesOf(folder + "/" + left[0]), QStringList{"x"});

    SetModified(folder + "/" + left[0], QDateTime::currentSecsSinceEpoch() - 2 * 3600);
    const auto inProbe = [](NameProbe& probe, const QString& name) { return probe.tryName(name); };
    EXPECT_EQ(TargetNames(inProbe).fit(folder, "Why?", ".mp3"), "Why?.mp3");
    EXPECT_EQ(test::EntriesOf(folder), QStringList());
}

}  // namespace
}  // namespace mirelune
