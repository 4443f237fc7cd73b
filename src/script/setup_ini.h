// The setup script "setup.ini", open from start-up to the end of the run and read directly on
// every use. The [Setup] keys are known with their types and defaults: a key not in the table
// is a mistake of the program, not of the script.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "script/ini_file.h"

extern IniFile SetupIni;

enum class SetupKeyType { Boolean, String, Integer };

struct SetupKey {
  const char* name;
  SetupKeyType type;
  const char* defaultValue;  // "0"/"1" for Booleans, the number for integers, the text for strings
};

// Every key of [Setup] the program reads.
const std::vector<SetupKey>& SetupKeys();
const SetupKey* FindSetupKey(const std::string& name);  // without regard to case

// [Setup] values with the key's own default.
std::string SetupString(const char* key);
int32_t SetupInteger(const char* key);
bool SetupBool(const char* key);
