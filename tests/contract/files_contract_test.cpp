// The file system traps the program depends on, on both platforms.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract.h"
#include "platform/files.h"

using namespace platform;

namespace {

TEST(FilesContract, FoldersAreCreatedOneLevelAtATime) {
  std::string root = ContractFolder();
  EXPECT_FALSE(CreateFolder(root + "\\a\\b"));
  EXPECT_TRUE(CreateFolder(root + "\\a"));
  EXPECT_FALSE(CreateFolder(root + "\\a"));  // exists
  EXPECT_TRUE(CreateFolder(root + "\\a\\b"));
  EXPECT_TRUE(FolderExists(root + "\\A\\B"));
  EXPECT_FALSE(FileExists(root + "\\a"));
  EXPECT_TRUE(ReadAttributes(root + "\\a") & kAttrDirectory);
  EXPECT_FALSE(RemoveFolder(root + "\\a"));  // not empty
  EXPECT_TRUE(RemoveFolder(root + "\\a\\b"));
  EXPECT_TRUE(RemoveFolder(root + "\\a"));
  EXPECT_EQ(ReadAttributes(root + "\\a"), kNoAttributes);
}

TEST(FilesContract, FilesReadWriteSeekAndTruncate) {
  std::string name = ContractFolder() + "\\Data.Bin";
  File file;
  ASSERT_TRUE(file.Open(name, File::Mode::Create));
  ASSERT_TRUE(file.Write("0123456789", 10));
  EXPECT_EQ(file.Size(), 10);
  ASSERT_TRUE(file.Seek(4));
  ASSERT_TRUE(file.Truncate());
  file.Close();
  EXPECT_EQ(ReadText(name), "0123");

  ASSERT_TRUE(file.Open(name, File::Mode::Read));
  char buffer[8];
  EXPECT_EQ(file.Read(buffer, 8), 4);
  EXPECT_EQ(file.Read(buffer, 8), 0);
  EXPECT_TRUE(file.Seek(100));  // past the end: reading there gives nothing
  EXPECT_EQ(file.Read(buffer, 8), 0);
  EXPECT_FALSE(file.Seek(-1));

  File missing;
  EXPECT_FALSE(missing.Open(name + ".none", File::Mode::Read));
  EXPECT_FALSE(missing.IsOpen());
}

TEST(FilesContract, NamesMatchWithoutRegardToCase) {
  std::string root = ContractFolder();
  WriteText(root + "\\Mixed.TXT", "x");
  EXPECT_TRUE(FileExists(root + "\\mixed.txt"));
  EXPECT_EQ(ReadText(root + "\\MIXED.txt"), "x");
  WriteText(root + "\\mixed.txt", "y");  // the same file, replaced
  EXPECT_EQ(ReadText(root + "\\Mixed.TXT"), "y");
}

TEST(FilesContract, ReadOnlyFilesResistUntilTheAttributeIsRemoved) {
  std::string root = ContractFolder();
  std::string locked = root + "\\locked.txt", other = root + "\\other.txt";
  WriteText(locked, "old");
  WriteText(other, "new");
  EXPECT_TRUE(ReadAttributes(locked) & kAttrArchive);  // new files carry the archive bit
  ASSERT_TRUE(WriteAttributes(locked, kAttrReadOnly | kAttrHidden));
  EXPECT_EQ(ReadAttributes(locked) & ~kAttrArchive, kAttrReadOnly | kAttrHidden);  // Wine adds the archive bit

  EXPECT_FALSE(RemoveFile(locked));
  if (ReadOnlyRefusesWrites()) {
    File file;
    EXPECT_FALSE(file.Open(locked, File::Mode::Create));
    EXPECT_FALSE(MoveFileReplacing(other, locked));
  }
  EXPECT_EQ(ReadText(locked), "old");

  ASSERT_TRUE(WriteAttributes(locked, 0));
  EXPECT_TRUE(MoveFileReplacing(other, locked));
  EXPECT_EQ(ReadText(locked), "new");
  EXPECT_FALSE(FileExists(other));
  EXPECT_TRUE(RemoveFile(locked));
  EXPECT_FALSE(RemoveFile(locked));
}

TEST(FilesContract, ListingMatchesThePatternWithoutRegardToCase) {
  std::string root = ContractFolder();
  WriteText(root + "\\English.LNG", "");
  WriteText(root + "\\german.lng", "");
  WriteText(root + "\\notes.txt", "");
  ASSERT_TRUE(CreateFolder(root + "\\sub.lng"));
  std::vector<std::string> names;
  for (const FolderEntry& entry : ListFolder(root + "\\*.lng"))
    names.push_back(entry.name + (entry.isFolder ? "/" : ""));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"English.LNG", "german.lng", "sub.lng/"}));
  EXPECT_EQ(ListFolder(root + "\\*").size(), 4u);  // "." and ".." left out
  EXPECT_TRUE(ListFolder(root + "\\missing\\*").empty());
}

TEST(FilesContract, DosTimesRoundTrip) {
  std::string name = ContractFolder() + "\\dated.txt";
  WriteText(name, "x");
  uint16_t date = uint16_t((2009 - 1980) << 9 | 6 << 5 | 15), time = uint16_t(13 << 11 | 45 << 5 | 10);
  ASSERT_TRUE(SetFileDosTime(name, date, time));
  uint16_t readDate = 0, readTime = 0;
  ASSERT_TRUE(ReadFileDosTime(name, readDate, readTime));
  EXPECT_EQ(readDate, date);
  EXPECT_EQ(readTime, time);
  EXPECT_FALSE(ReadFileDosTime(name + ".none", readDate, readTime));
}

TEST(FilesContract, TheTempFolderEndsWithABackslash) {
  ContractFolder();
  std::string temp = TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(FolderExists(temp));
}

}  // namespace
