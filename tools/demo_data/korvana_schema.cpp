#include "korvana_schema.h"

#include <algorithm>
#include <map>
#include <regex>

#include "store/rebuild_catalogue.h"
#include "store/store_tables.h"

namespace demo {
namespace {

// Numeric widths of declared fields (the files decide them; these are the
// Korvana programs' usual ones).
FieldDef FromDeclared(const store::DeclaredField& declared) {
  switch (declared.kind) {
    case store::DeclaredKind::kString:
      return {declared.name, 'C', static_cast<int>(declared.size)};
    case store::DeclaredKind::kSmallInt:
      return {declared.name, 'N', 4};
    case store::DeclaredKind::kInteger:
      return {declared.name, 'N', 10};
    case store::DeclaredKind::kFloat:
      return {declared.name, 'N', 12, 2};
    case store::DeclaredKind::kDate:
      return {declared.name, 'D', 8};
    case store::DeclaredKind::kBoolean:
      return {declared.name, 'L', 1};
  }
  return {declared.name, 'C', 10};
}

// Layout of a field known only from the tags, by the part after "_".
FieldDef FromTagField(const std::string& name) {
  static const std::map<std::string, FieldDef> kByName = {
      {"SKL_STA", {"", 'N', 12, 3}}, {"SOR_PC1", {"", 'N', 12, 2}}, {"PLA_HOD", {"", 'N', 12, 2}},
      {"BLO_KUS", {"", 'N', 10, 3}}, {"BLO_VYD", {"", 'N', 10, 3}}, {"MSG_CIS", {"", 'N', 5}},
      {"PLA_ROC", {"", 'C', 4}},     {"NAH_POP", {"", 'C', 40}},    {"POS_HLA", {"", 'C', 7}},
      {"SKL_NAC", {"", 'C', 30}},
  };
  static const std::map<std::string, FieldDef> kBySuffix = {
      {"DAT", {"", 'D', 8}},  {"DVS", {"", 'D', 8}},  {"PLA", {"", 'L', 1}},
      {"KAV", {"", 'C', 6}},  {"IND", {"", 'C', 3}},  {"EXT", {"", 'C', 7}},
      {"POS", {"", 'C', 4}},  {"NAC", {"", 'C', 30}}, {"FIR", {"", 'C', 35}},
      {"ODB", {"", 'C', 7}},  {"ODP", {"", 'C', 3}},  {"ICO", {"", 'C', 8}},
      {"DIC", {"", 'C', 15}}, {"ALI", {"", 'C', 40}}, {"TYP", {"", 'C', 3}},
      {"ORG", {"", 'C', 4}},  {"KDO", {"", 'C', 20}}, {"KVY", {"", 'C', 20}},
      {"SKU", {"", 'C', 3}},  {"CEN", {"", 'C', 1}},  {"KOD", {"", 'C', 7}},
      {"URT", {"", 'C', 3}},  {"KOM", {"", 'C', 10}}, {"SML", {"", 'C', 10}},
  };
  FieldDef def{"", 'C', 10};
  if (auto it = kByName.find(name); it != kByName.end()) {
    def = it->second;
  } else if (auto s = kBySuffix.find(name.substr(4)); s != kBySuffix.end()) {
    def = s->second;
  }
  def.name = name;
  return def;
}

void AddUnique(std::vector<FieldDef>& fields, FieldDef def) {
  const bool present = std::any_of(fields.begin(), fields.end(),
                                   [&](const FieldDef& f) { return f.name == def.name; });
  if (!present) fields.push_back(std::move(def));
}

std::vector<std::string> FieldNamesOf(const std::string& expression) {
  static const std::regex kFieldName("[A-Z]{3}_[A-Z0-9]{3}");
  std::vector<std::string> names;
  for (auto it = std::sregex_iterator(expression.begin(), expression.end(), kFieldName);
       it != std::sregex_iterator(); ++it) {
    if (it->str() != "UPPER") names.push_back(it->str());
  }
  return names;
}

// Tables this program reads that carry no declared fields of their own.
const std::vector<std::pair<std::string, std::vector<FieldDef>>>& ExtraTables() {
  static const std::vector<std::pair<std::string, std::vector<FieldDef>>> extra = {
      {"FormaUhrady", {{"FUH_KOD", 'C', 1}, {"FUH_NAC", 'C', 30}}},
  };
  return extra;
}

}  // namespace

std::vector<KorvanaTableSchema> KorvanaSchemas(const std::string& store_code) {
  std::vector<KorvanaTableSchema> schemas;
  for (const store::StoreTable& table : store::StoreTables()) {
    const store::RebuildTable* rebuild = store::FindRebuildTable(table.component);
    const auto extra = std::find_if(ExtraTables().begin(), ExtraTables().end(),
                                    [&](const auto& e) { return e.first == table.component; });
    if (rebuild == nullptr && table.Fields().empty() && extra == ExtraTables().end()) continue;
    KorvanaTableSchema schema;
    schema.component = table.component;
    schema.file_name = table.TableName(store_code) + ".dbf";
    for (const store::DeclaredField& declared : table.Fields()) {
      schema.fields.push_back(FromDeclared(declared));
    }
    if (extra != ExtraTables().end()) schema.fields = extra->second;
    if (rebuild != nullptr) {
      for (const store::RebuildTag& tag : rebuild->tags) {
        for (const std::string& name : FieldNamesOf(tag.key + " " + tag.for_condition)) {
          AddUnique(schema.fields, FromTagField(name));
        }
      }
    }
    schemas.push_back(std::move(schema));
  }
  return schemas;
}

}  // namespace demo
