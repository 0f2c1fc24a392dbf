// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Location texts of the guarded operations. Each ends in a blank because the
// report appends "at line " directly.
namespace mirelune::location {

inline constexpr char kFormLoad[] = "in Quillbrook2021/08/31.Form1.Form_Load ";
inline constexpr char kFormQueryUnload[] = "in Quillbrook2021/08/31.Form1.Form_QueryUnload ";
inline constexpr char kPushButton1Click[] = "in Quillbrook2021/08/31.Form1.PushButton1_Click ";
inline constexpr char kPushButton2Click[] = "in Quillbrook2021/08/31.Form1.PushButton2_Click ";
inline constexpr char kPushButton3Click[] = "in Quillbrook2021/08/31.Form1.PushButton3_Click ";
inline constexpr char kPushButton4Click[] = "in Quillbrook2021/08/31.Form1.PushButton4_Click ";
inline constexpr char kPushButton5Click[] = "in Quillbrook2021/08/31.Form1.PushButton5_Click ";
inline constexpr char kPushButton7Click[] = "in Quillbrook2021/08/31.Form1.PushButton7_Click ";
inline constexpr char kGetSubDirectories2016[] =
    "in Harrowdene2021/08/31.AddFolder.GetSubDirectories2016 ";

// For the main window's handlers that have no guard of their own (list keys
// and mouse, option buttons, drops): the same form, named after the handler,
// for example FormHandler("ListView1_KeyDown").
inline QString FormHandler(const QString& handlerName) {
    return QStringLiteral("in Quillbrook2021/08/31.Form1.") + handlerName + QLatin1Char(' ');
}

}  // namespace mirelune::location
