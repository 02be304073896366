#include "index/cdx_checker.h"

#include <map>
#include <set>
#include <unordered_set>

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/key_compare.h"
#include "index/tag_key_source.h"

namespace idx {
namespace {

std::string Printable(const std::string& key) {
  std::string out;
  for (const char c : key) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      static const char* digits = "0123456789ABCDEF";
      out += "\\x";
      out += digits[b >> 4];
      out += digits[b & 15];
    }
  }
  return out;
}

class TagChecker {
 public:
  TagChecker(CdxTag& tag, std::unordered_set<uint32_t>& used, CdxCheckReport& report)
      : tag_(tag), used_(used), report_(report) {
    label_ = tag.is_structure_tag() ? std::string("the tag directory") : "tag " + tag.name();
  }

  // Walks the tree; returns the leaf entries in walk order.
  std::vector<NodeEntry> Run() {
    Visit(tag_.root_offset(), 0, true);
    CheckLevels();
    CheckOrder();
    return entries_;
  }

 private:
  void Fault(const std::string& text) { report_.faults.push_back(label_ + ": " + text); }

  // Returns the node's last entry when it has one.
  std::optional<NodeEntry> Visit(uint32_t offset, size_t depth, bool root) {
    if (depth > 48) {
      Fault("tree deeper than 48 levels at page " + std::to_string(offset));
      return std::nullopt;
    }
    if (!used_.insert(offset).second) {
      Fault("page " + std::to_string(offset) + " is reached twice");
      return std::nullopt;
    }
    CdxNode node;
    try {
      node = tag_.ReadNode(offset);
    } catch (const dbf::EngineError&) {
      Fault("page " + std::to_string(offset) + " is invalid");
      return std::nullopt;
    }
    if (node.root != root) {
      Fault("page " + std::to_string(offset) +
            (root ? " is the root but not marked so" : " is marked as a root"));
    }
    if (levels_.size() <= depth) levels_.resize(depth + 1);
    levels_[depth].push_back({offset, node.left, node.right});
    if (node.leaf) {
      if (leaf_depth_ && *leaf_depth_ != depth) Fault("leaves at different depths");
      leaf_depth_ = depth;
      for (const NodeEntry& e : node.entries) entries_.push_back(e);
      if (node.entries.empty() && !root) Fault("leaf page " + std::to_string(offset) + " is empty");
      if (node.entries.empty()) return std::nullopt;
      return node.entries.back();
    }
    if (node.entries.empty() && !root) {
      Fault("interior page " + std::to_string(offset) + " is empty");
    }
    for (const NodeEntry& e : node.entries) {
      const std::optional<NodeEntry> last = Visit(e.child, depth + 1, false);
      if (last && (last->key != e.key || last->record != e.record)) {
        Fault("interior key \"" + Printable(e.key) + "\" of page " + std::to_string(offset) +
              " is not the last key of its child " + std::to_string(e.child));
      }
    }
    if (node.entries.empty()) return std::nullopt;
    return node.entries.back();
  }

  void CheckLevels() {
    for (size_t depth = 0; depth < levels_.size(); ++depth) {
      const auto& level = levels_[depth];
      for (size_t i = 0; i < level.size(); ++i) {
        const uint32_t want_left = i == 0 ? kNoPage : level[i - 1].offset;
        const uint32_t want_right = i + 1 == level.size() ? kNoPage : level[i + 1].offset;
        if (level[i].left != want_left || level[i].right != want_right) {
          Fault("broken sibling links at page " + std::to_string(level[i].offset));
        }
      }
    }
  }

  void CheckOrder() {
    for (size_t i = 1; i < entries_.size(); ++i) {
      const NodeEntry& a = entries_[i - 1];
      const NodeEntry& b = entries_[i];
      const int c = tag_.Compare(a.key, b.key, false);
      if (c > 0 || (c == 0 && a.record >= b.record)) {
        Fault("key \"" + Printable(b.key) + "\" (record " + std::to_string(b.record) +
              ") out of order");
      }
      if (c == 0 && tag_.unique()) {
        Fault("key \"" + Printable(b.key) + "\" twice in a unique tag");
      }
    }
  }

  struct Placed {
    uint32_t offset, left, right;
  };
  CdxTag& tag_;
  std::unordered_set<uint32_t>& used_;
  CdxCheckReport& report_;
  std::string label_;
  std::vector<std::vector<Placed>> levels_;
  std::optional<size_t> leaf_depth_;
  std::vector<NodeEntry> entries_;
};

void CheckContent(CdxTag& tag, const std::vector<NodeEntry>& entries, dbf::DbfFile& table,
                  CdxCheckReport& report) {
  TagKeySource* source = tag.key_source();
  if (source == nullptr) return;
  const std::string label = "tag " + tag.name() + ": ";
  if (!source->key_type_known()) {
    try {
      source->RequireKeyType();
    } catch (const dbf::EngineError& e) {
      report.faults.push_back(label + "key type unknown, the key fails: " + e.what());
    }
    return;
  }
  std::map<uint32_t, std::string> held;
  for (const NodeEntry& e : entries) {
    if (e.record == 0 || e.record > table.record_count()) {
      report.faults.push_back(label + "entry for record " + std::to_string(e.record) +
                              " which is not in the table");
    } else if (!held.emplace(e.record, e.key).second) {
      report.faults.push_back(label + "record " + std::to_string(e.record) + " twice");
    }
  }
  std::set<std::string> unique_keys;
  if (tag.unique()) {
    for (const NodeEntry& e : entries) unique_keys.insert(e.key);
  }
  for (uint32_t recno = 1; recno <= table.record_count(); ++recno) {
    if (!table.GoTo(recno)) break;
    const uint8_t* record = table.record();
    const bool wanted = source->For(record);
    const std::string key = tag.KeyOf(source->Key(record));
    const auto it = held.find(recno);
    const std::string where = "record " + std::to_string(recno);
    if (it == held.end()) {
      if (wanted && !tag.unique()) report.faults.push_back(label + where + " is missing");
      // A unique tag keeps the first record written with a key; when that record changes,
      // the others with the key stay out until the tag is rebuilt.
      if (wanted && tag.unique() && unique_keys.count(key) == 0) {
        report.notes.push_back(label + "no record holds the key of " + where);
      }
      continue;
    }
    if (!wanted) {
      report.faults.push_back(label + where + " is present although its FOR clause is false");
    } else if (it->second != key) {
      report.faults.push_back(label + where + " is held under \"" + Printable(it->second) +
                              "\" but its key is \"" + Printable(key) + "\"");
    }
  }
}

}  // namespace

CdxCheckReport CheckCdx(CdxIndex& index, dbf::DbfFile* table) {
  CdxCheckReport report;
  index.RefreshFileSize();
  std::unordered_set<uint32_t> used;
  used.insert(0);
  used.insert(512);
  TagChecker(index.structure_tag(), used, report).Run();
  for (const auto& tag : index.tags()) {
    used.insert(tag->header_offset());
    used.insert(tag->header_offset() + 512);
    const std::vector<NodeEntry> entries = TagChecker(*tag, used, report).Run();
    if (table != nullptr) CheckContent(*tag, entries, *table, report);
  }
  size_t unused = 0;
  for (uint64_t page = 0; page + kCdxPageSize <= index.file_size(); page += kCdxPageSize) {
    if (used.count(static_cast<uint32_t>(page)) == 0) ++unused;
  }
  if (unused != 0) {
    report.notes.push_back(std::to_string(unused) + " page(s) not used by any tag");
  }
  return report;
}

}  // namespace idx
