#pragma once

#include <QPixmap>

#include "app/ItemList.h"

namespace kestavel {

// The 8 × 7 outline triangles of a sorted column: grey on the left side and the base, white on
// the right side, transparent elsewhere. A null pixmap for no arrow.
QPixmap HeaderArrowPixmap(HeaderArrow arrow);

}  // namespace kestavel
