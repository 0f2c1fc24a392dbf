// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Shard.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QtEndian>
#include <algorithm>

#include "shell/NameText.h"

namespace mirelune::cli {
namespace {

template <typename Row, typename PathOf>
void KeepRows(std::vector<Row>& rows, const Shard& shard, PathOf pathOf) {
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&](const Row& row) {
                                  return ShardOf(pathOf(row), shard.count) != shard.index;
                              }),
               rows.end());
}

}  // namespace

std::optional<Shard> ParseShard(const QString& text) {
    static const QRegularExpression form(QStringLiteral(R"(^(\d{1,9})/(\d{1,9})$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const Shard shard{match.captured(1).toInt(), match.captured(2).toInt()};
    if (shard.index < 1 || shard.index > shard.count) {
        return std::nullopt;
    }
    return shard;
}

int ShardOf(const QString& path, int count) {
    // A fixed hash, not qHash: that one is seeded differently in every process.
    const QByteArray digest =
        QCryptographicHash::hash(NativeNameBytes(path), QCryptographicHash::Sha256);
    const quint64 value = qFromBigEndian<quint64>(digest.constData());
    return static_cast<int>(value % static_cast<quint64>(std::max(count, 1))) + 1;
}

void KeepShard(Plan& plan, const Shard& shard) {
    if (shard.count <= 1) {
        return;
    }
    KeepRows(plan.reductions, shard, [](const PlannedReduction& r) { return r.source; });
    KeepRows(plan.skipped, shard, [](const Note& n) { return n.path; });
    KeepRows(plan.failed, shard, [](const Note& n) { return n.path; });
    KeepRows(plan.takeOvers, shard, [](const TakeOver& t) { return t.record.source; });
}

}  // namespace mirelune::cli
