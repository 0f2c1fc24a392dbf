// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

#include "filelist/RefusedFiles.h"

namespace mirelune {

class ErrorGuard;
class FileList;
class WindowLayer;
namespace mp3 {
class MP3Info;
}

// What every way of filling the list works on: the list, the window's one
// MP3 reader, and the window layer.
struct FileListFiller {
    FileList& list;
    mp3::MP3Info& info;
    WindowLayer& window;
};

// The bitrate column's text: whole kbps, halves to even, "128 kbps", its
// number written as locale writes numbers and its unit translated ("128
// kbit/s").
QString BitrateCellText(std::int32_t bitsPerSecond, const QLocale& locale);

// Adds a row at the end with the path and its bitrate text; returns its index.
int AppendFileEntry(FileList& list, const QString& path, std::int32_t bitsPerSecond,
                    const QLocale& locale);

// Whether path reads as an MP3 stream with info. A malformed file, whose
// analysis ends in one of its failures, is no MP3 stream: the failure, in
// the window's words ("out of range", "overflow", "division by zero"), goes
// to failure. Any other failure is a fault and goes on to the caller.
bool ReadsAsMp3(mp3::MP3Info& info, const QString& path, QString& failure);

// The calling handler's step numbers for the parts of adding one file.
struct CandidateSteps {
    int read;     // analyse the file and test the result
    int refuse;   // note the file among those refused
    int addRow;   // the row with its path
    int bitrate;  // the row's bitrate text
};

// The four steps numbered in twos from first, as every handler numbers them.
constexpr CandidateSteps CandidateStepsFrom(int first) {
    return {first, first + 2, first + 4, first + 6};
}

// Reads path with the window's MP3 reader and lists it when it is an MP3
// stream; otherwise adds it to refused, for the one summary the adding action
// shows at its end. A file whose analysis ends in one of its failures (out of
// range, overflow, division by zero) is malformed, not a fault of the
// program: it is refused with that failure and nothing is reported. Any other
// failure is reported by the caller's guard and the file is then refused as
// well. Once the window is closing, nothing more is read. Returns whether a
// row was added.
bool AddCandidateFile(ErrorGuard& guard, const CandidateSteps& steps, const FileListFiller& filler,
                      const QString& path, RefusedFiles& refused);

}  // namespace mirelune
