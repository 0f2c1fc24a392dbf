// SPDX-License-Identifier: GPL-3.0-or-later
// Whose a mark is, and whether its run can still be going: on this machine,
// another one, a clone, another boot or pid namespace, with skewed clocks.
#include "runs/RunLiveness.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QMap>

#include "runs/RunMarkText.h"

namespace mirelune {
namespace {

const QDateTime kNow = QDateTime::fromSecsSinceEpoch(1'800'000'000);
const QDateTime kBoot = kNow.addSecs(-3600);
constexpr qint64 kHour = 60 * 60;
constexpr qint64 kDay = 24 * kHour;

// A machine "m1" in boot "b1", pid namespace 7, that has booted an hour ago.
class FakeFacts final : public MachineFacts {
  public:
    QByteArray machine = "m1";
    QMap<qint64, ProcessSeen> processes{{100, {ProcessSeen::State::Running, 5000}}};

    QByteArray machineId() const override { return machine; }
    QByteArray bootId() const override { return "b1"; }
    quint64 pidNamespace() const override { return 7; }
    QByteArray hostName() const override { return "here"; }
    qint64 pid() const override { return 100; }
    ProcessSeen process(qint64 pid) const override { return processes.value(pid); }
    QDateTime bootTime() const override { return kBoot; }
};

RunOwner Owner(const QByteArray& machine, const QByteArray& boot, quint64 pidNamespace, qint64 pid,
               quint64 start, const QByteArray& host = "here") {
    RunOwner owner;
    owner.machineId = machine;
    owner.bootId = boot;
    owner.pidNamespace = pidNamespace;
    owner.startTime = start;
    owner.hostName = host;
    owner.pid = pid;
    return owner;
}

RunOwner HostAndPid(const QByteArray& host, qint64 pid) {
    RunOwner owner;
    owner.hostName = host;
    owner.pid = pid;
    owner.hostAndPidOnly = true;
    return owner;
}

TEST(RunOwner, ReadsBackWhatItWritesAndRefusesWhatIsNoOwner) {
    const struct {
        const char* name;
        QByteArray first;
        QByteArray second;
        std::optional<RunOwner> owner;
    } cases[] = {
        {"every fact", "id 0a1b 9f-3c 4026531836 123456 box", "4711",
         Owner("0a1b", "9f-3c", 4026531836ULL, 4711, 123456, "box")},
        {"unknown facts", "id - - 0 0 box", "4711", Owner("", "", 0, 4711, 0, "box")},
        {"a host name with blanks", "id m b 1 2 my  box", "3", Owner("m", "b", 1, 3, 2, "my  box")},
        {"an empty host name", "id m b 1 2 ", "3", Owner("m", "b", 1, 3, 2, "")},
        {"cut short", "id m b 1 2", "3", std::nullopt},
        {"a namespace that is no number", "id m b x 2 box", "3", std::nullopt},
        {"a start time that is no number", "id m b 1 -2 box", "3", std::nullopt},
        {"an empty machine word", "id  b 1 2 box", "3", std::nullopt},
        {"a pid that is no number", "id m b 1 2 box", "x", Owner("m", "b", 1, 0, 2, "box")},
        {"a pid below one", "id m b 1 2 box", "-5", Owner("m", "b", 1, 0, 2, "box")},
        {"host and pid", "box", "42", HostAndPid("box", 42)},
        {"host named like the word", "identity", "42", HostAndPid("identity", 42)},
        {"no first line", "", "42", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<RunOwner> parsed = RunOwner::parse(c.first, c.second);
        ASSERT_EQ(parsed.has_value(), c.owner.has_value());
        if (c.owner) {
            EXPECT_EQ(*parsed, *c.owner);
            const QList<QByteArray> lines = parsed->lines().split('\n');
            ASSERT_EQ(lines.size(), 3);
            EXPECT_EQ(RunOwner::parse(lines[0], lines[1]), c.owner);
        }
    }
    EXPECT_EQ(Owner("m", "", 1, 3, 2, "box").lines(), "id m - 1 2 box\n3\n");
    EXPECT_EQ(HostAndPid("box", 42).lines(), "box\n42\n");
}

TEST(RunMarkText, ReadsTheOwnerAndOnlyWholeAnnouncedNames) {
    const QByteArray header = "MIRELUNE-RUN\nid m b 1 2 box\n3\n";
    const QByteArray song = RunMarkText::announcement("song.mp3");
    const QByteArray odd = RunMarkText::announcement("a +b\n%c.mp3");
    EXPECT_EQ(song, "+song.mp3 " + song.mid(10, 8) + "\n");
    const struct {
        const char* name;
        QByteArray bytes;
        bool owner;
        QList<QByteArray> announced;
    } cases[] = {
        {"header alone", header, true, {}},
        {"names", header + song + odd, true, {"song.mp3", "a +b\n%c.mp3"}},
        {"the last line cut short", header + song + odd.chopped(1), true, {"song.mp3"}},
        {"a line ran into by a rewrite", header + song.mid(3) + odd, true, {"a +b\n%c.mp3"}},
        {"a name that is not its check's", header + "+other.mp3" + song.mid(9), true, {}},
        {"no check", header + "+song.mp3\n", true, {}},
        {"host and pid", "MIRELUNE-RUN\nbox\n3\n", true, {}},
        {"owner cut short", "MIRELUNE-RUN\nid m b 1 2 box\n3", false, {}},
        {"not a mark", "MIRELUNE-RAN\nbox\n3\n", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RunMarkText mark = RunMarkText::parse(c.bytes);
        EXPECT_EQ(mark.owner.has_value(), c.owner);
        EXPECT_EQ(mark.announced, c.announced);
    }
    EXPECT_EQ(RunMarkText::header(Owner("m", "b", 1, 3, 2, "box")), header);
}

TEST(OwnerIsDead, ByMachineBootNamespaceProcessAndTheTargetsClock) {
    FakeFacts facts;
    facts.processes[200] = {ProcessSeen::State::Zombie, 6000};
    facts.processes[300] = {ProcessSeen::State::Hidden, 0};
    const TargetClock local{kNow, 0};
    const struct {
        const char* name;
        RunOwner owner;
        qint64 touchedAgo;  // seconds before the clock's now; negative: after it
        TargetClock clock;
        bool dead;
    } cases[] = {
        {"this process", Owner("m1", "b1", 7, 100, 5000), 0, local, false},
        {"this process, quiet for days", Owner("m1", "b1", 7, 100, 5000), 9 * kDay, local, false},
        {"its pid, another start time", Owner("m1", "b1", 7, 100, 4999), 0, local, true},
        {"its pid, start time unknown", Owner("m1", "b1", 7, 100, 0), 0, local, false},
        {"a zombie", Owner("m1", "b1", 7, 200, 6000), 0, local, true},
        {"gone", Owner("m1", "b1", 7, 400, 6000), 0, local, true},
        {"hidden from /proc, there", Owner("m1", "b1", 7, 300, 1), 0, local, false},
        {"no pid", Owner("m1", "b1", 7, 0, 1), 0, local, false},
        {"another namespace, lately", Owner("m1", "b1", 8, 400, 1), kDay - 60, local, false},
        {"another namespace, a day ago", Owner("m1", "b1", 8, 400, 1), kDay + 60, local, true},
        {"namespace unknown", Owner("m1", "b1", 0, 400, 1), kDay - 60, local, false},
        {"an earlier boot", Owner("m1", "b0", 7, 100, 5000), kHour + 60, local, true},
        {"an earlier boot, another namespace", Owner("m1", "b0", 8, 100, 5000), kHour + 60, local,
         false},
        {"a clone, lately", Owner("m1", "b0", 7, 400, 1), kHour - 60, local, false},
        {"a clone, a day ago", Owner("m1", "b0", 7, 400, 1), kDay + 60, local, true},
        {"an earlier boot, the target's clock a day ahead", Owner("m1", "b0", 7, 100, 5000),
         kHour + 60, TargetClock{kNow.addSecs(kDay), kDay * 1000}, true},
        {"since this boot, the target's clock a day ahead", Owner("m1", "b0", 7, 100, 5000),
         kHour - 60, TargetClock{kNow.addSecs(kDay), kDay * 1000}, false},
        {"boot unknown", Owner("m1", "", 7, 400, 1), kDay - 60, local, false},
        {"another machine, lately", Owner("m2", "b1", 7, 400, 1), kDay - 60, local, false},
        {"another machine, a day ago", Owner("m2", "b1", 7, 100, 5000), kDay + 60, local, true},
        {"another machine, hours ahead", Owner("m2", "b1", 7, 100, 1), -(kDay - 60), local, false},
        {"another machine, days ahead", Owner("m2", "b1", 7, 100, 1), -(2 * kDay), local, true},
        {"no machine id, this host", Owner("", "b1", 7, 400, 1), 0, local, false},
        {"host and pid, this host, gone", HostAndPid("here", 400), 0, local, true},
        {"host and pid, this host, a zombie", HostAndPid("here", 200), 0, local, true},
        {"host and pid, this host, there", HostAndPid("here", 100), 9 * kDay, local, false},
        {"host and pid, no pid", HostAndPid("here", 0), 0, local, false},
        {"host and pid, another host, lately", HostAndPid("there", 400), kDay - 60, local, false},
        {"host and pid, another host, a day ago", HostAndPid("there", 400), kDay + 60, local, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OwnerIsDead(c.owner, c.clock.now.addSecs(-c.touchedAgo), c.clock, facts), c.dead);
    }
    // Without a machine id the host name stands in for it.
    facts.machine.clear();
    EXPECT_TRUE(OwnerIsDead(Owner("", "b1", 7, 400, 1), kNow, local, facts));
    EXPECT_FALSE(OwnerIsDead(Owner("", "b1", 7, 400, 1, "there"), kNow, local, facts));
}

// A CLI killed outright whose parent has not reaped it yet holds nothing.
TEST(OwnerIsDead, AKilledChildNotYetReapedIsDead) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    const ProcessSeen running = SystemFacts().process(child);
    ASSERT_EQ(running.state, ProcessSeen::State::Running);
    RunOwner owner = OwnerOfThisProcess();
    owner.pid = child;
    owner.startTime = running.startTime;
    const TargetClock clock = TargetClock::Local();
    EXPECT_FALSE(OwnerIsDead(owner, clock.now, clock));

    ASSERT_EQ(::kill(child, SIGKILL), 0);
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
    EXPECT_EQ(SystemFacts().process(child).state, ProcessSeen::State::Zombie);
    EXPECT_TRUE(OwnerIsDead(owner, clock.now, clock));
    ::waitpid(child, nullptr, 0);
}

TEST(StatField, CountsFieldsAfterTheLastParenthesis) {
    const QByteArray line =
        "4711 (a) b (c) d) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 98765 19";
    EXPECT_EQ(StatField(line, 3), "S");
    EXPECT_EQ(StatField(line, 22), "98765");
    EXPECT_EQ(StatField(line, 40), "");
    EXPECT_EQ(StatField("no parenthesis S 1", 3), "");
}

}  // namespace
}  // namespace mirelune
