// Program-wide services of our forms layer: the module instance, the message loop, the
// count of loaded forms, screen twips, and ending the program.
//
// Implements: RunMessageLoop (returns when the last form has gone), EndProgram (stop at
// once: no further handler of any form runs), twips per pixel from the screen's logical
// pixels per inch. Does not implement: accelerators, idle processing, DDE.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

// The module instance that window classes and resources belong to. Set once by WinMain.
void SetInstance(HINSTANCE instance);
HINSTANCE Instance();

// The program's command line without the program name and the blanks behind it (ANSI
// bytes, possibly empty), taken afresh from GetCommandLineA at every call.
std::string CommandArguments();

// Pumps messages until no form is loaded any more (or WM_QUIT arrives); returns the exit
// code. Returns at once when no form is loaded.
int RunMessageLoop();

// Ends the program at once: no further event handler runs, every window goes away with the
// process, and the process exits with the given code.
[[noreturn]] void EndProgram(UINT exitCode = 0);

// Twips (1/1440 inch) per screen pixel on each axis: 15 at 96 dpi, 12 at 120 dpi.
float TwipsPerPixelX();
float TwipsPerPixelY();

// Pixels from twips on each axis, rounded to the nearest pixel.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// Used by Form: the number of forms whose window exists. When it drops to zero the message
// loop ends.
void NoteFormLoaded();
void NoteFormGone();
int LoadedFormCount();

}  // namespace forms
