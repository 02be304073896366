#include "index/cdx_tag_header.h"

#include <gtest/gtest.h>

#include <cstring>

#include "dbf/errors.h"

namespace idx {
namespace {

constexpr uint64_t kNewFileSize = 1536;

void ExpectOnlyNonZero(const CdxTagHeaderBytes& bytes,
                       std::initializer_list<std::pair<size_t, uint8_t>> expected) {
  CdxTagHeaderBytes want{};
  for (const auto& [offset, value] : expected) want[offset] = value;
  for (size_t i = 0; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], want[i]) << "offset " << i;
}

TEST(CdxTagHeader, NewStructureTagImage) {
  const CdxTagHeaderBytes bytes = EncodeTagHeader(NewStructureTagHeader());
  ExpectOnlyNonZero(bytes, {{0x001, 0x04},  // root 1024
                            {0x00C, 10},    // key length
                            {0x00E, 0xE0},  // options
                            {0x00F, 1},     // signature
                            {0x1FA, 1},     // no FOR expression
                            {0x1FE, 1}});   // empty key expression
}

TEST(CdxTagHeader, TagWithForClauseImage) {
  CdxTagHeader header;
  header.root_offset = 0x0A00;
  header.change_counter = 0x01020304;
  header.key_length = 10;
  header.unique = true;
  header.descending = true;
  header.key_expression = "HLA_DO1";
  header.for_expression = "SKL_STA >0";
  const CdxTagHeaderBytes bytes = EncodeTagHeader(header);
  EXPECT_EQ(bytes[0x000], 0x00);
  EXPECT_EQ(bytes[0x001], 0x0A);
  EXPECT_EQ(bytes[0x008], 0x04);
  EXPECT_EQ(bytes[0x00B], 0x01);
  EXPECT_EQ(bytes[0x00E], 0x69);
  EXPECT_EQ(bytes[0x00F], 1);
  EXPECT_EQ(bytes[0x1F6], 1);
  EXPECT_EQ(bytes[0x1F8], 8);
  EXPECT_EQ(bytes[0x1FA], 11);
  EXPECT_EQ(bytes[0x1FE], 8);
  EXPECT_EQ(std::memcmp(bytes.data() + 0x200, "HLA_DO1\0SKL_STA >0\0", 19), 0);
  EXPECT_EQ(bytes[0x213], 0);

  const CdxTagHeader decoded = DecodeTagHeader(bytes, false, "x.cdx", 0x0C00);
  EXPECT_EQ(decoded, header);
}

TEST(CdxTagHeader, GeneralCollationAndPlainOptions) {
  CdxTagHeader header;
  header.root_offset = 0x0600;
  header.key_length = 8;
  header.general_collation = true;
  header.key_expression = "HLA_DAT";
  const CdxTagHeaderBytes bytes = EncodeTagHeader(header);
  EXPECT_EQ(bytes[0x00E], 0x60);
  EXPECT_EQ(bytes[0x00F], 2);
  EXPECT_EQ(std::memcmp(bytes.data() + 0x1EE, "GENERAL\0", 8), 0);
  EXPECT_EQ(bytes[0x1FA], 1);
  EXPECT_EQ(DecodeTagHeader(bytes, false, "x.cdx", 0x0800), header);
}

TEST(CdxTagHeader, ExpressionsThatDoNotFitAreRefused) {
  CdxTagHeader header;
  header.root_offset = 0x0600;
  header.key_length = 8;
  header.key_expression = std::string(300, 'A');
  header.for_expression = std::string(211, 'B');  // 301 + 212 = 513 bytes
  EXPECT_THROW(EncodeTagHeader(header), dbf::DbfError);
  header.for_expression.pop_back();  // exactly 512
  const CdxTagHeaderBytes bytes = EncodeTagHeader(header);
  EXPECT_EQ(DecodeTagHeader(bytes, false, "x.cdx", 0x0800), header);
}

struct DamagedHeader {
  const char* name;
  void (*damage)(CdxTagHeaderBytes&);
  uint64_t file_size;
};

TEST(CdxTagHeader, DecoderRefusesDamagedHeaders) {
  CdxTagHeader header;
  header.root_offset = 0x0600;
  header.key_length = 10;
  header.key_expression = "HLA_DO1";
  header.for_expression = "HLA_X>0";
  const DamagedHeader cases[] = {
      {"root zero", [](CdxTagHeaderBytes& b) { b[1] = 0; }, 0x0800},
      {"root not a page offset", [](CdxTagHeaderBytes& b) { b[0] = 0x10; }, 0x0800},
      {"root inside the directory header", [](CdxTagHeaderBytes& b) { b[1] = 0x02; }, 0x0800},
      {"root beyond the end", [](CdxTagHeaderBytes&) {}, 0x0700},
      {"root -1", [](CdxTagHeaderBytes& b) { std::memset(b.data(), 0xFF, 4); }, 0x0800},
      {"key length 0", [](CdxTagHeaderBytes& b) { b[0x0C] = 0; }, 0x0800},
      {"key length 241", [](CdxTagHeaderBytes& b) { b[0x0C] = 241; }, 0x0800},
      {"key length 0xFFFF", [](CdxTagHeaderBytes& b) { b[0x0C] = b[0x0D] = 0xFF; }, 0x0800},
      {"empty key expression", [](CdxTagHeaderBytes& b) { b[0x200] = 0; }, 0x0800},
      {"unterminated FOR text",
       [](CdxTagHeaderBytes& b) { std::memset(b.data() + 0x208, 'X', 0x1F8); }, 0x0800},
      {"unterminated key text",
       [](CdxTagHeaderBytes& b) { std::memset(b.data() + 0x200, 'X', 0x200); }, 0x0800},
  };
  for (const DamagedHeader& c : cases) {
    SCOPED_TRACE(c.name);
    CdxTagHeaderBytes bytes = EncodeTagHeader(header);
    c.damage(bytes);
    try {
      DecodeTagHeader(bytes, false, "/data/Fak0001.cdx", c.file_size);
      ADD_FAILURE() << "accepted";
    } catch (const dbf::DbfError& error) {
      EXPECT_STREQ(error.what(), "Index file /data/Fak0001.cdx is corrupted");
    }
  }
}

TEST(CdxTagHeader, StructureTagMayHaveNoKeyExpression) {
  const CdxTagHeaderBytes bytes = EncodeTagHeader(NewStructureTagHeader());
  EXPECT_EQ(DecodeTagHeader(bytes, true, "x.cdx", kNewFileSize), NewStructureTagHeader());
  EXPECT_THROW(DecodeTagHeader(bytes, false, "x.cdx", kNewFileSize), dbf::DbfError);
  EXPECT_THROW(DecodeTagHeader(bytes, true, "x.cdx", 1535), dbf::DbfError);
}

TEST(CdxTagHeader, DirectoryEntryOffsetsMustPointAtAWholeHeader) {
  EXPECT_NO_THROW(CheckTagHeaderOffset(1536, "x.cdx", 3072));
  EXPECT_NO_THROW(CheckTagHeaderOffset(2048, "x.cdx", 3072));
  EXPECT_THROW(CheckTagHeaderOffset(2560, "x.cdx", 3072), dbf::DbfError);  // past the end
  EXPECT_THROW(CheckTagHeaderOffset(1600, "x.cdx", 8192), dbf::DbfError);  // not a page offset
  EXPECT_THROW(CheckTagHeaderOffset(0, "x.cdx", 8192), dbf::DbfError);     // the directory tag
  EXPECT_THROW(CheckTagHeaderOffset(512, "x.cdx", 8192), dbf::DbfError);
  EXPECT_THROW(CheckTagHeaderOffset(0xFFFFFE00, "x.cdx", 8192), dbf::DbfError);
}

}  // namespace
}  // namespace idx
