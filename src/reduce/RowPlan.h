// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <optional>

#include "folders/FileStamp.h"

namespace mirelune {

// What happens to one listed file, decided before anything runs.
struct RowPlan {
    enum class Action {
        Reduce,   // its result goes to a free name
        Replace,  // its result may replace what is at output
        Skip,
        Fail,
    };
    QString source;
    std::size_t candidate = 0;  // its place in the candidate list
    Action action = Action::Skip;
    // Where its result goes; for a skipped row, the name it was given, if any.
    QString output{};
    // Why it is skipped or fails; for a row that would replace a file the
    // user did not let it replace, why it is skipped then.
    QString reason{};
    // For a row skipped as another listed file's result, that file.
    QString producer{};
    // The target refused the name (or a kept folder's name) the result would
    // have had, and output is the one it takes.
    bool renamed = false;
    // The folder whose journal gets the result's record.
    QString recordRoot{};
    // A result made again replaces only a file with this stamp.
    std::optional<FileStamp> expectedThere{};
    qint64 sourceBytes = 0;
};

}  // namespace mirelune
