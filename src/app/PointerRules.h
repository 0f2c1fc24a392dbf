// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace mirelune {

// The main window's pointer: the plain arrow, the busy pointer while a long
// operation runs, and the hand over the push buttons.
enum class PointerKind { Default = 0, Busy = 11, Custom = 99 };

// What the pointer is over when it moves.
enum class PointerArea {
    PushButton,  // any of the window's push buttons that can be pressed
    Plain,       // the window's background, a frame, the file list, or a disabled push button
    Other,       // a control that leaves the pointer as it is
};

// The busy pointer is the one sign of a long operation, so nothing but that
// operation takes it away.
constexpr PointerKind PointerAfterMove(PointerKind current, PointerArea area) {
    if (current == PointerKind::Busy) {
        return current;
    }
    switch (area) {
        case PointerArea::PushButton:
            return PointerKind::Custom;
        case PointerArea::Plain:
            return PointerKind::Default;
        case PointerArea::Other:
            break;
    }
    return current;
}

}  // namespace mirelune
