// The temporary work folder: the user's temporary folder + "\ZXTMP" + three random digits.
// It holds "setup.cab", the extracted configuration and, while a file is installed,
// "file.cab"; it is removed at every end of the process.
#pragma once
#include <string>

extern std::string WorkDir;  // full path, no trailing backslash

// Seeds the random generator from the clock and draws the first name.
void DrawWorkDir();

// Creates the folder WorkDir names. A name that is taken already is never used: another is
// drawn, a bounded number of times. False when no folder could be created; WorkDir is then
// empty, so that nothing belonging to somebody else is removed at the end.
bool CreateWorkDir();

// Deletes the files directly in the work folder (subfolders are left, failures ignored), then
// the folder itself if it can be. Does nothing unless this process created the folder.
void RemoveWorkDir();

// Forgets the work folder without touching it (for a fresh start in tests).
void ResetWorkDir();
