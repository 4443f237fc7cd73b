#include "wizard/page_flow.h"

bool PageEnabled[10] = {};
int CurrentPage = 0;

void ShowPage(int page, bool forward) {
  while (page >= 1 && page < kInstallPage && !PageEnabled[page]) page += forward ? 1 : -1;
  CurrentPage = page;
}
