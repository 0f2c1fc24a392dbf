#pragma once

#include <QString>
#include <vector>

namespace mirelune {

// A row that did not give a result.
struct RowFailure {
    QString fileName;
    QString reason;
};

// The most failures the closing message lists one by one.
inline constexpr int kListedFailures = 20;

// "Done." and, when rows failed, how many and why: one line per failed file
// (name: reason), at most kListedFailures, then "and N more".
QString DoneMessage(const std::vector<RowFailure>& failures);

// The message of a job that cannot know where its results should go.
QString ChooseOutputMessage();

}  // namespace mirelune
