// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>
#include <exception>

#include "shell/ProductInfo.h"

namespace mirelune {

class WindowLayer;

inline constexpr char kErrorReportTitle[] = QT_TRANSLATE_NOOP("ErrorReport", "Application Error");

// The text of a caught failure: what() of a standard exception, a fixed
// sentence for anything else.
QString DescribeFailure(std::exception_ptr failure);

// The report ends by asking for a screenshot by e-mail to supportAddress; a
// build that names no address leaves that sentence out rather than ask the
// user to write to nobody.
QString ErrorReportText(const QString& failure, const QString& location, int step,
                        const QString& supportAddress = SupportAddress());

// Shows the report and returns when the user has closed it. Never throws:
// it runs inside catch blocks that must not let anything escape to Qt.
void ShowErrorReport(WindowLayer& window, const QString& failure, const QString& location,
                     int step) noexcept;

}  // namespace mirelune
