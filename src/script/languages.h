// Language files: "<Language>.lng" INI files in the work folder, one per language, holding
// every text the setup shows. Start-up lists them in ComboLng, chooses one and opens it as
// LangIni; the language page can switch to another.
#pragma once
#include <string>

#include "script/ini_file.h"

extern IniFile LangIni;

// The text of a section's numbered key in the chosen language; "" when it is missing.
std::string LangText(const char* section, int key);

// Fills ComboLng with the work folder's languages (by name, without regard to case), selects
// [Setup] DefaultLanguage (with case) or, with AutoDetectLanguage, the last language whose
// [Info] id is the system's, and applies it. False when the work folder holds no language
// file (the package is then damaged).
bool LoadLanguages();

// Opens the language file as LangIni and puts its texts into the window's title, the
// application's title, the language page's two labels and the three frame buttons.
void ApplyLanguage(const std::string& path);

// The language list's handlers: another language picked; a key typed (Enter acts as Next).
void ComboLngChange();
void ComboLngKeyPress(char& key);
