// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/DoneMessage.h"

#include <QCoreApplication>

#include "shell/CountedText.h"
#include "shell/ElidedPath.h"
#include "shell/NameText.h"

namespace mirelune {
namespace {

// "\n\n" and the heading for the count (one, or many with "%n"), then a
// line per file, at most kListedFailures.
QString Listed(const QLocale& locale, const std::vector<RowFailure>& rows, const char* one,
               const char* many) {
    const auto count = static_cast<qsizetype>(rows.size());
    QString text =
        QStringLiteral("\n\n") + CountedText("DoneMessage", one, many, static_cast<int>(count));
    const qsizetype listed = std::min<qsizetype>(count, kListedFailures);
    for (qsizetype i = 0; i < listed; ++i) {
        const RowFailure& row = rows[static_cast<std::size_t>(i)];
        // French puts a blank before the colon, one that keeps it on the line.
        text += QLatin1Char('\n') +
                QCoreApplication::translate("DoneMessage", "%1: %2")
                    .arg(ElidePathToLength(ShownPath(row.fileName), kListedNameLength), row.reason);
    }
    if (count > listed) {
        text += QLatin1Char('\n') + QCoreApplication::translate("DoneMessage", "and %1 more")
                                        .arg(locale.toString(count - listed));
    }
    return text;
}

}  // namespace

QString DoneMessage(const QLocale& locale, const ReportGroups& groups) {
    QString text = QCoreApplication::translate("DoneMessage", "Done.");
    if (!groups.failures.empty()) {
        text += Listed(locale, groups.failures, QT_TRANSLATE_NOOP("DoneMessage", "1 file failed:"),
                       QT_TRANSLATE_N_NOOP("DoneMessage", "%n files failed:"));
    }
    if (!groups.skipped.empty()) {
        text += Listed(locale, groups.skipped, QT_TRANSLATE_NOOP("DoneMessage", "1 file skipped:"),
                       QT_TRANSLATE_N_NOOP("DoneMessage", "%n files skipped:"));
    }
    if (!groups.renamed.empty()) {
        text += Listed(locale, groups.renamed,
                       QT_TRANSLATE_NOOP("DoneMessage", "1 file renamed for the target:"),
                       QT_TRANSLATE_N_NOOP("DoneMessage", "%n files renamed for the target:"));
    }
    if (!groups.larger.empty()) {
        text +=
            Listed(locale, groups.larger,
                   QT_TRANSLATE_NOOP("DoneMessage", "1 result larger than the original:"),
                   QT_TRANSLATE_N_NOOP("DoneMessage", "%n results larger than their originals:"));
    }
    if (!groups.notes.empty()) {
        text += Listed(locale, groups.notes,
                       QT_TRANSLATE_NOOP("DoneMessage", "1 file reduced with a note:"),
                       QT_TRANSLATE_N_NOOP("DoneMessage", "%n files reduced with a note:"));
    }
    return text;
}

QString SavedAs(const QString& fileName) {
    return QCoreApplication::translate("DoneMessage", "saved as %1").arg(ShownPath(fileName));
}

QString ReplaceQuestion(int count, bool besideOriginals) {
    if (besideOriginals) {
        return CountedText(
            "DoneMessage",
            QT_TRANSLATE_NOOP("DoneMessage",
                              "1 result would replace a file that already exists beside its "
                              "original. Replace it?"),
            QT_TRANSLATE_N_NOOP("DoneMessage",
                                "%n of the results would replace files that already exist "
                                "beside their originals. Replace them?"),
            count);
    }
    return CountedText(
        "DoneMessage",
        QT_TRANSLATE_NOOP("DoneMessage",
                          "1 result would replace a file that already exists in the output "
                          "folder. Replace it?"),
        QT_TRANSLATE_N_NOOP("DoneMessage",
                            "%n of the results would replace files that already exist in the "
                            "output folder. Replace them?"),
        count);
}

QString ChooseOutputMessage() {
    return QCoreApplication::translate(
        "DoneMessage",
        "Please choose where to save the results: \"Save results to this folder:\" or "
        "\"Save results in folder of original file\".");
}

}  // namespace mirelune
