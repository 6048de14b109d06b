#pragma once

#include <string>

#include "app/BusyState.h"
#include "app/CheckBox.h"
#include "app/Dialogs.h"
#include "app/EventPump.h"
#include "app/InputBox.h"
#include "app/ItemList.h"
#include "app/PictureBox.h"
#include "app/Shell.h"
#include "app/TextBox.h"

namespace kestavel {

// The controls and services a window hands to its commands. A command uses only what it needs;
// tests fill the same struct with fakes.
struct CommandContext {
    std::string runDirectory;

    ItemList* list = nullptr;
    TextBox* workshopFolder = nullptr;
    TextBox* pagePrefix = nullptr;
    TextBox* progressBox = nullptr;
    TextBox* resultBox = nullptr;
    TextBox* descriptionBox = nullptr;
    TextBox* previewCaption = nullptr;
    TextBox* noPreviewLink = nullptr;
    TextBox* jumpBox = nullptr;
    TextBox* leastHours = nullptr;
    TextBox* mostHours = nullptr;
    CheckBox* keepPreviewBackup = nullptr;
    PictureBox* previewPicture = nullptr;
    CheckBox* showProgress = nullptr;
    InputBox* searchCondition = nullptr;
    CheckBox* fuzzySearch = nullptr;

    BusyState* busy = nullptr;
    Dialogs* dialogs = nullptr;
    EventPump* pump = nullptr;
    Shell* shell = nullptr;
};

}  // namespace kestavel
