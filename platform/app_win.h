// The process around the forms: the message loop, the count of live forms, ending at once and
// the one place that reports a run-time error.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace gloam::app {

inline constexpr wchar_t kProductTitle[] = L"Gloam Drift Screen Saver";

void SetInstance(HINSTANCE instance);
HINSTANCE Instance();

// Every form window counts itself in on creation and out on destruction; when the last one goes
// after start-up has returned, the message loop ends.
void FormCreated();
void FormDestroyed();

// Gets the first look at every message taken from the queue, before it is translated and
// dispatched; returns true when it handled the message. One form per process sets it.
using MessageFilter = bool (*)(MSG& message);
void SetMessageFilter(MessageFilter filter);

// Runs the queue until no form is left. Returns the process exit code.
int RunMessageLoop();

// Handles the messages already waiting, then returns.
void LetPendingEventsRun();

// Stops the process where it stands: no form is unloaded, no handler runs, nothing is shown.
[[noreturn]] void EndAtOnce();

// Shows the run-time error report in front of everything and ends the process with exit code 1.
// `message` is UTF-8.
[[noreturn]] void ReportRuntimeError(std::string_view message);

// True from the moment a report is being shown: windows then stop handling their messages.
bool Reporting();

}  // namespace gloam::app
