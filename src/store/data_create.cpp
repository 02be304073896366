// TData::DataCreate: the data module's start-up and the operator's sign-in.

#include <exception>

#include "dbf/ascii_text.h"
#include "dbf/clock.h"
#include "dbf/file_names.h"
#include "store/ansi_text.h"
#include "store/data_module.h"
#include "store/journal_date.h"
#include "store/sign_in_name.h"

namespace store {
namespace {

constexpr const char* kLoginNameField = "USR_LNA";

// Closes a table on every way out of a scope, errors of the close included
// only when no other error is on its way.
class CloseOnExit {
 public:
  explicit CloseOnExit(dbf::DbfDataSet& table) : table_(table) {}
  ~CloseOnExit() noexcept(false) {
    if (std::uncaught_exceptions() > 0) {
      try {
        table_.Close();
      } catch (const std::exception&) {
      }
    } else {
      table_.Close();
    }
  }
  CloseOnExit(const CloseOnExit&) = delete;
  CloseOnExit& operator=(const CloseOnExit&) = delete;

 private:
  dbf::DbfDataSet& table_;
};

}  // namespace

void TData::DataCreate() {
  settings.ApplyStartUpPresets();
  if (!settings.IniPrepare(op)) return;
  settings_read_ = true;
  tables_.SetLocations(settings.CestaData, settings.StoreCode);
  data_available_ = dbf::FileExistsIgnoringCase(settings.CestaData + "USR0000.dbf");
  if (!data_available_) {
    op.ShowMessage(Ansi("Data nejsou dostupná v adresáři ") + settings.CestaData,
                   kApplicationTitle);
    return;
  }
  if (settings.LoginForm) {
    RunLoginDialog(true);
    return;
  }
  try {
    SignInAutomatically();
    CheckJournalDate();
  } catch (const std::exception&) {
    Index();
  }
}

void TData::SignInAutomatically() {
  const std::string name = AutomaticSignInName(user_name_source_());
  dbf::DbfDataSet& users = Uzivatele();
  users.Open();
  CloseOnExit close(users);
  if (users.Locate(kLoginNameField, {name})) {
    TakeIdentity(users);
  } else {
    RunLoginDialog(false);
  }
}

void TData::RunLoginDialog(bool keep_users_open) {
  const std::optional<LoginEntry> entry = op.AskLogin();
  if (!entry) {
    terminate_requested_ = true;
    return;
  }
  const std::string name = DialogSignInName(entry->name);
  const std::string password = DialogSignInName(entry->password);
  dbf::DbfDataSet& users = Uzivatele();
  users.Open();
  if (!users.Locate(kLoginNameField, {name})) {
    users.Close();
    terminate_requested_ = true;
    return;
  }
  const std::string stored(dbf::Trim(DialogSignInName(users.FieldByName("USR_PSW").AsString())));
  if (stored != dbf::Trim(password)) {
    op.ShowMessage(Ansi("Neplatné heslo !!!"), kApplicationTitle);
    users.Close();
    terminate_requested_ = true;
    return;
  }
  TakeIdentity(users);
  if (!keep_users_open) users.Close();
}

void TData::TakeIdentity(dbf::DbfDataSet& users) {
  settings.OperatorName = users.FieldByName("USR_NAC").AsString();
  settings.OperatorInitials = users.FieldByName("USR_INI").AsString();
  settings.OperatorPhone = users.FieldByName("USR_TEL").AsString();
  settings.OperatorEmail = users.FieldByName("USR_EML").AsString();
  settings.UserCode = users.FieldByName("USR_KOD").AsString();
  settings.UserGroup = users.FieldByName("USR_GRP").AsString();
}

void TData::CheckJournalDate() {
  dbf::DbfDataSet& journal = Denik();
  journal.Open();
  CloseOnExit close(journal);
  journal.Last();
  if (journal.IsEmpty()) return;
  const dbf::Field& date = journal.FieldByName("DEN_DAT");
  if (date.IsNull()) return;
  const auto message = JournalDateMessage(dbf::Now().ToDateTime(), date.AsDateTime());
  if (message) {
    op.ShowMessage(*message, kApplicationTitle);
    terminate_requested_ = true;
  }
}

}  // namespace store
