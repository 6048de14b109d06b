#pragma once

#include <stop_token>
#include <string>
#include <vector>

namespace kestavel {

// The folders and files of item folders, each as a path relative to the workshop folder (the
// item's id first), so one entry names both its source and its place under the target.
struct ItemTree {
    std::vector<std::string> folders;
    std::vector<std::string> files;
};

// Adds everything below root/relative to the tree, depth first: a folder before the folders in
// it, a folder's own files after everything found below it, entries in the order the file system
// gives them. Links to folders are not followed, so a tree that links to itself ends. A missing
// folder adds nothing. Stops early when a stop is requested.
void GatherItemTree(const std::string& root, const std::string& relative, ItemTree& tree,
                    std::stop_token stop = {});

// Whether an id names one folder directly inside the workshop folder: not empty, not "." or
// "..", no separator. Any other id would reach outside its own item.
bool IsItemFolderName(const std::string& id);

}  // namespace kestavel
