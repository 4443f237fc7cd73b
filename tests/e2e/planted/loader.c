/* The control of the planted-DLL test: loads "cabinet.dll" by its bare name, through the
   default search order, which looks in the program's own folder first. Exit code 0 when a
   library was loaded. */
#include <windows.h>

int main(void) { return LoadLibraryA("cabinet.dll") ? 0 : 1; }
