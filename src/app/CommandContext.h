#pragma once

#include <string>

#include "app/BusyState.h"
#include "app/CheckBox.h"
#include "app/CommandHost.h"
#include "app/Dialogs.h"
#include "app/EventPump.h"
#include "app/InputBox.h"
#include "app/ItemList.h"
#include "app/PictureBox.h"
#include "app/Shell.h"
#include "app/TextBox.h"
#include "platform/FileSystem.h"
#include "platform/HttpClient.h"

namespace kestavel {

// How a window's long commands show their progress.
enum class ProgressVariant {
    ShownWhileRunning,  // MainWindow: the progress box over the list, while "进度显示" is ticked
    AlwaysShown,        // EditWindow: the progress box stands in the window all the time
    ResultBoxOnly,      // PictureWindow: no progress box, only the result box
};

// MainWindow's item view, which shows the current row of either list.
struct ItemViewPorts {
    ItemList* mainList = nullptr;  // the list a double click on the preview scrolls
    TextBox* description = nullptr;
    TextBox* caption = nullptr;
    TextBox* noPreviewLink = nullptr;
    PictureBox* picture = nullptr;
};

// The two settings; they live in MainWindow's boxes and are read at the moment of use.
struct SettingsBoxes {
    TextBox* workshopFolder = nullptr;
    TextBox* pagePrefix = nullptr;
};

// The workshop folder as the box holds it at the moment of use, by the name the file system
// knows it (the box holds text; the folder's name on disk may be GBK bytes).
inline std::string WorkshopFolder(const SettingsBoxes& settings) {
    return PathAsOnDisk(settings.workshopFolder->text());
}

// The controls of the window the command was started from. A window leaves out what it lacks.
struct WindowControls {
    ProgressVariant progress = ProgressVariant::ShownWhileRunning;
    ItemList* list = nullptr;
    TextBox* progressBox = nullptr;
    TextBox* resultBox = nullptr;
    TextBox* jumpBox = nullptr;
    InputBox* searchCondition = nullptr;
    CheckBox* fuzzySearch = nullptr;
    CheckBox* showProgress = nullptr;
    TextBox* leastHours = nullptr;
    TextBox* mostHours = nullptr;
    CheckBox* keepPreviewBackup = nullptr;
};

struct CommandServices {
    Dialogs* dialogs = nullptr;
    EventPump* pump = nullptr;
    Shell* shell = nullptr;
    BusyState* busy = nullptr;  // MainWindow's, whichever window runs the command
    // Every fetch of a command gets a connection of its own made with these options; up to
    // fetchesAtOnce of them run at the same time.
    HttpOptions http;
    int fetchesAtOnce = 4;
    CommandHost* host = nullptr;  // the window's running commands and their stop request
};

// Everything a window hands its commands, built by each window for itself; tests fill the same
// struct with fakes.
struct CommandContext {
    std::string runDirectory;
    WindowControls window;
    SettingsBoxes settings;
    ItemViewPorts itemView;
    CommandServices services;
};

}  // namespace kestavel
