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

// The highest bitrate any source has, in bits per second; nothing when no
// source's is known.
std::optional<qint32> HighestSourceBitrate(const Plan& plan) {
    std::optional<qint32> highest;
    for (const PlannedReduction& r : plan.reductions) {
        if (r.sourceBitrate && (!highest || *r.sourceBitrate > *highest)) {
            highest = r.sourceBitrate;
        }
    }
    return highest;
}

}  // namespace

FitOutcome FitBitrate(const Plan& plan, const FitTarget& target, int jobs,
                      const std::vector<int>& allOffered, const FileSystemQuery& query) {
    FitOutcome outcome;
    // A bitrate above every source's makes each result larger than its
    // original and no better: room to spare is no reason to choose one. The
    // lowest stays, for sources below every bitrate offered.
    const std::optional<qint32> highestSource = HighestSourceBitrate(plan);
    std::vector<int> offered;
    for (const int kbps : allOffered) {
        if (!highestSource || offered.empty() || kbps * 1000 <= *highestSource) {
            offered.push_back(kbps);
        }
    }
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
    if (*choice.chosen + 1 < offered.size()) {
        outcome.text += QStringLiteral("%1 kbps would need %2")
                            .arg(offered[*choice.chosen + 1])
                            .arg(Size(choice.nextNeeded));
    } else if (offered.size() < allOffered.size()) {
        outcome.text += QStringLiteral("no source goes above %1 kbps").arg(*highestSource / 1000);
    } else {
        outcome.text += QStringLiteral("the highest bitrate");
    }
    return outcome;
}

}  // namespace mirelune::cli
