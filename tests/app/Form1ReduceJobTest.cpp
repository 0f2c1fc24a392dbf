// SPDX-License-Identifier: GPL-3.0-or-later
// "Start Reducing" through the real window: the job reads the window's rows,
// options, bar and pointer, and the window stops it when it closes.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <memory>
#include <set>
#include <utility>

#include "app/CloseOnSignal.h"
#include "app/ListGestures.h"
#include "app/WindowTestSupport.h"
#include "mp3/MP3Info.h"
#include "reduce/DoneMessage.h"
#include "reduce/EncoderResource.h"
#include "reduce/ReductionOutcome.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Box;
using test::Plain;
using test::Q;

QStringList Paths(const std::vector<FileEntry>& entries) {
    QStringList paths;
    for (const FileEntry& entry : entries) {
        paths.append(entry.path);
    }
    return paths;
}

class Form1JobTest : public test::WindowTest, protected test::ListGestures {
  protected:
    void SetUp() override {
        temp = folder("temp");
        music = folder("music");
        out = folder("out");
        tempEnv = std::make_unique<test::ScopedEnv>("TEMP", temp.toLocal8Bit());
        start();
        form().show();
        attach(control<QTreeView>("ListView1"));
        control<QLineEdit>("Text1")->setText(out);
    }

    void useEncoder(const QString& body) {
        standIn.reset();  // overrides end in the reverse order of their start
        standIn = std::make_unique<EncoderBytesOverride>(test::StandIn(body));
    }
    // Logs each source it is run on, then copies it as the result.
    void useCopyingEncoder() {
        useEncoder(QStringLiteral("printf '%s\\n' \"$6\" >> ") + test::ShellQuoted(marker("runs")) +
                   QStringLiteral("; cp \"$6\" \"$7\""));
    }
    // Marks "started", takes about 30 s, then copies and marks "ended".
    void useSlowEncoder() {
        useEncoder(
            QStringLiteral("touch %1; i=0; while [ $i -lt 3000 ]; do sleep 0.01; "
                           "i=$((i+1)); done; cp \"$6\" \"$7\"; touch %2")
                .arg(test::ShellQuoted(marker("started")), test::ShellQuoted(marker("ended"))));
    }
    // The event loop until the program quits; a hang ends it with 1 after two
    // minutes, so that the test fails instead of waiting on.
    static int execUntilQuit() {
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        watchdog.start(120000);
        return QApplication::exec();
    }
    QString marker(const char* name) { return Q(scratch_.file(name)); }
    // The sources the encoder was run on, in order.
    QStringList runs() {
        return QString::fromUtf8(test::ReadBytes(marker("runs")))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString source(const QString& name, int frames) {
        const QString path = music + QLatin1Char('/') + name;
        test::WriteBytes(path, test::HandMadeMp3(frames));
        return path;
    }
    void listOnly(const QStringList& paths) {
        form().fileList().clear();
        for (const QString& path : paths) {
            form().fileList().append(path);
        }
        list->doItemsLayout();
    }
    void click(const char* button) { control<QPushButton>(button)->click(); }
    void startReducing() { click("PushButton2"); }

    // action runs at the job's first yield, before its first row is encoded.
    void atFirstYield(std::function<void()> action) {
        acted = false;
        window().onYield([this, action = std::move(action)] {
            if (!acted) {
                acted = true;
                action();
            }
        });
    }
    bool acted = false;

    QString temp;
    QString music;
    QString out;
    std::unique_ptr<test::ScopedEnv> tempEnv;
    std::unique_ptr<EncoderBytesOverride> standIn;
};

TEST_F(Form1JobTest, StartReducingMakesSmallerFilesWithTheEmbeddedEncoder) {
    const QStringList sources = {test::MakeMp3(scratch_, "music/a.mp3", 1.0, "-b 256"),
                                 test::MakeMp3(scratch_, "music/b.mp3", 1.0, "-b 192", 660)};
    listOnly(sources);
    std::set<std::pair<int, QString>> barAtYields;
    std::set<PointerKind> pointerAtYields;
    window().onYield([&] {
        barAtYields.insert({form().progressValue(), form().progressText()});
        pointerAtYields.insert(form().pointerKind());
    });
    startReducing();

    EXPECT_EQ(window().boxes(), std::vector<Box>{Plain(QStringLiteral("Done."))});
    ASSERT_EQ(test::EntriesOf(out), QStringList({"a.mp3", "b.mp3"}));
    const int kbps = TargetKbps(form().reduceOptions().entryText);
    for (const QString& name : test::EntriesOf(out)) {
        SCOPED_TRACE(name.toStdString());
        mp3::MP3Info info;
        ASSERT_TRUE(
            info.ReadMP3Info(QFile::encodeName(out + QLatin1Char('/') + name).toStdString()));
        EXPECT_EQ(info.Bitrate(), kbps * 1000);
    }
    // Each row showed where the job would stand once it was done.
    EXPECT_TRUE(barAtYields.count({50, QStringLiteral("Processing: a.mp3")}));
    EXPECT_TRUE(barAtYields.count({100, QStringLiteral("Processing: b.mp3")}));
    EXPECT_EQ(pointerAtYields, std::set<PointerKind>{PointerKind::Busy});
    // Idle again, and the encoder copy is gone with its folder.
    EXPECT_EQ(form().progressValue(), 0);
    EXPECT_EQ(form().progressText(), QStringLiteral("Progress Bar"));
    EXPECT_EQ(form().pointerKind(), PointerKind::Default);
    EXPECT_FALSE(form().isReducing());
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

TEST_F(Form1JobTest, AFailedRowIsListedAfterDone) {
    useEncoder(
        QStringLiteral("case \"$6\" in *bad*) echo 'cannot read input' >&2; exit 3;; esac; "
                       "cp \"$6\" \"$7\""));
    listOnly({source(QStringLiteral("good.mp3"), 3), source(QStringLiteral("bad.mp3"), 4)});
    startReducing();
    const std::vector<RowFailure> failures = {
        {QStringLiteral("bad.mp3"), reason::EncoderFailed(3, QStringLiteral("cannot read input"))}};
    EXPECT_EQ(window().boxes(), std::vector<Box>{Plain(DoneMessage(QLocale::c(), {failures}))});
    // Nothing that looks like a result, and no temporary file, for the failed row.
    EXPECT_EQ(test::EntriesOf(out), QStringList{QStringLiteral("good.mp3")});
}

TEST_F(Form1JobTest, NothingRunsWithoutRowsOrWithAMissingFolder) {
    struct Case {
        const char* what;
        bool withRow;
        const char* option;
        QString folder;
        QString message;
    };
    const Case cases[] = {
        {"empty list", false, "Option1", out, QStringLiteral("No files added.")},
        {"missing Text1 folder although Option2 is chosen", true, "Option2",
         Q(scratch_.file("gone")),
         QStringLiteral("Folder does not exist. Please select another folder.")},
    };
    useCopyingEncoder();
    const QString row = source(QStringLiteral("a.mp3"), 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window().clearRecord();
        listOnly(c.withRow ? QStringList{row} : QStringList{});
        control<QRadioButton>(c.option)->click();
        control<QLineEdit>("Text1")->setText(c.folder);
        startReducing();
        EXPECT_EQ(window().boxes(), std::vector<Box>{Plain(c.message)});
        EXPECT_EQ(form().pointerKind(), PointerKind::Default);
        EXPECT_FALSE(form().isReducing());
    }
    EXPECT_TRUE(runs().isEmpty());
    EXPECT_TRUE(test::EntriesOf(out).isEmpty());
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

TEST_F(Form1JobTest, ASecondStartDuringAJobDoesNothing) {
    useCopyingEncoder();
    const QStringList sources = {source(QStringLiteral("a.mp3"), 3),
                                 source(QStringLiteral("b.mp3"), 4)};
    listOnly(sources);
    atFirstYield([this] {
        EXPECT_TRUE(form().isReducing());
        startReducing();
    });
    startReducing();
    EXPECT_TRUE(acted);
    EXPECT_EQ(window().boxes(), std::vector<Box>{Plain(QStringLiteral("Done."))});
    EXPECT_EQ(runs(), sources);
}

TEST_F(Form1JobTest, RowsCannotBeRemovedClearedOrReorderedDuringAJob) {
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Delete",
         [this] {
             select(1);
             QTest::keyClick(list, Qt::Key_Delete);
         }},
        {"double-click", [this] { doubleClick(1); }},
        {"Clear List", [this] { click("PushButton4"); }},
        {"drag",
         [this] {
             press(1);
             dragTo(2);
             dragTo(3);
             releaseAt(3);
         }},
        // A folder scan run during the job puts the normal pointer back.
        {"Delete with the normal pointer",
         [this] {
             form().setBusyPointer(false);
             select(1);
             QTest::keyClick(list, Qt::Key_Delete);
         }},
    };
    useCopyingEncoder();
    const QStringList sources = {source(QStringLiteral("a.mp3"), 3),
                                 source(QStringLiteral("b.mp3"), 4),
                                 source(QStringLiteral("c.mp3"), 5)};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(marker("runs"));
        // Each job starts with an empty output folder, so none asks about
        // replacing the one before's results.
        for (const QString& name : test::EntriesOf(out)) {
            QFile::remove(out + QLatin1Char('/') + name);
        }
        listOnly(sources);
        atFirstYield(c.act);
        startReducing();
        EXPECT_TRUE(acted);
        EXPECT_EQ(Paths(test::Entries(form().fileList())), sources);
        EXPECT_EQ(runs(), sources);
    }
    // Once the job has ended the list is the user's again.
    click("PushButton4");
    EXPECT_EQ(form().fileList().count(), 0);
}

TEST_F(Form1JobTest, SampleFilesLoadedDuringAJobRemoveNoRow) {
    useCopyingEncoder();
    const QString notMp3 = music + QStringLiteral("/notes.mp3");
    test::WriteBytes(notMp3, "no audio here");
    const QStringList sources = {source(QStringLiteral("a.mp3"), 3), notMp3,
                                 source(QStringLiteral("b.mp3"), 4)};
    listOnly(sources);
    atFirstYield([this] { click("PushButton5"); });
    startReducing();
    EXPECT_TRUE(acted);
    EXPECT_EQ(Paths(test::Entries(form().fileList())), sources);
    EXPECT_EQ(runs(), sources);
    EXPECT_EQ(test::EntriesOf(out), QStringList({"a.mp3", "b.mp3"}));
}

TEST_F(Form1JobTest, ClosingTheWindowDuringAJobStopsItAndEndsTheProgram) {
    useSlowEncoder();
    listOnly({source(QStringLiteral("a.mp3"), 3), source(QStringLiteral("b.mp3"), 4)});
    window().onYield([&] {
        if (QFileInfo::exists(marker("started")) && !form().isClosing()) {
            form().close();
        }
    });
    QTimer::singleShot(0, &form(), [this] { startReducing(); });
    EXPECT_EQ(execUntilQuit(), 0);

    EXPECT_TRUE(form().isClosing());
    EXPECT_FALSE(form().isReducing());
    EXPECT_TRUE(window().boxes().empty());
    // The encoder never finished its copy; no result and no temporary file.
    EXPECT_FALSE(QFileInfo::exists(marker("ended")));
    EXPECT_TRUE(test::EntriesOf(out).isEmpty());
    EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
}

// SIGTERM, SIGHUP and SIGINT end the program as closing the window does.
TEST_F(Form1JobTest, ASignalDuringAJobClosesTheWindowAndCleansUp) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        const CloseOnSignal closeOnSignal;
        if (signal != SIGTERM) {
            start();
            form().show();
            attach(control<QTreeView>("ListView1"));
            control<QLineEdit>("Text1")->setText(out);
            QFile::remove(marker("started"));
        }
        useSlowEncoder();
        listOnly({source(QStringLiteral("a.mp3"), 3), source(QStringLiteral("b.mp3"), 4)});
        bool raised = false;
        window().onYield([&] {
            if (QFileInfo::exists(marker("started")) && !raised) {
                raised = true;
                std::raise(signal);
            }
        });
        QTimer::singleShot(0, &form(), [this] { startReducing(); });
        EXPECT_EQ(execUntilQuit(), 0);

        EXPECT_TRUE(raised);
        EXPECT_TRUE(form().isClosing());
        EXPECT_FALSE(form().isVisible());
        EXPECT_FALSE(form().isReducing());
        EXPECT_TRUE(window().boxes().empty());
        EXPECT_FALSE(QFileInfo::exists(marker("ended")));
        EXPECT_TRUE(test::EntriesOf(out).isEmpty());
        EXPECT_TRUE(test::EntriesOf(temp).isEmpty());
    }
}

}  // namespace
}  // namespace mirelune
