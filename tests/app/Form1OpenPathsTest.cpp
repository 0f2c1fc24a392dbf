// SPDX-License-Identifier: GPL-3.0-or-later
// "mirelune FILE|FOLDER ...": the command line's paths become rows as a drop
// of the same paths would.
#include "app/WindowCommandLine.h"
#include "app/WindowTestSupport.h"

namespace mirelune {
namespace {

class OpenPathsTest : public test::WindowTest {};

TEST_F(OpenPathsTest, RelativeFilesAndFoldersBecomeRowsWithTheirFullPaths) {
    const QString working = folder("music");
    const QString song = test::WriteMp3At128(scratch_, "music/song.mp3");
    folder("music/album/disc 2");
    const QString a = test::WriteMp3At192(scratch_, "music/album/a.mp3");
    const QString b = test::WriteMp3At128(scratch_, "music/album/disc 2/b.mp3");
    test::WriteMp3At128(scratch_, "music/album/~draft.mp3");
    test::WriteNotMp3(scratch_, "music/notes.txt");
    start();

    const WindowCommandLine line =
        ParseWindowCommandLine({"mirelune", "song.mp3", "album", "notes.txt", "gone.mp3"}, working);
    form().OpenPaths(line.paths);

    // The folder is walked with every file but "~" names; a file is taken as
    // it is and refused when it is no MP3; a missing path is passed over.
    EXPECT_EQ(test::Entries(form().fileList()),
              (std::vector<FileEntry>{{song, "128 kbps"}, {a, "192 kbps"}, {b, "128 kbps"}}));
    ASSERT_FALSE(window().boxes().empty());
    for (const test::Box& box : window().boxes()) {
        EXPECT_NE(box.title, QString::fromUtf8(kErrorReportTitle)) << box.text.toStdString();
    }
}

}  // namespace
}  // namespace mirelune
