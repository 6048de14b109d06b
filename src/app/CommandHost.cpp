#include "app/CommandHost.h"

namespace kestavel {

void CommandHost::begin() {
    ++running_;
    if (parent_) parent_->begin();
}

void CommandHost::end() {
    --running_;
    // The child settles before its parent, so a parent that closes next finds the child idle.
    if (running_ == 0 && idle_) idle_();
    if (parent_) parent_->end();
}

}  // namespace kestavel
