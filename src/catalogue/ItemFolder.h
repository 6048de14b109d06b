#pragma once

#include <string>
#include <string_view>

#include "platform/GbkText.h"

namespace kestavel {

// One item's folder in the workshop folder, named by its 编码, and every file the program keeps
// in it, named here and nowhere else.
class ItemFolder {
  public:
    ItemFolder(std::string_view workshopFolder, const GbkText& code);

    const std::string& path() const { return path_; }
    // The saved workshop page, and the name it is written under until it is whole.
    std::string page() const { return file(".info.txt"); }
    std::string temporaryPage() const { return file(".info.tmp.txt"); }
    // The preview picture, the download that may replace it, and the picture it replaced.
    std::string preview() const { return file(".jpg"); }
    std::string previewTemporary() const { return file(".tmp.jpg"); }
    std::string previewBackup() const { return file(".bak.jpg"); }
    // Full picture k of the item's page, from 1, and its download: a name that the checks for
    // full pictures ("*_pic*.jpg") never take for a picture.
    std::string fullPicture(int k) const { return file("_pic" + std::to_string(k) + ".jpg"); }
    std::string fullPictureTemporary(int k) const {
        return file("_pic" + std::to_string(k) + ".jpg.tmp");
    }

  private:
    std::string file(std::string_view suffix) const;

    std::string path_;
    std::string name_;  // the 编码 as a file name
};

}  // namespace kestavel
