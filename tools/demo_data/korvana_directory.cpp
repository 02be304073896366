#include "korvana_directory.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "dbf/charset_tables.h"
#include "dbf/system_path.h"
#include "korvana_schema.h"
#include "store/data_module.h"
#include "store/silent_operator.h"

namespace demo {
namespace {

constexpr const char* kStoreCode = "0001";

// Collects what the rebuild would tell the operator; a clean build says nothing.
class CollectingOperator : public store::SilentOperator {
 public:
  void ShowMessage(const std::string& text, const std::string&) override {
    messages += dbf::Cp1250ToUtf8(text) + "\n";
  }

  std::string messages;
};

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace

void WriteKorvanaSettings(const KorvanaDirectory& layout) {
  // The settings file is code page 1250 text, the directories in it too.
  std::ofstream ini(layout.settings_file, std::ios::binary | std::ios::trunc);
  ini << "; Korvana settings of the demo store (written by saldex-demo-data)\r\n"
      << "[Korvana]\r\n"
      << "Korvana=" << kStoreCode << "\r\n"
      << "CestaData=" << dbf::ProgramPath(layout.data_dir) << "\r\n"
      << "CestaExport=" << dbf::ProgramPath(layout.export_dir) << "\r\n"
      << "HlavniTiskarna=1\r\n"
      << "ParagonovaTiskarna=1\r\n"
      << "ZakladniCenySDPH=Ano\r\n"
      << "LoginForm=0\r\n"
      << "\r\n"
      << "[ExportSaldex]\r\n"
      << "SalExpFil=25\r\n";
  if (!ini) throw std::runtime_error("cannot write " + layout.settings_file);
}

KorvanaDirectory KorvanaLayout(const std::string& target) {
  const std::string dir = WithSlash(std::filesystem::absolute(target).lexically_normal().string());
  return {dir + "data/", dir + "saldex/", dir + "Korvana.ini"};
}

void WriteKorvanaTables(const std::string& data_dir, const KorvanaSize& size,
                        const std::string& os_user) {
  std::filesystem::create_directories(data_dir);
  std::map<std::string, TableImage> tables;
  std::map<std::string, std::string> files;
  for (KorvanaTableSchema& schema : KorvanaSchemas(kStoreCode)) {
    files[schema.component] = schema.file_name;
    tables.emplace(schema.component, TableImage(std::move(schema.fields)));
  }
  FillKorvanaTables(tables, size, os_user);
  for (const auto& [component, table] : tables) table.Write(WithSlash(data_dir) + files[component]);
}

void BuildKorvanaIndexes(const std::string& data_dir) {
  CollectingOperator op;
  store::TData data(op);
  data.settings.CestaData = dbf::ProgramPath(WithSlash(data_dir));
  data.settings.StoreCode = kStoreCode;
  data.tables().SetLocations(data.settings.CestaData, data.settings.StoreCode);
  data.Index();
  if (!op.messages.empty()) throw std::runtime_error("index rebuild:\n" + op.messages);
}

KorvanaDirectory WriteKorvanaDirectory(const std::string& target, const KorvanaSize& size,
                                       const std::string& os_user) {
  const KorvanaDirectory layout = KorvanaLayout(target);
  WriteKorvanaTables(layout.data_dir, size, os_user);
  BuildKorvanaIndexes(layout.data_dir);
  std::filesystem::create_directories(layout.export_dir);
  WriteKorvanaSettings(layout);
  return layout;
}

}  // namespace demo
