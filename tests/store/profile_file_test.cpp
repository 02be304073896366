#include "store/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "store/temp_dir.h"

namespace store {
namespace {

TEST(ProfileFileRead, MissingSectionOrKeyGivesTheDefault) {
  const ProfileFile file("[A]\nx=1\n");
  EXPECT_EQ(file.ReadString("B", "x", "d"), "d");
  EXPECT_EQ(file.ReadString("A", "y", "d"), "d");
  EXPECT_EQ(file.Read("A", "y"), std::nullopt);
  EXPECT_EQ(ProfileFile().ReadString("A", "x", "d"), "d");
}

TEST(ProfileFileRead, PresentEmptyValueIsEmptyNotTheDefault) {
  EXPECT_EQ(ProfileFile("[A]\nx=\n").ReadString("A", "x", "d"), "");
  EXPECT_EQ(ProfileFile("[A]\nx=  \"\"  \n").ReadString("A", "x", "d"), "");
}

TEST(ProfileFileRead, QuotesAreStrippedOnlyInMatchingPairs) {
  const ProfileFile file("[A]\na=\"q\"\nb='q'\nc=\"q'\nd=\"\ne=x\"y\"\nf=\" in \"\n");
  EXPECT_EQ(file.ReadString("A", "a", ""), "q");
  EXPECT_EQ(file.ReadString("A", "b", ""), "q");
  EXPECT_EQ(file.ReadString("A", "c", ""), "\"q'");
  EXPECT_EQ(file.ReadString("A", "d", ""), "\"");
  EXPECT_EQ(file.ReadString("A", "e", ""), "x\"y\"");
  EXPECT_EQ(file.ReadString("A", "f", ""), " in ");
}

TEST(ProfileFileRead, BlanksTabsAndCarriageReturnsAroundNamesAndValues) {
  const ProfileFile file("  [ Sekce ]  \r\n\t Klic \t=\t hodnota s mezerou \t\r\n");
  EXPECT_EQ(file.ReadString("sekce", "KLIC", ""), "hodnota s mezerou");
}

TEST(ProfileFileRead, ValueMayHoldEqualsSigns) {
  EXPECT_EQ(ProfileFile("[A]\nk=a=b\n").ReadString("A", "k", ""), "a=b");
}

TEST(ProfileFileRead, CommentsAndLinesWithoutEqualsAreNotKeys) {
  const ProfileFile file("[A]\n;k=comment\nk\nk=value\n");
  EXPECT_EQ(file.ReadString("A", "k", ""), "value");
  EXPECT_EQ(file.ReadString("A", ";k", "d"), "d");
}

TEST(ProfileFileRead, OnlyTheFirstSectionOfANameIsRead) {
  const ProfileFile file("[A]\nx=1\n[B]\ny=2\n[a]\nx=3\nz=4\n");
  EXPECT_EQ(file.ReadString("A", "x", ""), "1");
  EXPECT_EQ(file.ReadString("A", "z", "d"), "d");
  EXPECT_EQ(file.ReadString("B", "x", "d"), "d");
}

TEST(ProfileFileRead, ValueIsCutAfterTheQuotesAreStripped) {
  const std::string value(2100, 'v');
  EXPECT_EQ(ProfileFile("[A]\nk=\"" + value + "\"\n").ReadString("A", "k", "").size(), 2047u);
}

TEST(ProfileFileRead, LastLineWithoutLineBreak) {
  EXPECT_EQ(ProfileFile("[A]\nk=v").ReadString("A", "k", ""), "v");
}

TEST(ProfileFileWrite, ReplacesTheFirstMatchingKeyOnly) {
  ProfileFile file("[A]\n K = 1 \nk=2\n[B]\nk=3\n");
  file.Write("a", "k", "9");
  EXPECT_EQ(file.text(), "[A]\nk=9\nk=2\n[B]\nk=3\n");
}

TEST(ProfileFileWrite, KeepsCarriageReturnLineBreaks) {
  ProfileFile file("[A]\r\nk=1\r\n\r\n[B]\r\n");
  file.Write("A", "k", "2");
  file.Write("A", "n", "3");
  file.Write("C", "m", "4");
  EXPECT_EQ(file.text(), "[A]\r\nk=2\r\nn=3\r\n\r\n[B]\r\n[C]\r\nm=4\r\n");
}

TEST(ProfileFileWrite, AddsToASectionThatEndsTheFileWithoutLineBreak) {
  ProfileFile file("[A]\nk=1");
  file.Write("A", "n", "2");
  EXPECT_EQ(file.text(), "[A]\nk=1\nn=2\n");
  ProfileFile other("; only a comment");
  other.Write("A", "n", "2");
  EXPECT_EQ(other.text(), "; only a comment\n[A]\nn=2\n");
}

TEST(ProfileFileWrite, AddsAfterTheLastNonBlankLineOfTheSection) {
  ProfileFile file("[A]\n\n; about A\n\n[B]\n");
  file.Write("A", "k", "1");
  EXPECT_EQ(file.text(), "[A]\n\n; about A\nk=1\n\n[B]\n");
  ProfileFile empty("[A]\n\n[B]\n");
  empty.Write("A", "k", "1");
  EXPECT_EQ(empty.text(), "[A]\nk=1\n\n[B]\n");
}

TEST(ProfileFileSave, RoundTripKeepsBytesAndPermissions) {
  testing_support::TempDir dir;
  const std::string path = dir.path() + "Korvana.ini";
  dir.WriteFile("Korvana.ini", "[A]\nk=\x9A\xE8\n");
  ::chmod(path.c_str(), 0600);
  ProfileFile file = ProfileFile::Load(path);
  file.Write("A", "k", "x");
  file.Save(path);
  EXPECT_EQ(dir.ReadFile("Korvana.ini"), "[A]\nk=x\n");
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(ProfileFileSave, UnwritableDirectoryRaisesAnError) {
  EXPECT_THROW(ProfileFile("x").Save("/nonexistent-dir/Korvana.ini"), std::runtime_error);
}

TEST(ProfileFileLoad, MissingFileIsEmpty) {
  testing_support::TempDir dir;
  EXPECT_EQ(ProfileFile::Load(dir.path() + "none.ini").text(), "");
}

}  // namespace
}  // namespace store
