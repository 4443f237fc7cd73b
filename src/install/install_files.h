// The packaged files: one [Files] entry "Target?PackedSize?ExistMode?RemoveOnUninstall" after
// the other, each file's cabinet copied out of the package into the work copy "file.cab" and
// extracted to its target.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

struct FileEntry {
  std::string target;  // expanded
  int32_t packedSize = 0;
  std::string existMode;
  bool removeOnUninstall = false;
};

// False when the entry has fewer than four fields or its second is no whole decimal number.
bool ParseFileEntry(const std::string& value, FileEntry& entry);

// Whether an existing file at the target is kept ("Skip", "Ask" answered No, "Overwrite only
// if newer" with a file not older than the build date); every other mode installs over it.
bool KeepsExistingFile(const FileEntry& entry);

// The bar after a block of file `index` of `count`: R(index * 100 / count) +
// R(copied * R(100 / count) / (packedSize + 1)), R rounding halves to the even neighbour.
int FileProgress(int index, int count, int64_t copied, int64_t packedSize);

// Rounds to the nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(double value);

enum class FileOutcome {
  Done,     // installed, skipped, passed over, or failed with the user going on
  Fatal,    // the message was shown; the run must end
  Aborted,  // the user confirmed cancelling while the cabinet was copied
};

struct FileLists {
  std::vector<std::string> createdFolders;  // for files recorded for removal, in creation order
  std::vector<std::string> installedFiles;  // recorded for removal, in extraction order
};

// Installs [Files] key `index` of `count` from the open package, advancing PackageOffset.
FileOutcome InstallPackagedFile(platform::File& package, int index, int count, FileLists& lists);
