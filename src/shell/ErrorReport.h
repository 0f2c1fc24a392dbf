#pragma once

#include <QString>
#include <exception>

namespace mirelune {

class WindowLayer;

inline constexpr char kErrorReportTitle[] = "Application Error";
inline constexpr char kSupportAddress[] = "support@mirelune.example";

// The text of a caught failure: what() of a standard exception, a fixed
// sentence for anything else.
QString DescribeFailure(std::exception_ptr failure);

QString ErrorReportText(const QString& failure, const QString& location, int step);

// Shows the report and returns when the user has closed it. Never throws:
// it runs inside catch blocks that must not let anything escape to Qt.
void ShowErrorReport(WindowLayer& window, const QString& failure, const QString& location,
                     int step) noexcept;

}  // namespace mirelune
