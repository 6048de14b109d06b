#pragma once

namespace kestavel {

// The three windows that copy picked items; they differ in how the target folder is chosen, in
// where the texts go and in what the progress display looks like afterwards.
enum class CopyVariant { Main, Edit, Picture };

}  // namespace kestavel
