#include "index_session.h"

#include <cstdio>

#include "dbf/charset_tables.h"
#include "dbf/dates.h"
#include "dbf/system_path.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/key_encoding.h"

namespace dbftool {

IndexSession::IndexSession(const std::string& table_path, const std::string& index_path,
                           bool read_write) {
  table_.Open(dbf::ProgramPath(table_path), true, read_write);
  factory_ = std::make_unique<idx::ExpressionKeySourceFactory>(table_);
  set_ = std::make_unique<idx::IndexSet>(table_, factory_.get());
  set_->Attach(dbf::ProgramPath(index_path));
  table_.set_index_hooks(set_.get());
}

IndexSession::~IndexSession() {
  table_.set_index_hooks(nullptr);
  set_.reset();
  table_.Close();
}

idx::CdxTag& IndexSession::Tag(const std::string& name) {
  idx::CdxTag* tag = set_->FindTagByName(name);
  if (tag == nullptr) set_->FindTagByName("?");  // raises for an empty name
  return *tag;
}

std::string IndexPathOfTable(const std::string& table_path) {
  const size_t slash = table_path.rfind('/');
  const size_t dot = table_path.rfind('.');
  const bool has_extension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (has_extension ? table_path.substr(0, dot) : table_path) + ".cdx";
}

std::string KeyText(const idx::CdxTag& tag, const std::string& key) {
  if (tag.key_type() == idx::KeyType::kCharacter) return dbf::Cp852ToUtf8(key);
  const double value = idx::DecodeNumberKey(key);
  if (tag.key_type() == idx::KeyType::kNumber) return idx::ShortestDecimalText(value);
  const dbf::CivilDate date =
      dbf::CivilFromDays(static_cast<int64_t>(value) - dbf::kJulianDayOfZeroDate);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

}  // namespace dbftool
