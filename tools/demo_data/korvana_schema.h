#ifndef SALDEX_TOOLS_DEMO_DATA_KORVANA_SCHEMA_H_
#define SALDEX_TOOLS_DEMO_DATA_KORVANA_SCHEMA_H_

#include <string>
#include <vector>

#include "table_image.h"

namespace demo {

// One table of the demo Korvana directory.
struct KorvanaTableSchema {
  std::string component;  // data module component, e.g. "Faktury"
  std::string file_name;  // "Fak0001.dbf"
  std::vector<FieldDef> fields;
};

// The tables of the demo directory for `store_code`: every table of the
// index rebuild and every table this program reads. Tables with declared
// fields carry them in declaration order, followed by any further field
// their tags use; the other tables carry the fields their tags use.
std::vector<KorvanaTableSchema> KorvanaSchemas(const std::string& store_code);

}  // namespace demo

#endif  // SALDEX_TOOLS_DEMO_DATA_KORVANA_SCHEMA_H_
