#pragma once

#include <QString>
#include <cstdint>

namespace mirelune {

class ErrorGuard;
class FileList;
class WindowLayer;
namespace mp3 {
class MP3Info;
}

// What every way of filling the list works on: the list, the window's one
// MP3 reader, and the window layer for the refusal message.
struct FileListFiller {
    FileList& list;
    mp3::MP3Info& info;
    WindowLayer& window;
};

inline constexpr char kNotValidMp3Text[] = "Not a valid MP3 file";

// The bitrate column's text: whole kbps, halves to even, "128 kbps".
QString BitrateCellText(std::int32_t bitsPerSecond);

// Adds a row at the end with the path and its bitrate text; returns its index.
int AppendFileEntry(FileList& list, const QString& path, std::int32_t bitsPerSecond);

// The calling handler's step numbers for the parts of adding one file.
struct CandidateSteps {
    int read;     // analyse the file and test the result
    int refuse;   // "Not a valid MP3 file"
    int addRow;   // the row with its path
    int bitrate;  // the row's bitrate text
};

// The four steps numbered in twos from first, as every handler numbers them.
constexpr CandidateSteps CandidateStepsFrom(int first) {
    return {first, first + 2, first + 4, first + 6};
}

// Reads path with the window's MP3 reader and lists it when it is an MP3
// stream; otherwise tells the user "Not a valid MP3 file" (OK, no icon, the
// application title) without naming the file. An analysis that fails is
// reported by the caller's guard and the file is then refused like any other
// that is not valid. Returns whether a row was added.
bool AddCandidateFile(ErrorGuard& guard, const CandidateSteps& steps, const FileListFiller& filler,
                      const QString& path);

}  // namespace mirelune
