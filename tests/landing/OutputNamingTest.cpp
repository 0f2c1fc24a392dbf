// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/OutputNaming.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>

#include "shell/Place.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

using test::Q;

// The naming table, on paths that do not exist: the same-file test is then a
// comparison of text.
TEST(OutputPathFor, FollowsTheNamingTable) {
    struct Case {
        const char* source;
        bool option1;
        bool option2;
        const char* text1;
        const char* output;
    };
    const Case cases[] = {
        {"/music/song.mp3", false, true, "/out/", "/music/song-reduced.mp3"},
        {"/music/song.mp3", true, false, "/out/", "/out/song.mp3"},
        {"/music/song.mp3", true, false, "/music/", "/music/song-reduced.mp3"},
        {"/music/song.wav.mp3", true, false, "/out", "/out/song.wav.mp3"},
        {"/music/track", true, false, "/out/", "/out/track.mp3"},
        {"/music/Song.MP3", false, true, "", "/music/Song-reduced.mp3"},
        {"/music/Song.Mp3", true, false, "/MUSIC", "/MUSIC/Song-reduced.mp3"},
        {"/music/Song.MP3", true, false, "/out", "/out/Song.mp3"},
        {"/music/my.album/track", true, false, "/out", "/out/track.mp3"},
        {"/music/song.mp3", true, false, "//out/", "/out/song.mp3"},
        {"/music/song.mp3", true, false, "/out//", "/out//song.mp3"},  // three become two
    };
    for (const Case& c : cases) {
        const QString source = QString::fromUtf8(c.source);
        const auto folder =
            OutputFolderFor(source, c.option1, c.option2, QString::fromUtf8(c.text1));
        ASSERT_TRUE(folder.has_value()) << c.source;
        EXPECT_EQ(OutputPathFor(*folder, source), QString::fromUtf8(c.output)) << c.source;
    }
    EXPECT_FALSE(
        OutputFolderFor(QStringLiteral("/music/song.mp3"), false, false, QStringLiteral("/out/"))
            .has_value());
}

// Only a folder that lists both spellings holds two files: then the plain
// name is the older result of an upper-case original, and stays its output.
TEST(OutputPathFor, APlainNameEqualButForCaseIsUsedOnlyWhenTheFolderListsItApart) {
    test::ScratchDir dir;
    const QString music = Q(dir.file("music"));
    ASSERT_TRUE(QDir().mkpath(music));
    const QString source = music + "/Loud.MP3";
    test::WriteBytes(source, "source");
    EXPECT_EQ(OutputPathFor(music, source), music + "/Loud-reduced.mp3");
    EXPECT_TRUE(MayBeSource(music + "/loud.mp3", source));
    test::WriteBytes(music + "/Loud.mp3", "older result");
    EXPECT_EQ(OutputPathFor(music, source), music + "/Loud.mp3");
    EXPECT_FALSE(MayBeSource(music + "/Loud.mp3", source));
    EXPECT_TRUE(MayBeSource(music + "/LOUD.mp3", source));
}

// A listed file whose name differs only in letter case from a numbered name
// is that name on a stick: never given to a result.
TEST(OutputNames, ListedFilesCountWithoutLetterCase) {
    test::ScratchDir dir;
    const QString out = Q(dir.file("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    const QString listedNumber = out + "/Song (2).MP3";
    test::WriteBytes(listedNumber, "x");
    OutputNames names;
    names.protectSource(listedNumber);
    const OutputChoice first = names.decide("/a/song.mp3", out + "/song.mp3");
    names.claim("/a/song.mp3", first.path);
    EXPECT_EQ(names.decide("/b/song.mp3", out + "/song.mp3").path, out + "/song (3).mp3");
}

TEST(NumberedPath, PutsTheCopyNumberBeforeTheExtension) {
    EXPECT_EQ(NumberedPath(QStringLiteral("/out/song.mp3"), 2),
              QStringLiteral("/out/song (2).mp3"));
    EXPECT_EQ(NumberedPath(QStringLiteral("/o.d/song-reduced.mp3"), 13),
              QStringLiteral("/o.d/song-reduced (13).mp3"));
}

TEST(UnnumberedPath, UndoesOnlyTheNumbersACollisionGives) {
    const struct {
        const char* path;
        std::optional<QString> plain;
    } cases[] = {
        {"/out/song (2).mp3", QStringLiteral("/out/song.mp3")},
        {"/out/a (b) (13).mp3", QStringLiteral("/out/a (b).mp3")},
        {"/o (2)/song-reduced (9).mp3", QStringLiteral("/o (2)/song-reduced.mp3")},
        {"/out/song.mp3", std::nullopt},
        {"/out/song (1).mp3", std::nullopt},
        {"/out/song (0).mp3", std::nullopt},
        {"/out/song (02).mp3", std::nullopt},
        {"/out/song (+3).mp3", std::nullopt},
        {"/out/song(2).mp3", std::nullopt},
        {"/out/ (2).mp3", std::nullopt},
        {"/out/song (2).flac", std::nullopt},
        {"/out/song (2) .mp3", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnnumberedPath(QString::fromUtf8(c.path)), c.plain) << c.path;
    }
}

TEST(OutputNames, NamesEqualButForLetterCaseAreOneName) {
    test::ScratchDir dir;
    const QString out = Q(dir.file("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    OutputNames names;
    const struct {
        QString source;
        QString wanted;
        QString given;
    } rows[] = {
        {"/a/Song.mp3", out + "/Song.mp3", out + "/Song.mp3"},
        {"/b/song.mp3", out + "/song.mp3", out + "/song (2).mp3"},
        {"/c/SONG.flac", out + "/SONG.mp3", out + "/SONG (3).mp3"},
        {QString::fromUtf8("/d/\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x9F\xCE\xA3.mp3"),
         out + QString::fromUtf8("/\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x9F\xCE\xA3.mp3"),
         out + QString::fromUtf8("/\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x9F\xCE\xA3.mp3")},
        {QString::fromUtf8("/e/\xCF\x83\xCE\xBF\xCF\x86\xCE\xBF\xCF\x82.mp3"),
         out + QString::fromUtf8("/\xCF\x83\xCE\xBF\xCF\x86\xCE\xBF\xCF\x82.mp3"),
         out + QString::fromUtf8("/\xCF\x83\xCE\xBF\xCF\x86\xCE\xBF\xCF\x82 (2).mp3")},
    };
    for (const auto& row : rows) {
        const OutputChoice choice = names.decide(row.source, row.wanted);
        EXPECT_EQ(choice.path.toStdString(), row.given.toStdString());
        EXPECT_EQ(choice.kind, OutputChoice::Kind::Free);
        names.claim(row.source, choice.path);
    }
}

// Aliases of the source: another spelling, a symbolic link to its folder, a
// hard link in the output folder. Each must be seen as the source.
class SameFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        music = Q(dir.file("music"));
        out = Q(dir.file("out"));
        ASSERT_TRUE(QDir().mkpath(music));
        ASSERT_TRUE(QDir().mkpath(out));
        source = music + QStringLiteral("/song.mp3");
        test::WriteBytes(source, test::HandMadeMp3(3));
    }

    test::ScratchDir dir;
    QString music;
    QString out;
    QString source;
};

TEST_F(SameFileTest, AliasesOfTheSourceGetTheReducedName) {
    ASSERT_TRUE(QFile::link(music, Q(dir.file("linked"))));
    ASSERT_TRUE(QFile::link(source, out + QStringLiteral("/song.mp3")));
    const struct {
        QString folder;
        QString output;
    } cases[] = {
        {music + QStringLiteral("/./"), music + QStringLiteral("/./song-reduced.mp3")},
        {music + QStringLiteral("/../music"), music + QStringLiteral("/../music/song-reduced.mp3")},
        {Q(dir.file("linked")), Q(dir.file("linked")) + QStringLiteral("/song-reduced.mp3")},
        {out, out + QStringLiteral("/song-reduced.mp3")},  // a symbolic link to the source
        {Q(dir.file("elsewhere")), Q(dir.file("elsewhere")) + QStringLiteral("/song.mp3")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OutputPathFor(c.folder, source), c.output) << c.folder.toStdString();
    }
}

TEST_F(SameFileTest, AHardLinkCountsAsTheSource) {
    const QString hardLink = out + QStringLiteral("/song.mp3");
    ASSERT_EQ(
        ::link(QFile::encodeName(source).constData(), QFile::encodeName(hardLink).constData()), 0);
    EXPECT_TRUE(Place(hardLink).isSameFile(Place(source)));
    EXPECT_EQ(OutputPathFor(out, source), out + QStringLiteral("/song-reduced.mp3"));
}

TEST_F(SameFileTest, NoNameIsLeftWhenTheReducedNameIsTheSourceToo) {
    ASSERT_TRUE(QFile::link(source, music + QStringLiteral("/song-reduced.mp3")));
    EXPECT_EQ(OutputPathFor(music, source), QString());
}

TEST_F(SameFileTest, OutputNamesTellEarlierFilesFromTheJobsOwnAndNumberOnlyCollisions) {
    using Kind = OutputChoice::Kind;
    const QString other = Q(dir.file("other"));
    ASSERT_TRUE(QDir().mkpath(other));
    const QString sameName = other + QStringLiteral("/song.mp3");
    const QString third = Q(dir.file("third.mp3"));
    const QString fourth = Q(dir.file("fourth.mp3"));
    const QString fifth = Q(dir.file("fifth.mp3"));
    for (const QString& s : {sameName, third, fourth, fifth}) {
        test::WriteBytes(s, test::HandMadeMp3(4));
    }
    // third.mp3's result would land on a listed source in the output folder,
    // an earlier result of it.
    const QString listedInOut = out + QStringLiteral("/third.mp3");
    test::WriteBytes(listedInOut, test::HandMadeMp3(6));
    // fifth.mp3 collides with song.mp3; its numbered name is a listed source.
    const QString listedNumbered = out + QStringLiteral("/song (2).mp3");
    test::WriteBytes(listedNumbered, test::HandMadeMp3(7));
    // fourth.mp3's result would land on a file that is no source.
    const QString earlier = out + QStringLiteral("/fourth.mp3");
    test::WriteBytes(earlier, "kept");

    OutputNames names;
    for (const QString& s : {source, sameName, third, listedInOut, fourth, fifth, listedNumbered}) {
        names.protectSource(s);
    }
    const QString wanted = out + QStringLiteral("/song.mp3");
    struct Step {
        QString source;
        QString wanted;
        QString path;
        Kind kind;
    };
    const Step steps[] = {
        {source, wanted, wanted, Kind::Free},
        {sameName, wanted, out + QStringLiteral("/song (3).mp3"), Kind::Free},
        // The same source again keeps its name; a spelling of the same place
        // is the same name.
        {source, out + QStringLiteral("/./song.mp3"), out + QStringLiteral("/./song.mp3"),
         Kind::Ours},
        {third, listedInOut, listedInOut, Kind::Exists},
        {fourth, earlier, earlier, Kind::Exists},
        {fifth, wanted, out + QStringLiteral("/song (4).mp3"), Kind::Free},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.source.toStdString());
        const OutputChoice choice = names.decide(step.source, step.wanted);
        EXPECT_EQ(choice.path, step.path);
        EXPECT_EQ(choice.kind, step.kind);
        names.claim(step.source, choice.path);
    }
    EXPECT_EQ(test::ReadBytes(earlier), QByteArrayLiteral("kept"));
}

}  // namespace
}  // namespace mirelune
