// Which wizard pages are shown, and the page shown now.
#pragma once

constexpr int kLanguagePage = 1;
constexpr int kInstallPage = 9;
constexpr int kFinishPage = 10;

// Entries 1 to 8: whether pages 1 to 8 are shown; entry 9: whether the finish page waits for
// the user. Entry 0 is unused. Filled once at start-up.
extern bool PageEnabled[10];
extern int CurrentPage;

// Shows the page, or, when it is switched off, the nearest page that is on in the given
// direction (pages 9 and 10 are always on).
void ShowPage(int page, bool forward);
