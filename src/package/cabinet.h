// Extracting a cabinet into a folder, as every extraction of the program needs it:
//  - each stored file is written under its stored name into the target folder; the target
//    folder and any folder part of a stored name are created when missing;
//  - an existing file of that name is replaced, its read-only attribute removed first;
//  - the written file gets the stored date and time (local time) as its creation and
//    last-write time, and of the stored attributes read-only, hidden, system and archive;
//  - a stored name that is absolute, carries a drive or climbs out of the target folder ("..")
//    is refused, and nothing is written for it.
// Any failure (library missing, cabinet missing, not a cabinet, corrupt or truncated, a file
// that cannot be written, a refused name) makes the whole call fail; files written before
// the failure stay.
#pragma once
#include <string>

bool ExtractCabinet(const std::string& cabinetPath, const std::string& targetFolder);

// Whether a stored name stays inside the folder it is extracted into.
bool IsSafeStoredName(const std::string& storedName);
