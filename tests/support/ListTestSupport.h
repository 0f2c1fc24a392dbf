// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Rows, files and boxes that the tests of the file list and of the window share.

#include <gtest/gtest.h>

#include <QString>
#include <ostream>
#include <string>
#include <vector>

#include "filelist/FileEntry.h"
#include "filelist/FileList.h"
#include "shell/ErrorReport.h"
#include "support/FakeWindowLayer.h"
#include "support/Mp3Bytes.h"
#include "support/ScratchDir.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace mirelune {

inline void PrintTo(const FileEntry& entry, std::ostream* out) {
    *out << "{" << entry.path.toStdString() << ", " << entry.bitrateText.toStdString() << "}";
}

}  // namespace mirelune

namespace mirelune::test {

// MPEG-1 Layer III at 44100 Hz, stereo: 128 kbps frames of 417 bytes and
// 192 kbps frames of 626 bytes.
inline const Bytes kMpeg1L3At192 = {0xFF, 0xFB, 0xB0, 0x64};

inline QString ToQString(const std::string& path) {
    return QString::fromStdString(path);
}

// Files for the list: valid streams, something that is no MP3 at all, and a
// stream whose analysis fails (a Xing header that counts no frames).
inline QString WriteMp3At128(const ScratchDir& dir, const std::string& name) {
    return ToQString(dir.Write(name, Frames(kMpeg1L3At128, 417, 3)));
}
inline QString WriteMp3At192(const ScratchDir& dir, const std::string& name) {
    return ToQString(dir.Write(name, Frames(kMpeg1L3At192, 626, 3)));
}
inline QString WriteNotMp3(const ScratchDir& dir, const std::string& name) {
    Bytes text;
    AppendText(text, "just some words, no audio here\n");
    return ToQString(dir.Write(name, text));
}
inline QString WriteFailingMp3(const ScratchDir& dir, const std::string& name) {
    Bytes bytes = Frames(kMpeg1L3At128, 417, 3);
    PutXing(bytes, 36, "Xing", 1, 0, 0);
    return ToQString(dir.Write(name, bytes));
}

// Every row of the list, in order.
inline std::vector<FileEntry> Entries(const FileList& list) {
    std::vector<FileEntry> all;
    for (int i = 1; i <= list.count(); ++i) {
        all.push_back(list.entry(i));
    }
    return all;
}

// The summary box of an adding action that refused one file.
inline Box NotValidBox(const QString& path) {
    return Box{QStringLiteral("Mirelune"), QStringLiteral("Not a valid MP3 file\r\n") + path,
               MessageButtons::Ok, MessageIcon::None};
}

// Whether box is the error report of location at the given line.
// The line number ends the text when the build names no support address.
inline bool IsReport(const Box& box, const QString& location, int line) {
    const QString where = location + QStringLiteral("at line ") + QString::number(line);
    return box.title == QString::fromUtf8(kErrorReportTitle) && box.icon == MessageIcon::Warning &&
           (box.text.contains(where + QStringLiteral("\r")) || box.text.endsWith(where));
}

}  // namespace mirelune::test
