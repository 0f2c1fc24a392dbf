// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileList.h"

#include <gtest/gtest.h>

#include <QPersistentModelIndex>
#include <string>
#include <vector>

#include "filelist/FileListFiller.h"
#include "shell/Failure.h"
#include "support/ListTestSupport.h"

namespace mirelune {
namespace {

TEST(FileList, RowsAreCountedFromOneAndOthersAreRefused) {
    FileList list;
    list.append("/music/a.mp3", "128 kbps");
    list.append("/music/b.mp3", "192 kbps");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.text(1), "/music/a.mp3");
    EXPECT_EQ(list.text(2), "/music/b.mp3");
    EXPECT_EQ(list.bitrateText(2), "192 kbps");

    for (int index : {0, -1, 3}) {
        SCOPED_TRACE(index);
        EXPECT_THROW(list.text(index), Failure);
        EXPECT_THROW(list.setBitrateText(index, "1 kbps"), Failure);
        EXPECT_THROW(list.remove(index), Failure);
        EXPECT_THROW(list.move(1, index), Failure);
        EXPECT_THROW(list.move(index, 1), Failure);
    }
    EXPECT_EQ(list.count(), 2);
}

TEST(FileList, AppendFileEntryWritesWholeKbpsRoundedHalfToEven) {
    struct Case {
        std::int32_t bitsPerSecond;
        const char* text;
    };
    const Case cases[] = {{128000, "128 kbps"}, {127999, "128 kbps"}, {8000, "8 kbps"},
                          {128500, "128 kbps"}, {129500, "130 kbps"}, {320000, "320 kbps"}};
    FileList list;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitsPerSecond);
        const int index = AppendFileEntry(list, "/music/song.mp3", c.bitsPerSecond, QLocale::c());
        EXPECT_EQ(index, list.count());
        EXPECT_EQ(list.text(index), "/music/song.mp3");
        EXPECT_EQ(list.bitrateText(index), QString::fromUtf8(c.text));
    }
}

TEST(FileList, AMovedRowTakesItsBitrateAlongAndTheRowsBetweenShift) {
    const FileEntry a{"/a.mp3", "128 kbps"}, b{"/b.mp3", "192 kbps"}, c{"/c.mp3", "64 kbps"},
        d{"/d.mp3", "32 kbps"};
    const struct {
        int from;
        int to;
        std::vector<FileEntry> after;
    } cases[] = {{1, 3, {b, c, a, d}}, {4, 2, {a, d, b, c}}, {2, 2, {a, b, c, d}}};
    for (const auto& m : cases) {
        SCOPED_TRACE(std::to_string(m.from) + " to " + std::to_string(m.to));
        FileList list;
        for (const FileEntry& row : {a, b, c, d}) {
            list.append(row.path, row.bitrateText);
        }
        const QPersistentModelIndex moved = list.index(m.from - 1, 0);
        list.move(m.from, m.to);
        EXPECT_EQ(test::Entries(list), m.after);
        // Views keep hold of the moved row.
        EXPECT_EQ(moved.row(), m.to - 1);
    }
}

TEST(FileList, ShowsPathAndBitrateUnderTheHeadersNamedAtStartUp) {
    FileList list;
    list.append("/a.mp3", "128 kbps");
    EXPECT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.columnHeaders(), (QStringList{"", ""}));

    list.setColumnHeader(0, "MP3 File(s)");
    list.setColumnHeader(1, "Bitrate");
    EXPECT_THROW(list.setColumnHeader(2, "Other"), Failure);
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), "MP3 File(s)");
    EXPECT_EQ(list.headerData(1, Qt::Horizontal).toString(), "Bitrate");
    EXPECT_EQ(list.data(list.index(0, 0)).toString(), "/a.mp3");
    EXPECT_EQ(list.data(list.index(0, 1)).toString(), "128 kbps");
    // The view may elide the path; the whole one is each cell's tooltip.
    const QString toolTip = QString::fromUtf8("<p style=\"white-space:pre-wrap\">/\u200Ba.mp3</p>");
    EXPECT_EQ(list.data(list.index(0, 0), Qt::ToolTipRole).toString(), toolTip);
    EXPECT_EQ(list.data(list.index(0, 1), Qt::ToolTipRole).toString(), toolTip);

    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
}

}  // namespace
}  // namespace mirelune
