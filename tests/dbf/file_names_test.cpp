#include "dbf/file_names.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "process_test_support.h"

namespace dbf {
namespace {

using testing::ScratchDirectory;

TEST(FindFileIgnoringCase, ExactNameIsReturnedAsGiven) {
  ScratchDirectory dir;
  const std::string path = dir.Write("Fak0001.dbf", "x");
  EXPECT_EQ(FindFileIgnoringCase(path), path);
  EXPECT_TRUE(FileExistsIgnoringCase(path));
}

TEST(FindFileIgnoringCase, UpperCaseNameFindsMixedCaseFile) {
  ScratchDirectory dir;
  dir.Write("Fak0001.dbf", "x");
  EXPECT_EQ(FindFileIgnoringCase(dir.File("FAK0001.DBF")), dir.File("Fak0001.dbf"));
}

TEST(FindFileIgnoringCase, MixedCaseNameFindsUpperCaseFile) {
  ScratchDirectory dir;
  dir.Write("EXT0001.DBF", "x");
  EXPECT_EQ(FindFileIgnoringCase(dir.File("Ext0001.dbf")), dir.File("EXT0001.DBF"));
  EXPECT_TRUE(FileExistsIgnoringCase(dir.File("ext0001.DBF")));
}

TEST(FindFileIgnoringCase, MissingFileAndDirectory) {
  ScratchDirectory dir;
  dir.Write("FAK0001.DBF", "x");
  EXPECT_EQ(FindFileIgnoringCase(dir.File("FAK0002.DBF")), std::nullopt);
  EXPECT_EQ(FindFileIgnoringCase(dir.File("nodir/FAK0001.DBF")), std::nullopt);
  EXPECT_EQ(FindFileIgnoringCase(""), std::nullopt);
  EXPECT_FALSE(FileExistsIgnoringCase(dir.File("FAK0001.DB")));
}

TEST(FindFileIgnoringCase, OnlyTheLastComponentIgnoresCase) {
  ScratchDirectory dir;
  std::filesystem::create_directory(dir.File("Data"));
  dir.Write("Data/VLA0000.DBF", "x");
  EXPECT_EQ(FindFileIgnoringCase(dir.File("Data/vla0000.dbf")), dir.File("Data/VLA0000.DBF"));
  EXPECT_EQ(FindFileIgnoringCase(dir.File("DATA/vla0000.dbf")), std::nullopt);
}

TEST(FindFileIgnoringCase, SeveralSpellingsChooseTheFirstInByteOrder) {
  ScratchDirectory dir;
  dir.Write("fak0001.dbf", "x");
  dir.Write("FAK0001.dbf", "x");
  EXPECT_EQ(FindFileIgnoringCase(dir.File("Fak0001.DBF")), dir.File("FAK0001.dbf"));
}

TEST(FindFileIgnoringCase, RelativeNameKeepsItsDirectoryText) {
  ScratchDirectory dir;
  dir.Write("KPOHLED.DBF", "x");
  const std::string saved = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  EXPECT_EQ(FindFileIgnoringCase("kpohled.dbf"), "KPOHLED.DBF");
  EXPECT_EQ(FindFileIgnoringCase("./kpohled.dbf"), "./KPOHLED.DBF");
  std::filesystem::current_path(saved);
}

TEST(RemoveFileIgnoringCase, RemovesEverySpelling) {
  ScratchDirectory dir;
  dir.Write("adresar.dbf", "x");
  dir.Write("ADRESAR.DBF", "x");
  dir.Write("Adresar.Dbf", "x");
  dir.Write("ADRESAR.CDX", "keep");
  RemoveFileIgnoringCase(dir.File("ADRESAR.DBF"));
  EXPECT_FALSE(FileExistsIgnoringCase(dir.File("ADRESAR.DBF")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("ADRESAR.CDX")));
  RemoveFileIgnoringCase(dir.File("MISSING.DBF"));  // nothing to do, no error
}

TEST(FileNames, WithDefaultExtension) {
  EXPECT_EQ(WithDefaultExtension("/data/FAK0001", ".DBF"), "/data/FAK0001.DBF");
  EXPECT_EQ(WithDefaultExtension("/data/FAK0001.dbf", ".DBF"), "/data/FAK0001.dbf");
  EXPECT_EQ(WithDefaultExtension("/da.ta/FAK0001", ".DBF"), "/da.ta/FAK0001.DBF");
  EXPECT_EQ(WithDefaultExtension("KPOHLED", ".DBF"), "KPOHLED.DBF");
  EXPECT_EQ(WithDefaultExtension("a.b.c", ".DBF"), "a.b.c");
}

TEST(FileNames, BaseNameWithoutExtension) {
  EXPECT_EQ(BaseNameWithoutExtension("/data/Fak0001.dbf"), "Fak0001");
  EXPECT_EQ(BaseNameWithoutExtension("/da.ta/Fak0001"), "Fak0001");
  EXPECT_EQ(BaseNameWithoutExtension("a.b.dbf"), "a.b");
  EXPECT_EQ(BaseNameWithoutExtension("/data//KPOHLED.DBF"), "KPOHLED");
}

TEST(FileNames, ExpandFileName) {
  const std::string cwd = std::filesystem::current_path();
  EXPECT_EQ(ExpandFileName("FAK0001.DBF"), cwd + "/FAK0001.DBF");
  EXPECT_EQ(ExpandFileName("/a/b/../c/./d.dbf"), "/a/c/d.dbf");
  EXPECT_EQ(ExpandFileName("/a/b/"), "/a/b/");
  EXPECT_EQ(ExpandFileName("/"), "/");
  EXPECT_EQ(ExpandFileName("/.."), "/");
  EXPECT_EQ(ExpandFileName("/data/KPOHLED.DBF"), "/data/KPOHLED.DBF");
}

}  // namespace
}  // namespace dbf
