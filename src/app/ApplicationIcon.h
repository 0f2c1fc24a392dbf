#pragma once

#include <QIcon>

namespace mirelune {

// The program's icon: three bars of falling height on a rounded square,
// drawn rather than shipped so it is sharp at every size.
QIcon ApplicationIcon();

}  // namespace mirelune
