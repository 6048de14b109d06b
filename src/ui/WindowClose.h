#pragma once

namespace kestavel {

class CommandHost;
class WindowCopy;

// A window's close request. A copy from the window is asked about first (Yes ends it). While
// commands of the window run, they are told to stop at their next item and the close waits:
// `closing` then makes the window close once its last command has ended, asking nothing again.
// True when the window may close now.
bool MayCloseNow(CommandHost& host, WindowCopy& copy, bool& closing);

}  // namespace kestavel
