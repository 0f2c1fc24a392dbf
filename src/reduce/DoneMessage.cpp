// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/DoneMessage.h"

#include "shell/NameText.h"

namespace mirelune {
namespace {

// "\n\nN files <what>:" and a line per file, at most kListedFailures.
QString Listed(const std::vector<RowFailure>& rows, const char* what) {
    const auto count = static_cast<qsizetype>(rows.size());
    QString text = count == 1
                       ? QStringLiteral("\n\n1 file %1:").arg(QLatin1String(what))
                       : QStringLiteral("\n\n%1 files %2:").arg(count).arg(QLatin1String(what));
    const qsizetype listed = std::min<qsizetype>(count, kListedFailures);
    for (qsizetype i = 0; i < listed; ++i) {
        const RowFailure& row = rows[static_cast<std::size_t>(i)];
        text += QLatin1Char('\n') + ShownPath(row.fileName) + QStringLiteral(": ") + row.reason;
    }
    if (count > listed) {
        text += QStringLiteral("\nand %1 more").arg(count - listed);
    }
    return text;
}

}  // namespace

QString DoneMessage(const std::vector<RowFailure>& failures, const std::vector<RowFailure>& skipped,
                    const std::vector<RowFailure>& renamed) {
    QString text = QStringLiteral("Done.");
    if (!failures.empty()) {
        text += Listed(failures, "failed");
    }
    if (!skipped.empty()) {
        text += Listed(skipped, "skipped");
    }
    if (!renamed.empty()) {
        text += Listed(renamed, "renamed for the target");
    }
    return text;
}

QString SavedAs(const QString& fileName) {
    return QStringLiteral("saved as ") + ShownPath(fileName);
}

QString ReplaceQuestion(int count) {
    return QStringLiteral(
               "%1 of the results would replace files that already exist in the output folder. "
               "Replace them?")
        .arg(count);
}

QString ChooseOutputMessage() {
    return QStringLiteral(
        "Please choose where to save the results: \"Save results to this folder:\" or "
        "\"Save results in folder of original file\".");
}

}  // namespace mirelune
