// The door between the program and its windows. The windows live in a
// module that the program loads only for an interactive start, so a headless
// run never loads the window system's libraries.
#pragma once

extern "C" {

// What the program hands to the windows: its arguments and the command line
// as evaluated (the paths already prefixed and checked).
struct TRdGuiStart {
  int argc;
  char** argv;
  const char* programDir;
  const char* texta;
  const char* textb;
};

using TRdRunInteractive = int (*)(const TRdGuiStart* start);

// Runs the windows until the main window closes; returns the exit status.
int RdRunInteractive(const TRdGuiStart* start);
}

// File name of the module, beside the program.
inline constexpr const char* kGuiModuleName = "libRavelleDiffGui.so";
