// SPDX-License-Identifier: GPL-3.0-or-later
#include "landing/ListedResults.h"

#include <algorithm>
#include <functional>
#include <map>

#include "landing/OutputNaming.h"
#include "shell/PathHelpers.h"
#include "shell/Place.h"

namespace mirelune {
std::vector<std::optional<std::size_t>> FindListedResults(const std::vector<ListedFile>& files) {
    // Wanted outputs by the file already there (so other spellings of it
    // count) and by name (a numbered result may be there without the plain one).
    std::map<FileIdentity, std::vector<std::size_t>> byIdentity;
    std::map<QString, std::vector<std::size_t>> byPlace;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i].wanted.isEmpty()) {
            continue;
        }
        const Place wanted(files[i].wanted);
        if (wanted.identity()) {
            byIdentity[*wanted.identity()].push_back(i);
        }
        byPlace[wanted.foldedText()].push_back(i);
    }

    enum class State { Unknown, Deciding, Decided };
    std::vector<State> state(files.size(), State::Unknown);
    std::vector<std::optional<std::size_t>> resultOf(files.size());
    std::function<bool(std::size_t)> isResult = [&](std::size_t i) {
        if (state[i] == State::Decided) {
            return resultOf[i].has_value();
        }
        if (state[i] == State::Deciding || !files[i].mp3) {
            return false;  // a loop of wanted names has no first source: none is a result
        }
        state[i] = State::Deciding;
        std::vector<std::size_t> producers;
        if (const auto identity = IdentityOf(files[i].path)) {
            const auto found = byIdentity.find(*identity);
            if (found != byIdentity.end()) {
                producers = found->second;
            }
        }
        // By name too, without letter case: on a case-blind stick "Song.mp3"
        // is the wanted "song.mp3" under another inode number.
        for (const QString& name :
             {files[i].path, UnnumberedPath(files[i].path).value_or(QString())}) {
            const auto found =
                name.isEmpty() ? byPlace.end() : byPlace.find(Place(name).foldedText());
            if (found != byPlace.end()) {
                producers.insert(producers.end(), found->second.begin(), found->second.end());
            }
        }
        std::sort(producers.begin(), producers.end());
        for (const std::size_t producer : producers) {
            if (producer != i && !MayBeSource(files[i].path, files[producer].path) &&
                !isResult(producer)) {
                resultOf[i] = producer;
                break;
            }
        }
        state[i] = State::Decided;
        return resultOf[i].has_value();
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        isResult(i);
    }
    return resultOf;
}

}  // namespace mirelune
