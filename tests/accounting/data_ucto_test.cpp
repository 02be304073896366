// The accounting data module: the declared fields of the three Saldex 2
// tables, the family rules at open and the directory setting.

#include "accounting/data_ucto.h"

#include "accounting/saldex_fields.h"
#include "export_fixture.h"

namespace accounting_testing {
namespace {

using accounting::TDataUcto;

std::vector<demo::FieldDef> WithField(std::vector<demo::FieldDef> layout, demo::FieldDef field) {
  for (demo::FieldDef& f : layout) {
    if (f.name == field.name) f = field;
  }
  return layout;
}

std::vector<demo::FieldDef> Without(std::vector<demo::FieldDef> layout, const std::string& name) {
  std::erase_if(layout, [&](const demo::FieldDef& f) { return f.name == name; });
  return layout;
}

class DataUctoTest : public ::testing::Test {
 protected:
  DataUctoTest() {
    demo::CreateSaldexTables(dir_.path(), 41);
    ucto_.SetDirectory(dir_.path());
  }
  std::string File(const std::string& name) const { return dir_.File(name); }
  static std::vector<demo::FieldDef> Receivables() {
    return demo::SaldexLayout(accounting::ReceivableFields());
  }
  // The error text of opening `table`; empty when it opened.
  static std::string OpenError(dbf::DbfDataSet& table) {
    try {
      table.Open();
    } catch (const dbf::EngineError& e) {
      return e.what();
    }
    return "";
  }

  testing_support::TempDir dir_;
  TDataUcto ucto_;
};

TEST_F(DataUctoTest, OpensTheSaldexLayoutWithEveryDeclaredField) {
  ucto_.Pohledavky.Open();
  ucto_.Adresar.Open();
  ucto_.Ciselnik.Open();
  EXPECT_EQ(ucto_.Pohledavky.field_count(), 38);
  EXPECT_EQ(ucto_.Adresar.field_count(), 64);
  EXPECT_EQ(ucto_.Pohledavky.FieldByName("CISLO").kind(), dbf::FieldKind::kLargeInt);
  EXPECT_EQ(ucto_.Pohledavky.FieldByName("ZAKAZKA").kind(), dbf::FieldKind::kLargeInt);
  EXPECT_EQ(ucto_.Adresar.FieldByName("RODNECISLO").kind(), dbf::FieldKind::kInteger);
  EXPECT_EQ(ucto_.Ciselnik.FieldByName("POHLEDAVKY").AsInteger(), 41);
  EXPECT_EQ(ucto_.Pohledavky.lock_protocol(), dbf::LockProtocol::kDefault);
  EXPECT_FALSE(ucto_.Pohledavky.exclusive());
  EXPECT_TRUE(ucto_.Adresar.translate_ascii());
  EXPECT_FALSE(ucto_.Ciselnik.use_deleted());
  EXPECT_EQ(ucto_.Pohledavky.large_integer_as(), dbf::LargeIntegerAs::kAsLargeInt);
  EXPECT_EQ(ucto_.Adresar.large_integer_as(), dbf::LargeIntegerAs::kAsInteger);
  EXPECT_TRUE(ucto_.Pohledavky.index_files().empty());
}

TEST_F(DataUctoTest, FieldFamiliesDecideWhetherATableOpens) {
  struct Case {
    const char* name;
    demo::FieldDef field;
    const char* error;
  };
  const Case cases[] = {
      {"CisloN8ReadsAsInteger",
       {"CISLO", 'N', 8},
       "Type mismatch for field 'CISLO', expecting: "
       "LargeInt actual: Integer"},
      {"TypDokladuN6IsOneFamily", {"TYPDOKLADU", 'N', 6}, ""},
      {"TypDokladuIsFloatWithDecimals",
       {"TYPDOKLADU", 'N', 6, 1},
       "Type mismatch for field 'TYPDOKLADU', expecting: SmallInt actual: Float"},
      {"CastkaN12WithoutDecimals",
       {"CASTKA", 'N', 12},
       "Type mismatch for field 'CASTKA', "
       "expecting: Float actual: LargeInt"},
      {"CastkaAsF", {"CASTKA", 'F', 15, 2}, ""},
      {"DateAsText",
       {"DATUMVYSTA", 'C', 8},
       "Type mismatch for field 'DATUMVYSTA', expecting: "
       "Date actual: String"},
      {"CisdokladuN18", {"CISDOKLADU", 'N', 18}, ""},
      {"UctovanoAsNumber",
       {"UCTOVANO", 'N', 1},
       "Type mismatch for field 'UCTOVANO', expecting: "
       "Boolean actual: SmallInt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    demo::CreateTable(File("KPOHLED.DBF"), WithField(Receivables(), c.field));
    TDataUcto ucto;
    ucto.SetDirectory(dir_.path());
    EXPECT_EQ(OpenError(ucto.Pohledavky), c.error);
  }
}

TEST_F(DataUctoTest, CounterIsAnIntegerOfAnyWidth) {
  demo::CreateTable(File("SYSTEMAK.DBF"), {{"POHLEDAVKY", 'N', 12}, {"FAKTURY", 'N', 8}});
  EXPECT_EQ(OpenError(ucto_.Ciselnik), "");
  ucto_.Ciselnik.Close();
  demo::CreateTable(File("SYSTEMAK.DBF"), {{"POHLEDAVKY", 'N', 8, 2}});
  EXPECT_EQ(OpenError(ucto_.Ciselnik),
            "Type mismatch for field 'POHLEDAVKY', expecting: Integer actual: Float");
}

TEST_F(DataUctoTest, MissingFileOrFieldIsRefused) {
  std::filesystem::remove(File("ADRESAR.DBF"));
  EXPECT_EQ(OpenError(ucto_.Adresar), "Cannot find file " + File("ADRESAR.DBF"));
  demo::CreateTable(File("ADRESAR.DBF"),
                    Without(demo::SaldexLayout(accounting::AddressFields()), "KOD_CENY"));
  EXPECT_EQ(OpenError(ucto_.Adresar), "Field 'KOD_CENY' not found");
}

TEST_F(DataUctoTest, FurtherFieldsOfTheFileAreAllowed) {
  auto layout = demo::SaldexLayout(accounting::AddressFields());
  layout.insert(layout.begin(), demo::FieldDef{"NOVE_POLE", 'C', 12});
  demo::CreateTable(File("ADRESAR.DBF"), layout);
  EXPECT_EQ(OpenError(ucto_.Adresar), "");
}

TEST_F(DataUctoTest, DirectoryChangesOnlyWhileEveryTableIsClosed) {
  ucto_.Adresar.Open();
  EXPECT_THROW(ucto_.SetDirectory("/elsewhere"), dbf::DatasetError);
  EXPECT_EQ(ucto_.Pohledavky.database_name(), dir_.path());
  EXPECT_EQ(ucto_.Ciselnik.database_name(), dir_.path());
  ucto_.Adresar.Close();
  ucto_.SetDirectory("/elsewhere");
  EXPECT_EQ(ucto_.Ciselnik.database_name(), "/elsewhere");
  EXPECT_EQ(ucto_.Pohledavky.table_name(), "KPOHLED.DBF");
}

}  // namespace
}  // namespace accounting_testing
