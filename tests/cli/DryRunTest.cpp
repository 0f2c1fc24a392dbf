// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of a dry run and of JSON paths that need no program run.
#include "cli/DryRun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QJsonObject>
#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include "cli/PathJson.h"
#include "reduce/ReductionOutcome.h"
#include "shell/NameText.h"
#include "support/ReduceTestSupport.h"
#include "support/ScratchDir.h"
#include "support/TmpfsMount.h"

namespace mirelune::cli {
namespace {

// The second field appears only for a name that is not UTF-8, so a real
// file whose name holds "\xE9" or U+FFFD as text is never taken for one.
TEST(PathJson, GivesTheBytesOnlyOfNamesThatAreNotUtf8) {
    const struct {
        QByteArray raw;
        QJsonObject json;
        const char* infoJson;
    } cases[] = {
        {"/m/caf\xE9.mp3",
         {{"source", "/m/caf\xEF\xBF\xBD.mp3"}, {"source_base64", "L20vY2Fm6S5tcDM="}},
         R"("source":"/m/caf)"
         "\xEF\xBF\xBD"
         R"(.mp3","source_base64":"L20vY2Fm6S5tcDM=")"},
        {"/m/caf\\xE9.mp3", {{"source", "/m/caf\\xE9.mp3"}}, R"("source":"/m/caf\\xE9.mp3")"},
        {"/m/caf\xEF\xBF\xBD.mp3",
         {{"source", "/m/caf\xEF\xBF\xBD.mp3"}},
         R"("source":"/m/caf)"
         "\xEF\xBF\xBD"
         R"(.mp3")"},
        {"", {{"source", QJsonValue::Null}}, R"("source":"")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw.toStdString());
        QJsonObject object;
        InsertPath(object, QStringLiteral("source"), EscapedNativeName(c.raw));
        EXPECT_EQ(object, c.json);
        std::string out;
        AppendPathJson(out, "source", c.raw.toStdString());
        EXPECT_EQ(out, c.infoJson);
    }
}

// A folder that takes no file fails its rows as the run would; a folder still
// to be made is tried where it would be made, and each folder once.
TEST(DryRun, RowsInAFolderThatTakesNoFileFail) {
    test::ScratchDir dir;
    const QString root = QString::fromStdString(dir.path().string());
    const QString locked = root + "/locked";
    const QString held = root + "/held";
    ASSERT_TRUE(QDir().mkpath(locked) && QDir().mkpath(held));
    std::vector<QString> tried;
    const auto trial = [&](const QString& path) {
        tried.push_back(QDir(root).relativeFilePath(path));
        return path.startsWith(locked) ? EROFS : 0;
    };
    Plan plan;
    plan.reductions = {{"/in/a.mp3", locked + "/a.mp3"},
                       {"/in/e.mp3", root + "/new/sub/e.mp3"},
                       {"/in/b.mp3", root + "/b.mp3"},
                       {"/in/c.mp3", locked + "/c.mp3"},
                       {"/in/d.mp3", held + "/d.mp3"}};
    plan.failed = {{"/in/f.mp3", "no such file or folder"}};
    FailUnwritable(plan, trial);

    std::vector<QString> kept;
    for (const PlannedReduction& r : plan.reductions) {
        kept.push_back(r.source);
    }
    EXPECT_EQ(kept, (std::vector<QString>{"/in/e.mp3", "/in/b.mp3", "/in/d.mp3"}));
    ASSERT_EQ(plan.failed.size(), 3u);
    EXPECT_EQ(plan.failed[1].path, "/in/a.mp3");
    EXPECT_EQ(plan.failed[1].text, reason::CannotWriteIn(locked + "/", EROFS));
    EXPECT_EQ(plan.failed[1].output, locked + "/a.mp3");
    EXPECT_EQ(plan.failed[2].path, "/in/c.mp3");
    EXPECT_EQ(tried, (std::vector<QString>{"locked", ".", "held"}));
}

// Nothing is made to find out: a read-only mount fails its rows even for
// root, whom no permission keeps out; for anyone else a folder they may not
// write in does.
TEST(DryRun, RowsInAReadOnlyFolderFailWithoutAWrite) {
    test::ScratchDir dir;
    const QString root = QString::fromStdString(dir.path().string());
    const QString open = root + "/open";
    const QString locked = root + "/locked";
    ASSERT_TRUE(QDir().mkpath(open) && QDir().mkpath(locked));
    std::optional<test::TmpfsMount> mount;
    int refusal = EACCES;
    if (::geteuid() == 0) {
        mount.emplace(locked, MS_RDONLY);
        ASSERT_TRUE(mount->mounted()) << mount->why();
        refusal = EROFS;
    } else {
        ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    }
    Plan plan;
    plan.reductions = {{"/in/a.mp3", locked + "/a.mp3"},
                       {"/in/b.mp3", locked + "/new/b.mp3"},
                       {"/in/c.mp3", open + "/c.mp3"}};
    FailUnwritable(plan);

    ASSERT_EQ(plan.reductions.size(), 1u);
    EXPECT_EQ(plan.reductions[0].source, "/in/c.mp3");
    ASSERT_EQ(plan.failed.size(), 2u);
    EXPECT_EQ(plan.failed[0].path, "/in/a.mp3");
    EXPECT_EQ(plan.failed[0].text, reason::CannotWriteIn(locked + "/", refusal));
    EXPECT_EQ(plan.failed[1].path, "/in/b.mp3");
    EXPECT_EQ(plan.failed[1].text, reason::CannotWriteIn(locked + "/new/", refusal));
    EXPECT_EQ(test::EntriesOf(open), QStringList());
    EXPECT_EQ(test::EntriesOf(locked), QStringList());
}

// Root passes every permission test but the one for writing in a folder
// marked immutable, where the run could make nothing either.
TEST(DryRun, RowsInAnImmutableFolderFailEvenForRoot) {
    test::ScratchDir dir;
    const QString folder = QString::fromStdString(dir.path().string()) + "/fixed";
    ASSERT_TRUE(QDir().mkpath(folder));
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 ||
        ::ioctl(fd, FS_IOC_SETFLAGS, &(flags |= FS_IMMUTABLE_FL)) != 0) {
        ::close(fd);
        GTEST_SKIP() << "marking a folder immutable needs root and a file system that keeps it";
    }
    Plan plan;
    plan.reductions = {{"/in/a.mp3", folder + "/a.mp3"}};
    FailUnwritable(plan);
    flags &= ~FS_IMMUTABLE_FL;
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    ::close(fd);

    EXPECT_TRUE(plan.reductions.empty());
    ASSERT_EQ(plan.failed.size(), 1u);
    EXPECT_EQ(plan.failed[0].text, reason::CannotWriteIn(folder + "/", EPERM));
}

}  // namespace
}  // namespace mirelune::cli
