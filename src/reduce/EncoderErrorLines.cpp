// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderErrorLines.h"

#include <QRegularExpression>

namespace mirelune {
namespace {

// The longest encoder line kept; a program that never ends its line cannot
// make us hold more than this.
constexpr int kMaxLineBytes = 4096;

// Terminal colour and cursor codes, and other control characters, are not
// part of what the encoder meant to say.
QString Readable(const QByteArray& line) {
    QString text = QString::fromLocal8Bit(line);
    QString clean;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\x1b') {
            // ESC [ ... final letter
            ++i;
            if (i < text.size() && text[i] == u'[') {
                while (i + 1 < text.size() && !text[i + 1].isLetter()) {
                    ++i;
                }
                ++i;
            }
            continue;
        }
        if (c.unicode() >= 32 && c.unicode() != 127) {
            clean += c;
        }
    }
    return clean.trimmed();
}

// LAME's progress display: the frame counter ("  120/383 (31%)|  0:01/..."),
// its table header and rules, and the statistics after it. None of it says
// why an encode failed.
bool IsProgressText(const QString& line) {
    static const QRegularExpression kCounter(QStringLiteral(R"(^\d+/\d+\s*\()"));
    static const QRegularExpression kRule(QStringLiteral(R"(^[-=+| ]+$)"));
    return line.contains(QLatin1Char('|')) || kCounter.match(line).hasMatch() ||
           kRule.match(line).hasMatch();
}

}  // namespace

void EncoderErrorLines::append(const QByteArray& bytes) {
    for (const char byte : bytes) {
        if (byte == '\n' || byte == '\r') {
            endLine();
        } else if (partialLine_.size() < kMaxLineBytes) {
            partialLine_.append(byte);
        }
    }
}

void EncoderErrorLines::endOfOutput() {
    endLine();
}

void EncoderErrorLines::endLine() {
    const QString line = Readable(partialLine_);
    if (!line.isEmpty() && !IsProgressText(line)) {
        lastLine_ = line;
    }
    partialLine_.clear();
}

}  // namespace mirelune
