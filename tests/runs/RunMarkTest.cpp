// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/RunMark.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "runs/RunMarkText.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Q;

// The mark names what its run is making there now, and no more: names whose
// files are done leave it, so that it stays small however long the run.
TEST(RunMarkHold, AnnouncesNamesUntilTheyAreSettled) {
    const test::ScratchDir dir;
    const QString out = Q(dir.path().string());
    const QString mark = RunMarkPath(out, RunTag());
    const auto announced = [&] { return RunMarkText::parse(test::ReadBytes(mark)).announced; };
    {
        RunMarkHold first(out);
        ASSERT_TRUE(first.marked());
        ASSERT_TRUE(first.announce({"a.part", "a.mp3"}));
        {
            RunMarkHold second(out);
            ASSERT_TRUE(second.announce({"b.mp3"}));
            EXPECT_EQ(announced(), QList<QByteArray>({"a.part", "a.mp3", "b.mp3"}));
            first.settle({"a.part"});
            // Many more come and go while one stays in flight.
            for (int i = 0; i < 300; ++i) {
                RunMarkHold another(out);
                const QByteArray name = QByteArray(60, 'n') + QByteArray::number(i) + ".mp3";
                ASSERT_TRUE(another.announce({name}));
            }
            EXPECT_LT(QFileInfo(mark).size(), 1024);
            const QList<QByteArray> names = announced();
            EXPECT_TRUE(names.contains("a.mp3") && names.contains("b.mp3"));
            EXPECT_FALSE(names.contains("a.part"));
        }
        EXPECT_EQ(announced(), QList<QByteArray>({"a.mp3"}));
        first.settle({"a.mp3"});
        EXPECT_EQ(test::ReadBytes(mark), RunMarkText::header(OwnerOfThisProcess()));
    }
    EXPECT_FALSE(QFileInfo::exists(mark));
}

// A folder reached through a link has the same one mark: announcements made
// under either spelling stay in it until the last hold goes.
TEST(RunMarkHold, TwoSpellingsOfOneFolderShareItsMark) {
    const test::ScratchDir dir;
    const QString out = Q(dir.file("out"));
    const QString link = Q(dir.file("link"));
    ASSERT_TRUE(QDir().mkdir(out));
    ASSERT_TRUE(QFile::link(out, link));
    const QString mark = RunMarkPath(out, RunTag());
    const auto announced = [&] { return RunMarkText::parse(test::ReadBytes(mark)).announced; };
    {
        RunMarkHold first(out);
        ASSERT_TRUE(first.announce({"a.mp3"}));
        {
            RunMarkHold second(link);
            ASSERT_TRUE(second.marked());
            ASSERT_TRUE(second.announce({"b.mp3"}));
            EXPECT_EQ(announced(), QList<QByteArray>({"a.mp3", "b.mp3"}));
        }
        EXPECT_EQ(announced(), QList<QByteArray>({"a.mp3"}));
    }
    EXPECT_FALSE(QFileInfo::exists(mark));
}

}  // namespace
}  // namespace mirelune
