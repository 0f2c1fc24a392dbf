// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace mirelune::temporary_result {

// A result in the making is written beside its output under a short hidden
// name: this prefix, a tag of letters and digits, this suffix. It never ends
// in ".mp3", so a leftover never passes for a result, and the sweep of
// leftovers knows one by its name alone. Plain C++, for the encoder program
// writes such files too.
//
// A run's temporary names also carry the run's tag before the file's own:
// ".mirelune-<run tag>-<tag>.part". The run keeps a mark named after its tag
// in the folder's .mirelune folder while it writes there, which tells every
// other run, on this machine or another, whether those files are still in
// use. The encoder run alone writes names without a run tag.
inline constexpr char kPrefix[] = ".mirelune-";
inline constexpr char kSuffix[] = ".part";
inline constexpr std::size_t kTagLength = 6;
inline constexpr std::size_t kRunTagLength = 8;

inline bool IsTagText(const std::string& text, std::size_t from, std::size_t length) {
    for (std::size_t i = from; i < from + length; ++i) {
        const char c = text[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

// Whether fileName has one of the two forms.
inline bool IsTemporaryName(const std::string& fileName) {
    const std::string prefix(kPrefix);
    const std::string suffix(kSuffix);
    const std::size_t plain = prefix.size() + kTagLength + suffix.size();
    const std::size_t ofRun = plain + kRunTagLength + 1;
    if ((fileName.size() != plain && fileName.size() != ofRun) ||
        fileName.compare(0, prefix.size(), prefix) != 0 ||
        fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    if (fileName.size() == plain) {
        return IsTagText(fileName, prefix.size(), kTagLength);
    }
    return IsTagText(fileName, prefix.size(), kRunTagLength) &&
           fileName[prefix.size() + kRunTagLength] == '-' &&
           IsTagText(fileName, prefix.size() + kRunTagLength + 1, kTagLength);
}

// The run tag a temporary name carries; empty for a name without one, and
// for a name that is no temporary name.
inline std::string RunTagOf(const std::string& fileName) {
    const std::size_t plain =
        std::string(kPrefix).size() + kTagLength + std::string(kSuffix).size();
    if (!IsTemporaryName(fileName) || fileName.size() == plain) {
        return {};
    }
    return fileName.substr(std::string(kPrefix).size(), kRunTagLength);
}

// The mkstemps template for a temporary file beside an output of that name:
// the output of a run (itself a temporary name of the run) gives its run tag
// on, so the encoder's own file is covered by the same mark.
inline std::string TemplateFor(const std::string& outputFileName) {
    const std::string runTag = RunTagOf(outputFileName);
    return std::string(kPrefix) + (runTag.empty() ? std::string() : runTag + '-') +
           std::string(kTagLength, 'X') + kSuffix;
}

}  // namespace mirelune::temporary_result
