// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "landing/TargetNames.h"
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

// Whether writing at path could reach source: the same file (links and
// other spellings of the folder count), or a name equal to source's but for
// letter case that its folder does not list apart from source's own name.
// Drivers of case-blind sticks (fusefat) give the two spellings of one file
// different inode numbers, so only the names can tell; a folder that lists
// both names holds two files.
bool MayBeSource(const QString& path, const QString& source);

// The output path for source inside folder: the plain name, or the
// "-reduced" name when the plain one may be the source itself (so "Song.MP3"
// beside itself gives "Song-reduced.mp3"). A plain name that an older version
// gave a source on a target that tells case apart ("Song.mp3" beside
// "Song.MP3", two files) stays that source's output. Empty when even the
// "-reduced" name may be the source: such a row must not run.
QString OutputPathFor(const QString& folder, const QString& source);

// "song.mp3" with copy 2 is "song (2).mp3": the number goes before the
// extension of the last path element.
QString NumberedPath(const QString& path, int copy);

// The name NumberedPath numbered into path ("song (2).mp3" gives
// "song.mp3"), if path is such a name of a result.
std::optional<QString> UnnumberedPath(const QString& path);

// Whether path is wanted itself or one of its numbered names: otherwise the
// target took the result under a name of its own.
bool IsWantedOrNumbered(const QString& path, const QString& wanted);

// Where one source's result goes, decided when its turn comes.
struct OutputChoice {
    enum class Kind {
        Free,     // nothing is there (or what a dead run left: removed when made)
        Ours,     // this job's own earlier result for the same source
        Exists,   // something the job did not make: replaced only when asked
        TooLong,  // no shortening makes a name the file system takes
    };
    QString path;
    Kind kind = Kind::Free;
    // The target refused the wanted name, and the result got path's instead.
    bool renamed = false;
};

// The output names of one job, so that a result never replaces another
// source's result from the same job (names equal but for letter case are one
// name: on a phone card or stick they are one file), never lands on a file the job was asked
// to reduce unless that file is the result of an earlier run, and a file that
// was there before the job is told apart from one the job made. The same
// source listed twice gets its own name back, and its second result replaces
// the first.
class OutputNames {
  public:
    // trial says what names the targets take (TargetNames).
    explicit OutputNames(NameTrial trial = &TryName) : targets_(std::move(trial)) {}

    // A file the job will read: no numbered name may be given to it.
    void protectSource(const QString& source);

    // Where source's result goes: wanted itself, or wanted with " (2)",
    // " (3)" ... before its extension when this job gave that name to
    // another source, or a listed source is at the numbered name; each name
    // as the target takes it (TargetNames). A file that was already at
    // wanted counts as Exists before any number is tried, even when it is a
    // listed source; so does one at the numbered name the job would take.
    // Nothing is claimed: see claim().
    OutputChoice decide(const QString& source, const QString& wanted);

    // The folder relative to root, each name as the target takes it.
    QString targetFolder(const QString& root, const QString& relative) {
        return targets_.fitFolders(root, relative);
    }

    // The name is source's from now on, in this job.
    void claim(const QString& source, const QString& path);

  private:
    bool isProtected(const QString& path) const;

    TargetNames targets_;
    std::set<FileIdentity> protected_;    // the listed sources
    std::set<QString> protectedNames_;    // their places' folded texts
    std::map<QString, QString> claimed_;  // folded place text -> file key of the source it holds
};

}  // namespace mirelune
