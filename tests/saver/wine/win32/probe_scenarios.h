#pragma once
// The scenarios of toolkit_probe.exe; each prints key=value lines and
// returns the program's exit code.
#include <string>
#include <vector>

#include "saver/toolkit/win32/win32_application.h"

namespace probe {

using Args = std::vector<std::string>;
using App = toolkit::win32::Win32Application;

// Forms and the event loop.
int Hidden(App& app, const Args& args);     // TITLE: a loaded, never shown form
int Find(App& app, const Args& args);       // TITLE: WindowExists
int Close(App& app, const Args& args);      // TITLE: WM_CLOSE to that window
int Timers(App& app, const Args& args);
int Host(App& app, const Args& args);       // destroy|exit: a window to embed into
int Embed(App& app, const Args& args);      // HANDLE: the preview's embedding
int Modal(App& app, const Args& args);
int EndSession(App& app, const Args& args); // FILE: notes the unload events there

// Drawing.
int SurfaceScenario(App& app, const Args& args);  // FOLDER for the captures
int Labels(App& app, const Args& args);           // FOLDER for the captures
int Pictures(App& app, const Args& args);         // JPEG file

// Input.
int Mouse(App& app, const Args& args);
int Tab(App& app, const Args& args);

// The system's services.
int Start(App& app, const Args& args);       // PATH
int OpenUrl(App& app, const Args& args);     // URL
int FileDialog(App& app, const Args& args);  // FOLDER NAME ok|cancel
int Metrics(App& app, const Args& args);

}  // namespace probe
