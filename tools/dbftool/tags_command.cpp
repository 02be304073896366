// dbftool tags INDEX.cdx: every tag of a compound index file with its expressions and layout.
// The key types come from the table named like the index file when it exists.

#include <cstdio>
#include <memory>

#include "command.h"
#include "dbf/dbf_file.h"
#include "dbf/file_names.h"
#include "dbf/system_path.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"
#include "index/expression_key_source.h"

namespace dbftool {
namespace {

int RunTags(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage("tags");
  const std::string index_path = dbf::WithDefaultExtension(dbf::ProgramPath(args[0]), ".cdx");
  const size_t dot = index_path.rfind('.');
  const std::string table_path = index_path.substr(0, dot) + ".dbf";
  dbf::DbfFile table;
  std::unique_ptr<idx::ExpressionKeySourceFactory> factory;
  idx::CdxOpenOptions options;
  options.read_write = false;
  if (dbf::FileExistsIgnoringCase(table_path)) {
    table.Open(table_path, true, false);
    factory = std::make_unique<idx::ExpressionKeySourceFactory>(table);
    options.key_sources = factory.get();
  }
  auto index = idx::CdxIndex::Open(index_path, options);
  std::printf("%-10s %-4s %4s %-6s %-10s %8s  %s\n", "tag", "type", "len", "unique", "order",
              "root", "key expression / FOR expression");
  for (const auto& tag : index->tags()) {
    const char type = factory ? static_cast<char>(tag->key_type()) : '?';
    std::printf("%-10s %-4c %4u %-6s %-10s %8u  %s\n", tag->name().c_str(), type, tag->key_length(),
                tag->unique() ? "yes" : "no", tag->descending() ? "descending" : "ascending",
                tag->root_offset(), tag->header().key_expression.c_str());
    if (tag->has_for()) std::printf("%58s FOR %s\n", "", tag->header().for_expression.c_str());
  }
  return 0;
}

const CommandRegistration kTags({"tags", "tags INDEX.cdx", RunTags});

}  // namespace
}  // namespace dbftool
