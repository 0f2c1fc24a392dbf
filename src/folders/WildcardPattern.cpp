// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/WildcardPattern.h"

#include <QChar>
#include <QList>

namespace mirelune {

namespace {

// Whole code points, case-folded, so "?" takes one character even outside the
// basic plane and "É" meets "é".
std::u32string Folded(const QString& text) {
    std::u32string folded;
    folded.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t c : text.toUcs4()) {
        folded.push_back(QChar::toCaseFolded(c));
    }
    return folded;
}

}  // namespace

WildcardPattern::WildcardPattern(const QString& pattern)
    : everyName_(pattern == QStringLiteral("*.*")), folded_(Folded(pattern)) {}

bool WildcardPattern::matches(const QString& name) const {
    if (everyName_) {
        return true;
    }
    const std::u32string text = Folded(name);
    // Greedy scan that returns to the last "*" on a mismatch: linear in
    // practice, and never worse than pattern length times name length.
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starAt = std::u32string::npos;
    std::size_t resumeAt = 0;
    while (t < text.size()) {
        if (p < folded_.size() && folded_[p] == U'*') {
            starAt = p++;
            resumeAt = t;
        } else if (p < folded_.size() && (folded_[p] == U'?' || folded_[p] == text[t])) {
            ++p;
            ++t;
        } else if (starAt != std::u32string::npos) {
            p = starAt + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < folded_.size() && folded_[p] == U'*') {
        ++p;
    }
    return p == folded_.size();
}

}  // namespace mirelune
