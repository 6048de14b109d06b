#include "catalogue/ItemFolder.h"

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kestavel {

ItemFolder::ItemFolder(std::string_view workshopFolder, const GbkText& code)
    : path_(JoinPath(workshopFolder, GbkToUtf8(code))), name_(GbkToUtf8(code)) {}

std::string ItemFolder::file(std::string_view suffix) const {
    return JoinPath(path_, name_ + std::string(suffix));
}

}  // namespace kestavel
