#pragma once

#include <QString>
#include <map>
#include <optional>
#include <set>

#include "shell/FileIdentity.h"

namespace mirelune {

// Every result is an MP3 file, whatever the source's extension.
inline constexpr char kOutputExtension[] = "mp3";

// Where a source's result goes inside folder: the source's name with the
// extension "mp3", doubled separators collapsed.
QString PlainOutputPath(const QString& folder, const QString& source);

// The name used when the plain one would be the source itself:
// "<name>-reduced.mp3".
QString ReducedOutputPath(const QString& folder, const QString& source);

// The folder a row's result goes to: the chosen folder, or the source's own
// folder; nothing when neither is chosen.
std::optional<QString> OutputFolderFor(const QString& source, bool intoChosenFolder,
                                       bool besideSource, const QString& chosenFolder);

// The output path for source inside folder: the plain name, or the
// "-reduced" name when the plain one is the source file itself (by
// identity, so links and other spellings count). Empty when even the
// "-reduced" name is the source: such a row must not run.
QString OutputPathFor(const QString& folder, const QString& source);

// "song.mp3" with copy 2 is "song (2).mp3": the number goes before the
// extension of the last path element.
QString NumberedPath(const QString& path, int copy);

// The output names of one job, so that a result never replaces another
// source's result from the same job, and never lands on a file the job was
// asked to reduce. The same source listed twice still gets its own name
// back, and its second result replaces the first.
class OutputNames {
  public:
    // A file the job will read: no result may be written over it.
    void protectSource(const QString& source);

    // The path source's result goes to: wanted itself, or wanted with
    // " (2)", " (3)" ... before its extension when this job already gave
    // that name to another source, or a protected source lives there.
    QString claim(const QString& source, const QString& wanted);

  private:
    bool isProtected(const QString& path) const;

    std::set<FileIdentity> protected_;    // the listed sources
    std::map<QString, QString> claimed_;  // place key -> key of the source it holds
};

}  // namespace mirelune
