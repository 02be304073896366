// Random appends and rewrites under unique, non-unique, FOR and descending tags with short and
// long keys, compared after every step with an in-memory model of what each tag must hold.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>

#include "cdx_test_support.h"
#include "dbf/dbf_file.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/index_set.h"
#include "index/key_compare.h"
#include "support/table_builder.h"

namespace idx {
namespace {

using testing_support::FieldKeySource;
using testing_support::MapKeySourceFactory;
using testing_support::TableBuilder;
using testing_support::TempDir;

// K1 C3 at 1, K2 C100 at 4, NUM N8 at 104, FLG C1 at 112, DAT D8 at 113.
const std::vector<testing_support::FieldSpec> kFields = {
    {"K1", 'C', 3}, {"K2", 'C', 100}, {"NUM", 'N', 8}, {"FLG", 'C', 1}, {"DAT", 'D', 8}};

struct TagSpec {
  const char* name;
  const char* expression;
  const char* for_expression;
  uint32_t offset, width;
  KeyType type;
  bool unique, descending;
};

const TagSpec kTags[] = {
    {"SHORT", "K1", "", 1, 3, KeyType::kCharacter, false, false},
    {"LONG", "K2", "", 4, 100, KeyType::kCharacter, false, false},
    {"UNIQ", "K1", "", 1, 3, KeyType::kCharacter, true, false},
    {"FORT", "K2", "FLG='Y'", 4, 100, KeyType::kCharacter, false, false},
    {"DESC", "NUM", "", 104, 8, KeyType::kNumber, false, true},
    {"DAT", "DAT", "", 113, 8, KeyType::kDate, false, false},
};

bool ForOf(const TagSpec& spec, const uint8_t* record) {
  return spec.for_expression[0] == '\0' || record[112] == 'Y';
}

struct EntryOrder {
  KeyType type;
  bool operator()(const std::pair<std::string, uint32_t>& a,
                  const std::pair<std::string, uint32_t>& b) const {
    const int c = CompareKeys(type, a.first, b.first, false);
    return c != 0 ? c < 0 : a.second < b.second;
  }
};
using Model = std::set<std::pair<std::string, uint32_t>, EntryOrder>;

class CdxModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TableBuilder(kFields).WriteTo(dir_.File("t.dbf"));
    table_.Open(dir_.File("t.dbf"), true, true);
    for (const TagSpec& spec : kTags) {
      const std::string expression =
          spec.for_expression[0] ? std::string(spec.expression) + " FOR " + spec.for_expression
                                 : spec.expression;
      factory_.Add(expression, [&spec] {
        return std::make_unique<FieldKeySource>(
            spec.expression, spec.offset, spec.width, spec.type,
            [&spec](const uint8_t* r) { return ForOf(spec, r); });
      });
    }
    {
      CdxOpenOptions options;
      options.may_create = true;
      options.table = &table_;
      auto index = CdxIndex::Open(dir_.File("t.cdx"), options);
      for (const TagSpec& spec : kTags) {
        CdxTagHeader header;
        header.key_length =
            static_cast<uint16_t>(spec.type == KeyType::kCharacter ? spec.width : 8);
        header.key_expression = spec.expression;
        header.for_expression = spec.for_expression;
        header.unique = spec.unique;
        header.descending = spec.descending;
        index->AddEmptyTag(spec.name, header);
      }
    }
    set_ = std::make_unique<IndexSet>(table_, &factory_);
    table_.set_index_hooks(set_.get());
    ASSERT_EQ(set_->Attach("t.cdx"), 0);
    for (const TagSpec& spec : kTags) models_.emplace_back(EntryOrder{spec.type});
  }
  void TearDown() override {
    table_.set_index_hooks(nullptr);
    set_.reset();
    table_.Close();
  }

  CdxTag& Tag(size_t i) { return *set_->FindTagByName(kTags[i].name); }

  std::string KeyIn(size_t i, const uint8_t* record) {
    FieldKeySource source("", kTags[i].offset, kTags[i].width, kTags[i].type);
    return Tag(i).KeyOf(source.Key(record));
  }

  // What the tags must do with one written record.
  void ModelWrite(uint32_t recno, const std::vector<uint8_t>* old_image,
                  const std::vector<uint8_t>& new_image) {
    for (size_t i = 0; i < models_.size(); ++i) {
      const TagSpec& spec = kTags[i];
      Model& model = models_[i];
      if (old_image && spec.for_expression[0] == '\0' && *old_image == new_image) continue;
      const bool new_for = ForOf(spec, new_image.data());
      const std::string new_key = KeyIn(i, new_image.data());
      auto insert = [&] {
        if (spec.unique) {
          for (const auto& e : model) {
            if (e.first == new_key) return;
          }
        }
        model.insert({new_key, recno});
      };
      if (!old_image) {
        if (new_for) insert();
        continue;
      }
      const std::string old_key = KeyIn(i, old_image->data());
      const bool found = model.count({old_key, recno}) != 0;
      const bool differ = old_key != new_key;
      if (found && (differ || (spec.for_expression[0] && !new_for))) model.erase({old_key, recno});
      if (new_for && (differ || !found)) insert();
    }
  }

  void RandomFields(std::mt19937& random, bool all) {
    static const char letters[] = {'A', 'a', '\xB5', '\xA0', 'C', '\xAC', 'c', ' '};
    std::uniform_int_distribution<int> pick(0, 9);
    if (all || pick(random) < 5) {
      std::string k1(3, ' ');
      for (char& c : k1) c = letters[random() % 7];
      if (random() % 5 == 0) k1[2] = ' ';
      table_.PutRaw(1, k1);
    }
    if (all || pick(random) < 5) {
      std::string k2;
      const int form = static_cast<int>(random() % 6);
      if (form != 0) k2 = "Odberatel " + std::to_string(random() % 300);
      if (form >= 3) k2 += std::string(static_cast<size_t>(random() % 80), 'x');
      if (form == 5) k2 += std::to_string(random());
      table_.PutRaw(2, k2);
    }
    if (all || pick(random) < 4) {
      char num[16];
      std::snprintf(num, sizeof num, "%8d", static_cast<int>(random() % 1001) - 500);
      table_.PutRaw(3, num);
    }
    if (all || pick(random) < 4) table_.PutRaw(4, random() % 2 ? "Y" : "N");
    if (all || pick(random) < 3) {
      char date[16];
      std::snprintf(date, sizeof date, "%04d%02d%02d", 1990 + static_cast<int>(random() % 40),
                    1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28));
      table_.PutRaw(5, random() % 10 == 0 ? "        " : date);
    }
  }

  void Append(std::mt19937& random) {
    table_.BlankRecord();
    RandomFields(random, true);
    table_.Append();
    const std::vector<uint8_t> image(table_.record(), table_.record() + table_.record_length());
    ModelWrite(table_.recno(), nullptr, image);
  }

  void Rewrite(std::mt19937& random) {
    const uint32_t recno = 1 + static_cast<uint32_t>(random() % table_.record_count());
    ASSERT_TRUE(table_.GoTo(recno));
    const std::vector<uint8_t> old_image(table_.record(), table_.record() + table_.record_length());
    if (random() % 8 == 0) {
      table_.Delete();
    } else {
      RandomFields(random, false);
      table_.PutRecord(recno);
    }
    const std::vector<uint8_t> image(table_.record(), table_.record() + table_.record_length());
    ModelWrite(recno, &old_image, image);
  }

  void ExpectTagsMatchModels(const std::string& when) {
    for (size_t i = 0; i < models_.size(); ++i) {
      std::vector<std::pair<std::string, uint32_t>> held;
      Tag(i).ForEachEntry([&](const std::string& k, uint32_t r) { held.emplace_back(k, r); });
      const std::vector<std::pair<std::string, uint32_t>> want(models_[i].begin(),
                                                               models_[i].end());
      ASSERT_EQ(held, want) << kTags[i].name << " " << when;
    }
  }

  void ExpectWalksMatchModels() {
    for (size_t i = 0; i < models_.size(); ++i) {
      std::vector<uint32_t> want;
      for (const auto& e : models_[i]) want.push_back(e.second);
      if (kTags[i].descending) std::reverse(want.begin(), want.end());
      CdxTag& tag = Tag(i);
      std::vector<uint32_t> forward;
      for (uint32_t r = tag.First(); r != 0; r = tag.Next()) forward.push_back(r);
      EXPECT_TRUE(tag.eof()) << kTags[i].name;
      EXPECT_EQ(forward, want) << kTags[i].name;
      std::vector<uint32_t> backward;
      for (uint32_t r = tag.Last(); r != 0; r = tag.Prior()) backward.push_back(r);
      EXPECT_TRUE(tag.bof()) << kTags[i].name;
      std::reverse(backward.begin(), backward.end());
      EXPECT_EQ(backward, want) << kTags[i].name;
    }
  }

  size_t Depth(size_t i) {
    size_t depth = 1;
    for (CdxNode node = Tag(i).ReadNode(Tag(i).root_offset()); !node.leaf; ++depth) {
      node = Tag(i).ReadNode(node.entries.front().child);
    }
    return depth;
  }

  void ExpectCheckClean() {
    const CdxCheckReport report = CheckCdx(*set_->files()[0], &table_);
    for (const std::string& fault : report.faults) ADD_FAILURE() << fault;
  }

  TempDir dir_;
  dbf::DbfFile table_;
  MapKeySourceFactory factory_;
  std::unique_ptr<IndexSet> set_;
  std::vector<Model> models_;
};

TEST_F(CdxModelTest, RandomAppendsAndRewritesKeepEveryTagEqualToItsModel) {
  std::mt19937 random(20261209);
  for (int step = 1; step <= 2400; ++step) {
    if (table_.record_count() < 20 || random() % 10 < 6) {
      Append(random);
    } else {
      Rewrite(random);
    }
    if (HasFatalFailure()) return;
    if (step % 150 == 0) {
      ExpectTagsMatchModels("after step " + std::to_string(step));
      if (HasFatalFailure()) return;
    }
    if (step % 800 == 0) ExpectCheckClean();
  }
  ExpectTagsMatchModels("at the end");
  ExpectWalksMatchModels();
  ExpectCheckClean();
  // Splits reached every level: the long keys grew several interior levels, the short ones two.
  EXPECT_GE(Depth(1), 4u);
  EXPECT_GE(Depth(0), 2u);
}

TEST_F(CdxModelTest, RewritingEveryRecordBackAndForthEmptiesAndRefillsFor) {
  std::mt19937 random(7);
  for (int i = 0; i < 400; ++i) Append(random);
  for (uint32_t recno = 1; recno <= table_.record_count(); ++recno) {
    ASSERT_TRUE(table_.GoTo(recno));
    const std::vector<uint8_t> old_image(table_.record(), table_.record() + table_.record_length());
    table_.PutRaw(4, "N");
    table_.PutRaw(2, "");
    table_.PutRecord(recno);
    const std::vector<uint8_t> image(table_.record(), table_.record() + table_.record_length());
    ModelWrite(recno, &old_image, image);
  }
  ExpectTagsMatchModels("after emptying");
  EXPECT_EQ(Tag(3).First(), 0u);
  ExpectCheckClean();
  for (int step = 0; step < 600; ++step) Rewrite(random);
  ExpectTagsMatchModels("after refilling");
  ExpectWalksMatchModels();
  ExpectCheckClean();
}

}  // namespace
}  // namespace idx
