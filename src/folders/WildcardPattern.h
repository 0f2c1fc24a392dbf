// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace mirelune {

// A file-name wildcard as the file listing understands it: "*" matches any
// run of characters (also none), "?" exactly one character, everything else
// itself without regard to case. "*.*" is the conventional "every file" and
// matches names without a dot too.
class WildcardPattern {
  public:
    explicit WildcardPattern(const QString& pattern);

    bool matches(const QString& name) const;

  private:
    bool everyName_ = false;
    std::u32string folded_;
};

}  // namespace mirelune
