// SPDX-License-Identifier: GPL-3.0-or-later
// The closing report's texts, as functions of the job's rows.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "reduce/DistinctNames.h"
#include "reduce/DoneReport.h"
#include "reduce/LargerResults.h"
#include "support/ReduceTestSupport.h"

namespace mirelune {
namespace {

TEST(DistinctNames, EachPathKeepsJustTheTailThatTellsItFromTheOthers) {
    const DistinctNames names({"/m/A/Track 1.mp3", "/m/B/Track 1.mp3", "/m/A/song.mp3",
                               "/m/A/song.mp3", "/x/a.mp3", "/y/x/a.mp3"});
    const struct {
        QString path;
        QString name;
    } cases[] = {
        {"/m/A/Track 1.mp3", "A/Track 1.mp3"},
        {"/m/B/Track 1.mp3", "B/Track 1.mp3"},
        {"/m/A/song.mp3", "song.mp3"},  // listed twice, still one file
        {"/x/a.mp3", "/x/a.mp3"},       // every shorter tail is also the other's
        {"/y/x/a.mp3", "y/x/a.mp3"},
        {"row 3", "row 3"},
        {"/n/Track 1.mp3", "n/Track 1.mp3"},  // not listed: told from the listed
    };
    for (const auto& c : cases) {
        EXPECT_EQ(names.of(c.path), c.name) << c.path.toStdString();
    }
}

TEST(DoneReport, NamesRowsByWhatTellsThemApartInListOrderAndResultsLargerThanTheirSources) {
    const QString a = "/m/A/Track 1.mp3", b = "/m/B/Track 1.mp3", c = "/m/C/Track 1.mp3";
    const struct {
        DoneRows rows;
        QString text;
    } cases[] = {
        {{{a, b, c}, {{}, {{a, "exists"}, {c, "outdated"}}, {}, {{b, "1.0 KiB → 2.0 KiB"}}}},
         "Done.\n\n2 files skipped:\nA/Track 1.mp3: exists\nC/Track 1.mp3: outdated"
         "\n\n1 result larger than the original:\nB/Track 1.mp3: 1.0 KiB → 2.0 KiB"},
        {{{a, b}, {{{b, "why"}}, {}, {}, {{a, "1 → 2"}, {b, "3 → 4"}}}},
         "Done.\n\n1 file failed:\nB/Track 1.mp3: why"
         "\n\n2 results larger than their originals:\nA/Track 1.mp3: 1 → 2\nB/Track 1.mp3: 3 → 4"},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(DoneReport(k.rows, QLocale::c()), k.text);
    }
}

TEST(ReplaceQuestion, SaysWhereTheFilesAreAndTakesTheSingularForOne) {
    const struct {
        int count;
        bool beside;
        QString text;
    } cases[] = {
        {1, false,
         "1 result would replace a file that already exists in the output folder. Replace it?"},
        {3, false,
         "3 of the results would replace files that already exist in the output folder. Replace "
         "them?"},
        {1, true,
         "1 result would replace a file that already exists beside its original. Replace it?"},
        {2, true,
         "2 of the results would replace files that already exist beside their originals. "
         "Replace them?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReplaceQuestion(c.count, c.beside), c.text);
    }
}

TEST(LargerResults, AFileHasItsSizeAndAnythingElseNone) {
    QTemporaryDir dir;
    test::WriteBytes(dir.filePath("r.mp3"), QByteArray(2048, 'x'));
    test::WriteBytes(dir.filePath("empty.mp3"), QByteArray());
    const struct {
        QString path;
        std::optional<qint64> bytes;
    } cases[] = {
        {dir.filePath("r.mp3"), 2048},
        {dir.filePath("empty.mp3"), 0},
        {dir.filePath("missing.mp3"), std::nullopt},
        {dir.path(), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileBytes(c.path), c.bytes) << c.path.toStdString();
    }
    EXPECT_EQ(LargerResultsTail(0), "");
    EXPECT_EQ(LargerResultsTail(2), "; 2 results larger than their originals");
}

}  // namespace
}  // namespace mirelune
