#pragma once

#include <QString>
#include <optional>

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

}  // namespace mirelune
