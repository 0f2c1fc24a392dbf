// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderCopy.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "landing/DeleteFileQuietly.h"
#include "shell/Failure.h"
#include "support/ReduceTestSupport.h"
#include "support/TmpfsMount.h"

namespace mirelune {
namespace {

using test::Q;

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                                QFileDevice::WriteUser | QFileDevice::ExeUser;

TEST(EncoderCopy, LivesInAnOwnerOnlyFolderInsideTemp) {
    test::ScratchDir temp;
    const test::ScopedEnv env("TEMP", QByteArray(temp.path().string().c_str()) + "/");
    const QByteArray bytes = QByteArrayLiteral("#!/bin/sh\nexit 0\n");
    QString folder;
    {
        EncoderCopy copy(bytes);
        folder = copy.folder();
        const QFileInfo program(copy.path());
        EXPECT_EQ(program.fileName(), EncoderFileName());
        EXPECT_EQ(program.absolutePath(), QFileInfo(folder).absoluteFilePath());
        EXPECT_EQ(QFileInfo(folder).absolutePath(),
                  QFileInfo(Q(temp.path().string())).absoluteFilePath());
        EXPECT_EQ(QFileInfo(folder).permissions(), kOwnerOnly);
        EXPECT_EQ(program.permissions(), kOwnerOnly);
        EXPECT_EQ(test::ReadBytes(copy.path()), bytes);
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(test::EntriesOf(Q(temp.path().string())).isEmpty());
}

TEST(EncoderCopy, NeverUsesAFileAlreadyAtAPredictablePath) {
    test::ScratchDir temp;
    const test::ScopedEnv env("TEMP", QByteArray(temp.path().string().c_str()));
    const QString planted = Q(temp.file("lame"));
    test::WriteBytes(planted, QByteArrayLiteral("planted"));
    {
        EncoderCopy first(QByteArrayLiteral("ours"));
        EncoderCopy second(QByteArrayLiteral("ours too"));
        EXPECT_NE(first.path(), planted);
        EXPECT_NE(first.folder(), second.folder());
        EXPECT_EQ(test::ReadBytes(first.path()), QByteArrayLiteral("ours"));
    }
    // Not ours, so not removed either.
    EXPECT_EQ(test::EntriesOf(Q(temp.path().string())), QStringList{QStringLiteral("lame")});
    EXPECT_EQ(test::ReadBytes(planted), QByteArrayLiteral("planted"));
}

TEST(EncoderCopy, FallsBackToTheSystemTemporaryFolder) {
    for (const QByteArray& value : {QByteArray(), QByteArray("")}) {
        const test::ScopedEnv env("TEMP", value);
        if (value.isNull()) {
            qunsetenv("TEMP");
        }
        EncoderCopy copy(QByteArrayLiteral("x"));
        EXPECT_EQ(QFileInfo(copy.folder()).absolutePath(),
                  QFileInfo(QDir::tempPath()).absoluteFilePath());
    }
}

TEST(EncoderCopy, MovesOnWhereTheTemporaryFolderDoesNotLetProgramsRun) {
    test::ScratchDir dir;
    const QString noexec = Q(dir.file("noexec"));
    const test::TmpfsMount mount(noexec, MS_NOEXEC | MS_NOSUID | MS_NODEV);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.why();
    }
    const QString runtime = Q(dir.file("runtime"));
    const QString cache = Q(dir.file("cache"));
    const QString refusingRuntime = noexec + QStringLiteral("/runtime");
    const QString refusingCache = noexec + QStringLiteral("/cache");
    for (const QString& folder : {runtime, cache, refusingRuntime, refusingCache}) {
        ASSERT_TRUE(QDir().mkpath(folder));
    }
    struct Case {
        const char* name;
        QString runtime;   // XDG_RUNTIME_DIR; empty: unset
        QString cache;     // XDG_CACHE_HOME
        QString expected;  // where the private folder goes; empty: nowhere
    };
    const Case cases[] = {
        {"the runtime folder", runtime, cache, runtime},
        {"no runtime folder: the cache", QString(), cache, cache + QStringLiteral("/mirelune")},
        {"the runtime folder refuses too: the cache", refusingRuntime, cache,
         cache + QStringLiteral("/mirelune")},
        {"nowhere", refusingRuntime, refusingCache, QString()},
    };
    const test::ScopedEnv temp("TEMP", QFile::encodeName(noexec));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::ScopedEnv runtimeEnv("XDG_RUNTIME_DIR", QFile::encodeName(c.runtime));
        if (c.runtime.isEmpty()) {
            qunsetenv("XDG_RUNTIME_DIR");
        }
        const test::ScopedEnv cacheEnv("XDG_CACHE_HOME", QFile::encodeName(c.cache));
        const QByteArray bytes = test::StandIn(QStringLiteral("exit 3"));
        if (c.expected.isEmpty()) {
            EXPECT_THROW(EncoderCopy{bytes}, Failure);
        } else {
            EncoderCopy copy(bytes);
            EXPECT_EQ(QFileInfo(copy.folder()).absolutePath(), c.expected);
            EXPECT_EQ(QFileInfo(copy.folder()).permissions(), kOwnerOnly);
            QProcess run;
            run.start(copy.path(), {QStringLiteral("--version")});
            EXPECT_TRUE(run.waitForFinished());
            EXPECT_EQ(run.exitCode(), 0);
        }
        // Whatever was tried and refused is gone again.
        for (const QString& folder :
             {noexec, runtime, cache + QStringLiteral("/mirelune"), refusingRuntime,
              refusingCache + QStringLiteral("/mirelune")}) {
            const QStringList left = test::EntriesOf(folder);
            EXPECT_TRUE(left.isEmpty() || left == QStringList({"cache", "runtime"}))
                << folder.toStdString() << ": " << left.join(QLatin1Char(' ')).toStdString();
        }
    }
}

TEST(EncoderCopy, ReportsATempFolderThatCannotBeUsed) {
    test::ScratchDir temp;
    const QString notAFolder = Q(temp.file("file"));
    test::WriteBytes(notAFolder, "x");
    const test::ScopedEnv env("TEMP", notAFolder.toLocal8Bit());
    EXPECT_THROW(EncoderCopy(QByteArrayLiteral("x")), Failure);
}

TEST(EncoderCopy, RemoveIsQuietAndCanBeRepeated) {
    test::ScratchDir temp;
    const test::ScopedEnv env("TEMP", QByteArray(temp.path().string().c_str()));
    EncoderCopy copy(QByteArrayLiteral("x"));
    copy.remove();
    EXPECT_TRUE(copy.path().isEmpty());
    copy.remove();
    EXPECT_TRUE(test::EntriesOf(Q(temp.path().string())).isEmpty());
}

TEST(EncoderCopy, ARelativeTempGivesAnAbsoluteProgramPath) {
    test::ScratchDir temp;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(Q(temp.path().string())));
    {
        const test::ScopedEnv env("TEMP", "relative");
        QDir().mkpath(QStringLiteral("relative"));
        EncoderCopy copy(QByteArrayLiteral("x"));
        EXPECT_TRUE(QFileInfo(copy.path()).isAbsolute());
        EXPECT_TRUE(QFileInfo::exists(copy.path()));
    }
    QDir::setCurrent(before);
}

TEST(DeleteFileQuietly, RemovesWhatItCanAndNeverReports) {
    test::ScratchDir dir;
    const QString readOnly = Q(dir.file("read-only"));
    test::WriteBytes(readOnly, "x");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    const QString folder = Q(dir.file("folder"));
    QDir().mkpath(folder);
    for (const QString& path : {readOnly, folder, Q(dir.file("missing")), QString()}) {
        DeleteFileQuietly(path);
    }
    EXPECT_EQ(test::EntriesOf(Q(dir.path().string())), QStringList{QStringLiteral("folder")});
}

}  // namespace
}  // namespace mirelune
