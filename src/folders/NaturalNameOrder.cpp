// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/NaturalNameOrder.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace mirelune {

namespace {

bool IsAsciiDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

std::u32string Folded(const QString& name) {
    std::u32string folded;
    folded.reserve(static_cast<std::size_t>(name.size()));
    for (const char32_t c : name.toUcs4()) {
        folded.push_back(QChar::toCaseFolded(c));
    }
    return folded;
}

// The end of the digit run that starts at from.
std::size_t DigitRunEnd(const std::u32string& text, std::size_t from) {
    while (from < text.size() && IsAsciiDigit(text[from])) {
        ++from;
    }
    return from;
}

// Folded names compared with each digit run taken as one number. A number
// meets a character as its first digit would, so every number sorts between
// "/" and ":", which keeps the order consistent.
int CompareFolded(const std::u32string& a, const std::u32string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsAsciiDigit(a[i]) && IsAsciiDigit(b[j])) {
            // Values of any length: without their leading zeros, the longer
            // run is the larger number, and runs of one length compare digit
            // by digit.
            const std::size_t aEnd = DigitRunEnd(a, i);
            const std::size_t bEnd = DigitRunEnd(b, j);
            while (i + 1 < aEnd && a[i] == U'0') {
                ++i;
            }
            while (j + 1 < bEnd && b[j] == U'0') {
                ++j;
            }
            if (aEnd - i != bEnd - j) {
                return aEnd - i < bEnd - j ? -1 : 1;
            }
            const int digits = a.compare(i, aEnd - i, b, j, bEnd - j);
            if (digits != 0) {
                return digits;
            }
            i = aEnd;
            j = bEnd;
            continue;
        }
        if (a[i] != b[j]) {
            return a[i] < b[j] ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

bool ByBytes(const QString& a, const QString& b) {
    return a.toUtf8() < b.toUtf8();
}

}  // namespace

bool NaturalNameLess(const QString& a, const QString& b) {
    const int folded = CompareFolded(Folded(a), Folded(b));
    return folded != 0 ? folded < 0 : ByBytes(a, b);
}

std::vector<std::size_t> NaturalOrderOf(const QStringList& names) {
    std::vector<std::u32string> folded;
    folded.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        folded.push_back(Folded(name));
    }
    std::vector<std::size_t> order(folded.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int byFolded = CompareFolded(folded[a], folded[b]);
        return byFolded != 0
                   ? byFolded < 0
                   : ByBytes(names[static_cast<qsizetype>(a)], names[static_cast<qsizetype>(b)]);
    });
    return order;
}

void SortNaturally(QStringList& names) {
    if (names.size() < 2) {
        return;
    }
    QStringList sorted;
    sorted.reserve(names.size());
    for (const std::size_t k : NaturalOrderOf(names)) {
        sorted.append(names[static_cast<qsizetype>(k)]);
    }
    names.swap(sorted);
}

}  // namespace mirelune
