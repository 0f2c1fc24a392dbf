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

    const QByteArray unnamable("caf\xE9.mp3");
    QList<QByteArray> raw{"mirelune", "song.mp3", "album", "notes.txt", "gone.mp3", unnamable};
    QStringList arguments;
    for (const QByteArray& argument : raw) {
        arguments.append(QString::fromLocal8Bit(argument));
    }
    const WindowCommandLine line = ParseWindowCommandLine(arguments, working, raw);
    form().OpenPaths(line.paths, line.leftOut);

    // The folder is walked with every file but "~" names; a file is taken as
    // it is and refused when it is no MP3; a missing path and a name no text
    // holds are named in the same one box.
    EXPECT_EQ(test::Entries(form().fileList()),
              (std::vector<FileEntry>{{song, "128 kbps"}, {a, "192 kbps"}, {b, "128 kbps"}}));
    EXPECT_EQ(window().boxes(),
              (std::vector<test::Box>{{QStringLiteral("Mirelune"),
                                       "3 files were left out:\r\n\"" + working +
                                           "/caf\\xE9.mp3\" (name is not valid UTF-8)\r\n" +
                                           working + "/gone.mp3 (does not exist)\r\n" + working +
                                           "/notes.txt (not a valid MP3 file)",
                                       MessageButtons::Ok, MessageIcon::None}}));
}

}  // namespace
}  // namespace mirelune
