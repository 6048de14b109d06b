#pragma once

#include <string>
#include <string_view>

#include "platform/GbkText.h"

namespace kestavel {

// The cell test of every find. Without fuzzy only byte-for-byte equality counts; with fuzzy the
// search text may occur anywhere in the subject, ASCII letters compared without regard to case
// and every other byte exactly, starting only at character boundaries (never on the second
// byte of a double-byte character). An empty search text occurs in every non-empty subject and
// in no empty one, so it never matches an empty subject.
bool CellMatch(const GbkText& subject, const GbkText& searchText, bool fuzzy);

// CellMatch for one search text over many subjects.
class CellMatcher {
  public:
    CellMatcher(const GbkText& searchText, bool fuzzy);
    bool matches(const GbkText& subject) { return matches(subject.view()); }
    bool matches(std::string_view subject);

  private:
    GbkText searchText_;
    bool fuzzy_;
};

}  // namespace kestavel
