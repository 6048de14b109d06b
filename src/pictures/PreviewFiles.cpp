#include "pictures/PreviewFiles.h"

#include "catalogue/ItemView.h"
#include "catalogue/ModFolder.h"

namespace kestavel {

PreviewFiles PreviewFiles::of(const std::string& workshopFolder, const GbkText& code) {
    const std::string folder = ModFolder(workshopFolder, code);
    const std::string name = GbkToUtf8(code);
    return PreviewFiles{PreviewPicturePath(workshopFolder, code),
                        JoinPath(folder, name + ".tmp.jpg"), JoinPath(folder, name + ".bak.jpg")};
}

}  // namespace kestavel
