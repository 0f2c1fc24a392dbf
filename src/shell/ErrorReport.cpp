// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ErrorReport.h"

#include <QCoreApplication>
#include <QtGlobal>

#include "shell/WindowLayer.h"

namespace mirelune {

QString DescribeFailure(std::exception_ptr failure) {
    try {
        if (failure) {
            std::rethrow_exception(failure);
        }
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QCoreApplication::translate("ErrorReport", "Unexpected failure of unknown kind");
}

QString ErrorReportText(const QString& failure, const QString& location, int step,
                        const QString& supportAddress) {
    QString text = failure + QStringLiteral("\r\n") + location + QStringLiteral("at line ") +
                   QString::number(step);
    if (!supportAddress.isEmpty()) {
        text += QStringLiteral("\r\r") +
                QCoreApplication::translate("ErrorReport",
                                            "Please email screenshot of this message to %1")
                    .arg(supportAddress);
    }
    return text;
}

void ShowErrorReport(WindowLayer& window, const QString& failure, const QString& location,
                     int step) noexcept {
    try {
        window.messageBox(ErrorReportText(failure, location, step),
                          QCoreApplication::translate("ErrorReport", kErrorReportTitle),
                          MessageButtons::Ok, MessageIcon::Warning);
    } catch (...) {
        // The box itself failed (out of memory, say): the report is all the
        // handling there is, so leave a trace rather than end the program.
        try {
            qCritical("%s", qUtf8Printable(
                                LineBreaksForDisplay(ErrorReportText(failure, location, step))));
        } catch (...) {
        }
    }
}

}  // namespace mirelune
