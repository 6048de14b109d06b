#include "pictures/PreviewFiles.h"

#include "catalogue/ItemFolder.h"

namespace kestavel {

PreviewFiles PreviewFiles::of(const std::string& workshopFolder, const GbkText& code) {
    const ItemFolder folder(workshopFolder, code);
    return PreviewFiles{folder.preview(), folder.previewTemporary(), folder.previewBackup()};
}

}  // namespace kestavel
