// A second process appends records (and so keys) while this one walks the tag under the
// index lock, one lock per move as ClipLock tables do.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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
using testing_support::TempDir;

constexpr int kInitial = 200;
constexpr int kAppended = 400;

struct Opened {
  explicit Opened(const std::string& dir) {
    factory.Add("K",
                [] { return std::make_unique<FieldKeySource>("K", 1, 12, KeyType::kCharacter); });
    table.Open(dir + "/t.dbf", true, true);
    table.set_lock_protocol(dbf::LockProtocol::kClipLock);
    set = std::make_unique<IndexSet>(table, &factory);
    set->set_lock_protocol(dbf::LockProtocol::kClipLock);
    table.set_index_hooks(set.get());
    set->Attach("t.cdx");
  }
  ~Opened() {
    table.set_index_hooks(nullptr);
    set.reset();
    table.Close();
  }
  void AppendKey(const std::string& key) {
    table.BlankRecord();
    table.PutRaw(1, key);
    table.Append();
  }
  MapKeySourceFactory factory;
  dbf::DbfFile table;
  std::unique_ptr<IndexSet> set;
};

std::string RandomKey(std::mt19937& random) {
  return "K" + std::to_string(random() % 100000);
}

TEST(CdxConcurrency, WalkWhileAnotherProcessAppendsSeesKeysInOrder) {
  TempDir dir;
  testing_support::TableBuilder({{"K", 'C', 12}}).WriteTo(dir.File("t.dbf"));
  {
    dbf::DbfFile table;
    table.Open(dir.File("t.dbf"), true, true);
    auto index = CdxIndex::Open(dir.File("t.cdx"), {.may_create = true, .table = &table});
    CdxTagHeader header;
    header.key_length = 12;
    header.key_expression = "K";
    index->AddEmptyTag("K", header);
  }
  {
    Opened parent(dir.path());
    std::mt19937 random(1);
    for (int i = 0; i < kInitial; ++i) parent.AppendKey(RandomKey(random));
  }
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[1]);
    char go;
    if (read(ready[0], &go, 1) != 1) _exit(3);
    int status = 0;
    try {
      Opened writer(dir.path());
      std::mt19937 random(2);
      for (int i = 0; i < kAppended; ++i) writer.AppendKey(RandomKey(random));
    } catch (...) {
      status = 1;
    }
    _exit(status);
  }
  close(ready[0]);
  Opened reader(dir.path());
  CdxTag& tag = *reader.set->FindTagByName("K");
  ASSERT_EQ(write(ready[1], "g", 1), 1);
  close(ready[1]);
  // One walk of the whole tag under the index lock: keys in order, no record
  // twice; the number of keys seen.
  const auto walk_all = [&](size_t* count) {
    std::set<uint32_t> seen;
    std::string previous;
    *count = 0;
    reader.set->LockIndexes();
    uint32_t recno = tag.First();
    reader.set->UnlockIndexes();
    while (recno != 0) {
      ASSERT_TRUE(seen.insert(recno).second) << "record " << recno << " twice in one walk";
      ASSERT_LE(CompareKeys(KeyType::kCharacter, previous, tag.current_key(), false), 0);
      previous = tag.current_key();
      ++*count;
      reader.set->LockIndexes();
      recno = tag.Next();
      reader.set->UnlockIndexes();
    }
  };
  // Walks while the other process appends (however fast either side runs),
  // then one walk after it has ended, which must see every key.
  int status = 0;
  bool child_done = false;
  for (int walk = 0; walk < 1000 && !child_done; ++walk) {
    child_done = waitpid(child, &status, WNOHANG) == child;
    size_t count = 0;
    walk_all(&count);
    if (HasFatalFailure()) break;
    ASSERT_GE(count, static_cast<size_t>(kInitial));
  }
  if (!child_done) {
    ASSERT_EQ(waitpid(child, &status, 0), child);
  }
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  size_t last_walk = 0;
  walk_all(&last_walk);
  EXPECT_EQ(last_walk, static_cast<size_t>(kInitial + kAppended));
  reader.table.RefreshHeader();
  const CdxCheckReport report = CheckCdx(*reader.set->files()[0], nullptr);
  for (const std::string& fault : report.faults) ADD_FAILURE() << fault;
}

}  // namespace
}  // namespace idx
