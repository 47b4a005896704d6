#pragma once
// The console the program runs in: whether a standard stream is a terminal,
// and the user's interrupt (Ctrl+C).
//
// An interrupt is only noted here; the program looks at the note from its
// main loop and stops its work in an orderly way, so that reports and
// backups are still written.

namespace brimlow::platform {

enum class StdStream { kInput, kOutput, kError };

// true when the stream is an interactive terminal (a console window on
// Windows), false when it is a file, a pipe or closed.
bool IsTerminal(StdStream stream);

// Main thread. From now on the first interrupt only raises the note; a
// second one ends the process the usual way, so a program that does not
// stop can still be killed from the keyboard.
void CatchInterrupt();

// Any thread: true once an interrupt has been noted and not yet cleared.
bool InterruptRequested();
// Any thread: notes an interrupt as the console would.
void RequestInterrupt();
void ClearInterrupt();

}  // namespace brimlow::platform
