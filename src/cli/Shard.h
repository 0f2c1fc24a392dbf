// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "cli/ReducePlan.h"

namespace mirelune::cli {

// One of count parts of a job, so that count machines given the same paths
// each reduce their own part: index from 1 to count.
struct Shard {
    int index = 1;
    int count = 1;
};

// "K/N" with 1 <= K <= N, or nothing.
std::optional<Shard> ParseShard(const QString& text);

// The shard (1 to count) a row belongs to, from a hash of its path's bytes:
// the same on every machine and in every run, and unchanged by whatever else
// is listed, so rows do not move between shards when files come and go.
int ShardOf(const QString& path, int count);

// Leaves only the rows of shard: reductions, skips and failures alike, so
// the shards' reports add up to the whole job's.
void KeepShard(Plan& plan, const Shard& shard);

}  // namespace mirelune::cli
