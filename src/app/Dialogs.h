#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestavel {

inline constexpr std::string_view kMessageTitle = "信息：";
inline constexpr std::string_view kQuestionTitle = "提示";

// Message boxes and file choosers. Texts are UTF-8; a chooser gives nothing when cancelled.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // OK button, no icon.
    virtual void message(std::string_view text, std::string_view title = kMessageTitle) = 0;
    // OK and Cancel; true for OK. Closing the box counts as Cancel.
    virtual bool confirm(std::string_view text, std::string_view title = kQuestionTitle) = 0;
    // Yes and No with a warning icon; true for Yes.
    virtual bool askYesNo(std::string_view text, std::string_view title = kMessageTitle) = 0;
    virtual std::optional<std::string> chooseFolder(std::string_view prompt) = 0;
    virtual std::optional<std::string> chooseSaveFile(std::string_view title,
                                                      std::string_view filter,
                                                      std::string_view defaultName,
                                                      std::string_view startFolder) = 0;
    virtual std::optional<std::string> chooseOpenFile(std::string_view title,
                                                      std::string_view filter,
                                                      std::string_view startFolder) = 0;
};

}  // namespace kestavel
