#include "reduce/DoneMessage.h"

namespace mirelune {

QString DoneMessage(const std::vector<RowFailure>& failures) {
    QString text = QStringLiteral("Done.");
    if (failures.empty()) {
        return text;
    }
    const auto count = static_cast<qsizetype>(failures.size());
    text += count == 1 ? QStringLiteral("\n\n1 file failed:")
                       : QStringLiteral("\n\n%1 files failed:").arg(count);
    const qsizetype listed = std::min<qsizetype>(count, kListedFailures);
    for (qsizetype i = 0; i < listed; ++i) {
        const RowFailure& failure = failures[static_cast<std::size_t>(i)];
        text += QLatin1Char('\n') + failure.fileName + QStringLiteral(": ") + failure.reason;
    }
    if (count > listed) {
        text += QStringLiteral("\nand %1 more").arg(count - listed);
    }
    return text;
}

QString ChooseOutputMessage() {
    return QStringLiteral(
        "Please choose where to save the results: \"Save results to this folder:\" or "
        "\"Save results in folder of original file\".");
}

}  // namespace mirelune
