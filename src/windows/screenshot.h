#pragma once
// vantrel --screenshot OUT.png [--window NAME] [--tab N] [--size WxH] FILE: a picture of a window after a load.

#include <QStringList>

namespace vantrel {

// Keeps Qt's notes about the offscreen platform off stderr, where only the picture
// command's own line belongs; call before the application object exists.
void Quiet_Qt_Notes();

// Window names a picture can be taken of.
QStringList Screenshot_Window_Names();

// Loads FILE into a main window of 1024 x 768 with the default settings, opens the named
// window (the dialogs on tab N, from 1), lets it draw and writes it to OUT.png. 0 on success; 1 with one line on stderr
// for a bad argument, an unknown window name or a file that does not load. arguments
// are those after "--screenshot".
int Run_Screenshot(const QStringList& arguments);

}  // namespace vantrel
