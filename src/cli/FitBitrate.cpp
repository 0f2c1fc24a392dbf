// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FitBitrate.h"

#include <QLocale>
#include <algorithm>

#include "shell/NameText.h"

namespace mirelune::cli {
namespace {

QString Size(std::int64_t bytes) {
    return QLocale::c().formattedDataSize(std::max<std::int64_t>(bytes, 0), 2,
                                          QLocale::DataSizeIecFormat);
}

}  // namespace

FitOutcome FitBitrate(const Plan& plan, const FitTarget& target, int jobs,
                      const std::vector<int>& offered, const FileSystemQuery& query) {
    FitOutcome outcome;
    if (plan.reductions.empty() || offered.empty()) {
        // Every result is there already: no bitrate makes anything.
        outcome.kbps = offered.empty() ? 0 : offered.back();
        outcome.text = QStringLiteral("nothing to reduce");
        return outcome;
    }
    const OutputRoom output(plan.reductions, query);
    FitRoom room;
    room.fileSystems = output.fileSystems();
    if (target.free) {
        for (std::size_t fs = 0; fs < room.fileSystems.size(); ++fs) {
            if (!room.fileSystems[fs].free) {
                outcome.refusal = QStringLiteral(
                                      "--fit free: the file system of %1 tells no free space; "
                                      "give the size the results may take (--fit 900M)")
                                      .arg(ShownPath(output.shownFolders()[fs]));
                return outcome;
            }
        }
    } else {
        room.size = target.size;
    }
    std::vector<std::vector<FitRow>> rowsAt;
    rowsAt.reserve(offered.size());
    for (const int kbps : offered) {
        rowsAt.push_back(output.rowsAt(plan.reductions, kbps));
    }
    const FitChoice choice = ChooseBitrate(rowsAt, room, jobs);
    const QString where = choice.fileSystem && output.shownFolders().size() > 1
                              ? QStringLiteral(" free in %1")
                                    .arg(ShownPath(output.shownFolders()[*choice.fileSystem]))
                              : (target.free ? QStringLiteral(" free") : QString());
    if (!choice.chosen) {
        outcome.text =
            QStringLiteral("nothing fits: at %1 kbps the results need %2, and there is %3%4")
                .arg(offered.empty() ? 0 : offered.front())
                .arg(Size(choice.needed), Size(static_cast<std::int64_t>(choice.room)), where);
        return outcome;
    }
    outcome.kbps = offered[*choice.chosen];
    outcome.text =
        QStringLiteral("%1 kbps: %2 of %3%4; ")
            .arg(*outcome.kbps)
            .arg(Size(choice.needed), Size(static_cast<std::int64_t>(choice.room)), where);
    outcome.text += *choice.chosen + 1 < offered.size() ? QStringLiteral("%1 kbps would need %2")
                                                              .arg(offered[*choice.chosen + 1])
                                                              .arg(Size(choice.nextNeeded))
                                                        : QStringLiteral("the highest bitrate");
    return outcome;
}

}  // namespace mirelune::cli
