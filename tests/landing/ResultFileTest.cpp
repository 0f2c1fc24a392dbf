// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/DeadReservation.h"
#include "landing/LeftoverSweep.h"
#include "landing/ResultFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <functional>
#include <string>

#include "runs/RunMarkText.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::DeadPid;
using test::Q;

// FAT and exFAT drivers, phones and many shares: no swapping of names.
const PlacementCalls kNoExchange{[](const QByteArray&, const QByteArray&) { return EINVAL; }};

// Another writer's file takes the name between the last check and the swap.
bool raced = false;
const PlacementCalls kRacedExchange{[](const QByteArray& a, const QByteArray& b) {
    if (!raced) {
        raced = true;
        const QString theirs = QFile::decodeName(b) + ".theirs";
        test::WriteBytes(theirs, "theirs");
        ::rename(QFile::encodeName(theirs).constData(), b.constData());
    }
    return SystemPlacementCalls().exchange(a, b);
}};

// Calls that run before and after each step of the placement.
PlacementCalls Around(const PlacementCalls& base, const std::function<void()>& before,
                      const std::function<void()>& after) {
    PlacementCalls calls;
    const auto wrap = [before, after](auto call) {
        return [before, after, call](auto... args) {
            before();
            const auto answer = call(args...);
            after();
            return answer;
        };
    };
    calls.exchange = wrap(base.exchange);
    calls.open = wrap(base.open);
    calls.write = wrap(base.write);
    calls.fsync = wrap(base.fsync);
    calls.truncate = wrap(base.truncate);
    calls.mode = wrap(base.mode);
    calls.time = wrap(base.time);
    calls.rename = wrap(base.rename);
    return calls;
}

// A result as the encoder leaves it: a tag with the title first, then audio.
QByteArray TaggedMp3() {
    return QByteArray(
               "ID3\x03\x00\x00\x00\x00\x00\x0f"
               "TIT2\x00\x00\x00\x05\x00\x00\x00Song",
               25) +
           test::HandMadeMp3(5);
}

constexpr qint64 kResultTime = 1700000000000;

class ResultFileTest : public ::testing::Test {
  protected:
    test::ScratchDir dir;
    QString out = Q(dir.path().string());
    QString output = out + "/song.mp3";
};

TEST_F(ResultFileTest, AResultReachesItsNameAndNothingElseStaysWithOrWithoutExchange) {
    struct Case {
        const char* name;
        const PlacementCalls& calls;
        // What another writer does to the output name while the encoder runs.
        std::function<void(const QString&)> meanwhile;
        ResultFile::Acceptance acceptance;
        QByteArray atOutput;
    };
    const auto writeInto = [](const QString& path) { test::WriteBytes(path, "theirs"); };
    const auto replaceIt = [this](const QString& path) {
        test::WriteBytes(out + "/.theirs", "theirs");
        ASSERT_EQ(::rename(QFile::encodeName(out + "/.theirs"), QFile::encodeName(path)), 0);
    };
    const Case cases[] = {
        {"swap", SystemPlacementCalls(), nullptr, ResultFile::Acceptance::Placed,
         test::HandMadeMp3(5)},
        {"copy", kNoExchange, nullptr, ResultFile::Acceptance::Placed, test::HandMadeMp3(5)},
        {"swap, written into", SystemPlacementCalls(), writeInto, ResultFile::Acceptance::Exists,
         "theirs"},
        {"copy, written into", kNoExchange, writeInto, ResultFile::Acceptance::Exists, "theirs"},
        {"swap, replaced", SystemPlacementCalls(), replaceIt, ResultFile::Acceptance::Exists,
         "theirs"},
        {"copy, replaced", kNoExchange, replaceIt, ResultFile::Acceptance::Exists, "theirs"},
        {"swap, replaced at the last moment", kRacedExchange, nullptr,
         ResultFile::Acceptance::Exists, "theirs"},
    };
    const mode_t previousMask = ::umask(022);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(output);
        ResultFile result(output, c.calls);
        ASSERT_EQ(result.reserve(0664, Replace::No), ResultFile::Reservation::Ready);
        test::WriteBytes(result.temporaryPath(), test::HandMadeMp3(5));
        if (c.meanwhile) {
            c.meanwhile(output);
        }
        EXPECT_EQ(result.accept(), c.acceptance);
        EXPECT_EQ(test::ReadBytes(output), c.atOutput);
        EXPECT_EQ(test::EntriesOf(out), QStringList{"song.mp3"});
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(output).constData(), &status), 0);
        if (c.acceptance == ResultFile::Acceptance::Placed) {
            EXPECT_EQ(status.st_mode & 07777, 0644u);
        }
    }
    ::umask(previousMask);
}

TEST_F(ResultFileTest, ATakenNameIsFoundBeforeTheWorkAndAFailedJobLeavesNoReservation) {
    test::WriteBytes(output, "kept");
    {
        ResultFile taken(output);
        EXPECT_EQ(taken.reserve(0644, Replace::No), ResultFile::Reservation::Exists);
        EXPECT_EQ(taken.refusal(), QStringLiteral("exists"));
        EXPECT_TRUE(taken.temporaryPath().isEmpty());
    }
    QFile::remove(output);
    {
        ResultFile failed(output, kNoExchange);
        ASSERT_EQ(failed.reserve(0644, Replace::No), ResultFile::Reservation::Ready);
        EXPECT_TRUE(QFile::exists(output));  // held while the encoder works
        test::WriteBytes(failed.temporaryPath(), "not an MP3 stream");
        EXPECT_EQ(failed.accept(), ResultFile::Acceptance::Refused);
    }
    EXPECT_TRUE(test::EntriesOf(out).isEmpty());
}

TEST_F(ResultFileTest, WhatADeadRunLeftAtAnOutputNameIsKnownAndRemoved) {
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QDateTime twoDaysAgo = QDateTime::currentDateTime().addDays(-2);
    const struct {
        const char* name;
        QByteArray content;
        QDateTime touched;  // invalid: now
        bool dead;
    } cases[] = {
        {"this machine, process gone",
         "MIRELUNE-UNFINISHED\n" + host + "\n" + QByteArray::number(DeadPid()) + "\n",
         {},
         true},
        {"copied into, crashed before the first bytes",
         "MIRELUNE-UNFINISHED\n" + host + "\n" + QByteArray::number(DeadPid()) + "\n" +
             test::HandMadeMp3(3),
         {},
         true},
        {"this machine, still running",
         "MIRELUNE-UNFINISHED\n" + host + "\n" + QByteArray::number(::getpid()) + "\n",
         {},
         false},
        {"another machine, lately", "MIRELUNE-UNFINISHED\nelsewhere\n1\n", {}, false},
        {"another machine, two days ago", "MIRELUNE-UNFINISHED\nelsewhere\n1\n", twoDaysAgo, true},
        {"a user's file", "MIRELUNE is a name\n", twoDaysAgo, false},
        {"a finished result", test::HandMadeMp3(3), twoDaysAgo, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(output, c.content);
        if (c.touched.isValid()) {
            QFile file(output);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(c.touched, QFileDevice::FileModificationTime));
        }
        EXPECT_EQ(IsDeadReservation(output), c.dead);
        ResultFile result(output);
        EXPECT_EQ(result.reserve(0644, Replace::No),
                  c.dead ? ResultFile::Reservation::Ready : ResultFile::Reservation::Exists);
        result.discard();
        EXPECT_EQ(QFile::exists(output), !c.dead);
    }
}

// A kill after any step of the placement, then the same result again: the
// name ends up holding the whole result, its tag included, and nothing else
// the killed run made stays.
TEST_F(ResultFileTest, AKillAfterAnyStepLeavesWhatTheNextRunCompletes) {
    const struct {
        const char* name;
        const PlacementCalls& calls;
        QByteArray before;  // at the output name before the run; empty: nothing
    } cases[] = {
        {"swap", SystemPlacementCalls(), {}},
        {"copy", kNoExchange, {}},
        {"replacing a file", SystemPlacementCalls(), "theirs"},
    };
    const Replace replace = Replace::Yes;
    for (const auto& c : cases) {
        bool finished = false;
        for (int stopAfter = 0; !finished && stopAfter < 40; ++stopAfter) {
            SCOPED_TRACE(std::string(c.name) + ", killed after step " + std::to_string(stopAfter));
            const QString folder = out + "/" + c.name + "-" + QString::number(stopAfter);
            ASSERT_TRUE(QDir().mkpath(folder));
            const QString path = folder + "/song.mp3";
            if (!c.before.isEmpty()) {
                test::WriteBytes(path, c.before);
            }
            const pid_t child = ::fork();
            if (child == 0) {
                try {
                    int steps = 0;
                    const auto kill = [&steps, stopAfter] {
                        if (++steps == stopAfter) {
                            ::kill(::getpid(), SIGKILL);
                        }
                    };
                    const PlacementCalls calls = Around(
                        c.calls, [] {}, kill);
                    ResultFile result(path, calls);
                    if (result.reserve(0644, replace) != ResultFile::Reservation::Ready) {
                        ::_exit(2);
                    }
                    test::WriteBytes(result.temporaryPath(), TaggedMp3());
                    if (stopAfter == 0) {
                        ::kill(::getpid(), SIGKILL);
                    }
                    ::_exit(result.accept(kResultTime) == ResultFile::Acceptance::Placed ? 0 : 3);
                } catch (...) {
                    ::_exit(4);
                }
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            finished = WIFEXITED(status);
            if (finished) {
                ASSERT_EQ(WEXITSTATUS(status), 0);
            } else {
                ASSERT_EQ(WTERMSIG(status), SIGKILL);
            }
            ResultFile again(path);
            const ResultFile::Reservation reservation = again.reserve(0644, replace);
            if (reservation == ResultFile::Reservation::Ready) {
                test::WriteBytes(again.temporaryPath(), TaggedMp3());
                EXPECT_EQ(again.accept(kResultTime), ResultFile::Acceptance::Placed);
            }
            EXPECT_EQ(test::ReadBytes(path), TaggedMp3());
            EXPECT_EQ(test::EntriesOf(folder), QStringList{"song.mp3"});
        }
        EXPECT_TRUE(finished) << c.name;
    }
}

// Another writer in the folder puts a link (or a second name) to a file the
// run must never touch where the run's temporary file or its output name
// was, just before any step of the placement: that file keeps its bytes,
// mode and time, and no such link passes for a placed result.
TEST_F(ResultFileTest, ALinkSwappedInBetweenAnyTwoStepsChangesNothingOfAnyoneElse) {
    const QString secret = Q(dir.file("secret"));
    const QByteArray secretBytes = TaggedMp3() + "private";
    constexpr qint64 kSecretTime = 1600000000000;
    const struct {
        const char* name;
        const PlacementCalls& calls;
        Replace replace;
    } placements[] = {
        {"swap", SystemPlacementCalls(), Replace::No},
        {"copy", kNoExchange, Replace::No},
        {"replacing a file", SystemPlacementCalls(), Replace::Yes},
    };
    enum class Swapped { TemporaryBySymlink, TemporaryByHardLink, OutputBySymlink };
    const struct {
        const char* name;
        Swapped swapped;
    } swaps[] = {
        {"temporary, symbolic link", Swapped::TemporaryBySymlink},
        {"temporary, hard link", Swapped::TemporaryByHardLink},
        {"output name, symbolic link", Swapped::OutputBySymlink},
    };
    for (const auto& p : placements) {
        for (const auto& w : swaps) {
            bool stepsLeft = true;
            for (int swapBefore = 1; stepsLeft && swapBefore < 40; ++swapBefore) {
                SCOPED_TRACE(std::string(p.name) + ", " + w.name + ", before step " +
                             std::to_string(swapBefore));
                test::WriteBytes(secret, secretBytes);
                ASSERT_EQ(::chmod(QFile::encodeName(secret).constData(), 0600), 0);
                ASSERT_TRUE(SetModifiedTime(secret, kSecretTime));
                const QString folder =
                    out + "/" + p.name + "-" + w.name + "-" + QString::number(swapBefore);
                ASSERT_TRUE(QDir().mkpath(folder));
                const QString path = folder + "/song.mp3";
                if (p.replace == Replace::Yes) {
                    test::WriteBytes(path, "theirs");
                }
                QString temporary;
                int steps = 0;
                ResultFile::Acceptance acceptance = ResultFile::Acceptance::Refused;
                const auto swapIn = [&] {
                    if (++steps != swapBefore) {
                        return;
                    }
                    const QString target = w.swapped == Swapped::OutputBySymlink ? path : temporary;
                    const QByteArray link = QFile::encodeName(folder + "/.link");
                    if (w.swapped == Swapped::TemporaryByHardLink) {
                        ASSERT_EQ(::link(QFile::encodeName(secret).constData(), link.constData()),
                                  0);
                    } else {
                        ASSERT_EQ(
                            ::symlink(QFile::encodeName(secret).constData(), link.constData()), 0);
                    }
                    ASSERT_EQ(::rename(link.constData(), QFile::encodeName(target).constData()), 0);
                };
                {
                    const PlacementCalls calls = Around(p.calls, swapIn, [] {});
                    ResultFile result(path, calls);
                    ASSERT_EQ(result.reserve(0644, p.replace), ResultFile::Reservation::Ready);
                    temporary = result.temporaryPath();
                    test::WriteBytes(temporary, TaggedMp3());
                    acceptance = result.accept(kResultTime);
                }
                stepsLeft = steps >= swapBefore;
                EXPECT_EQ(test::ReadBytes(secret), secretBytes);
                struct stat status {};
                ASSERT_EQ(::stat(QFile::encodeName(secret).constData(), &status), 0);
                EXPECT_EQ(status.st_mode & 07777, 0600u);
                EXPECT_EQ(status.st_mtim.tv_sec, kSecretTime / 1000);
                // Anyone who writes in the folder may put a link at any name
                // there, the output's too once the result is placed; but a
                // result said to be placed went nowhere else.
                if (acceptance == ResultFile::Acceptance::Placed &&
                    w.swapped != Swapped::OutputBySymlink) {
                    EXPECT_FALSE(QFileInfo(path).isSymLink());
                    EXPECT_EQ(test::ReadBytes(path), TaggedMp3());
                }
            }
            EXPECT_FALSE(stepsLeft) << "every step was tried";
        }
    }
}

// A run that gives up removes at its temporary name only the file its
// encoder left there: what someone else put at the name, a link or another
// user's file, stays, and so does what a link points to.
TEST_F(ResultFileTest, AFailedRunRemovesAtItsTemporaryNameOnlyAFileOfItsOwn) {
    const QString victim = out + "/victim";
    test::WriteBytes(victim, "root only");
    ASSERT_EQ(::chmod(QFile::encodeName(victim).constData(), 0400), 0);
    const uid_t stranger = 65534;
    enum Put { OwnFile, Link, StrangersFile };
    const struct {
        const char* name;
        Put put;
        bool stays;
    } cases[] = {
        {"the encoder's file", OwnFile, false},
        {"a link", Link, true},
        {"another user's file", StrangersFile, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResultFile result(output);
        ASSERT_EQ(result.reserve(0644, Replace::No), ResultFile::Reservation::Ready);
        const QString temporary = result.temporaryPath();
        const QByteArray native = QFile::encodeName(temporary);
        ASSERT_EQ(::unlink(native.constData()), 0);
        if (c.put == Link) {
            ASSERT_TRUE(QFile::link(victim, temporary));
        } else {
            test::WriteBytes(temporary, "put there");
            if (c.put == StrangersFile) {
                ASSERT_EQ(::lchown(native.constData(), stranger, stranger), 0);
            }
        }
        result.discard();
        EXPECT_EQ(QFileInfo(temporary).exists() || QFileInfo(temporary).isSymLink(), c.stays);
        EXPECT_EQ(test::ReadBytes(victim), "root only");
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(victim).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0400u);
        QFile::remove(temporary);
    }
}

// A run killed between making the output name and writing its mark there
// (or anywhere in the copy of a result into it) leaves the name announced in
// its run mark: the next run takes the name. What no dead run announced stays.
TEST_F(ResultFileTest, WhatARunKilledAtAnyMomentLeftAtAnAnnouncedNameIsMadeAgain) {
    RunOwner dead = OwnerOfThisProcess();
    dead.pid = DeadPid();
    const QByteArray held = "MIRELUNE-UNFINISHED\n" + dead.lines() + "k3x\n";
    const struct {
        const char* name;
        QByteArray content;
        bool announced;
        ResultFile::Reservation reservation;
    } cases[] = {
        {"killed before the mark.mp3", "", true, ResultFile::Reservation::Ready},
        {"killed in the mark.mp3", held.left(30), true, ResultFile::Reservation::Ready},
        {"killed before the first bytes.mp3", held + test::HandMadeMp3(40).mid(held.size()), true,
         ResultFile::Reservation::Ready},
        {"a user's empty file.mp3", "", false, ResultFile::Reservation::Exists},
        {"a result.mp3", test::HandMadeMp3(3), true, ResultFile::Reservation::Exists},
    };
    // The folder's first hold sweeps it; what comes after is the reservation's.
    { const RunMarkHold first(out, SweepResultFolder); }
    QByteArray mark = RunMarkText::header(dead);
    for (const auto& c : cases) {
        test::WriteBytes(out + '/' + c.name, c.content);
        if (c.announced) {
            mark += RunMarkText::announcement(c.name);
        }
    }
    ASSERT_TRUE(QDir().mkpath(RunFolderIn(out)));
    test::WriteBytes(RunMarkPath(out, "deadrun0"), mark);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = out + '/' + c.name;
        const bool free = c.reservation == ResultFile::Reservation::Ready;
        EXPECT_EQ(IsDeadReservation(path), free);
        ResultFile result(path, kNoExchange);
        ASSERT_EQ(result.reserve(0644, Replace::No), c.reservation);
        if (free) {
            test::WriteBytes(result.temporaryPath(), test::HandMadeMp3(5));
            EXPECT_EQ(result.accept(), ResultFile::Acceptance::Placed);
        }
        EXPECT_EQ(test::ReadBytes(path), free ? test::HandMadeMp3(5) : c.content);
    }
}

// Until a result is in place the run's mark lists the names the run makes
// for it, and only those: a file it did not make is never its leftover.
TEST_F(ResultFileTest, TheRunsMarkListsTheNamesItMakesUntilTheResultIsIn) {
    test::WriteBytes(out + "/theirs.mp3", "");
    const auto announced = [&] {
        return RunMarkText::parse(test::ReadBytes(RunMarkPath(out, RunTag()))).announced;
    };
    const auto nameOf = [](const QString& path) {
        return QFile::encodeName(QFileInfo(path).fileName());
    };
    ResultFile ours(output, kNoExchange);
    ASSERT_EQ(ours.reserve(0644, Replace::No), ResultFile::Reservation::Ready);
    ResultFile replacing(out + "/theirs.mp3", kNoExchange);
    ASSERT_EQ(replacing.reserve(0644, Replace::Yes), ResultFile::Reservation::Ready);
    EXPECT_EQ(announced(), QList<QByteArray>({nameOf(ours.temporaryPath()), "song.mp3",
                                              nameOf(replacing.temporaryPath())}));
    test::WriteBytes(ours.temporaryPath(), test::HandMadeMp3(5));
    EXPECT_EQ(ours.accept(), ResultFile::Acceptance::Placed);
    EXPECT_EQ(announced(), QList<QByteArray>({nameOf(replacing.temporaryPath())}));
}

}  // namespace
}  // namespace mirelune
