#include "ui/JumpBox.h"

namespace kestavel {

void JumpBox::mouseReleaseEvent(QMouseEvent* event) {
    NumberBox::mouseReleaseEvent(event);
    selectAll();
}

}  // namespace kestavel
