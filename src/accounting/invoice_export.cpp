#include "accounting/invoice_export.h"

#include <exception>

#include "accounting/export_messages.h"
#include "accounting/exporter_lock.h"
#include "accounting/saldex_records.h"

namespace accounting {
namespace {

// Nothing but spaces and control characters.
bool Blank(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

}  // namespace

InvoiceExport::InvoiceExport(StoreSide store, TDataUcto& ucto, store::Operator& op,
                             SearchMethod method)
    : store_(std::move(store)), ucto_(ucto), operator_(op), method_(method) {}

void InvoiceExport::Tell(const std::string& text) {
  operator_.ShowMessage(text, store::kApplicationTitle);
}

bool InvoiceExport::Run() {
  summary_ = {};
  Tell(SaldexMustNotRunText());
  ucto_.Pohledavky.Open();
  ExporterLock exporters;
  if (!exporters.TryAcquire(ucto_.Pohledavky.file().path())) {
    Tell(ExportRunningText());
    return false;
  }
  store_.open_customers();
  store_.faktury.First();
  ucto_.Ciselnik.Open();
  receivables_ = MakeExistenceSearch(method_, ucto_.Pohledavky, "CISDOKLADU");
  addresses_ = MakeExistenceSearch(method_, ucto_.Adresar, "ICO");
  while (!store_.faktury.Eof()) {
    ++summary_.read;
    try {
      ExportCurrentInvoice();
    } catch (...) {
      DropUnposted();
      throw;
    }
    store_.faktury.Next();
  }
  ucto_.Ciselnik.Close();
  store_.close_customers();
  Tell(ReindexSaldexText());
  return true;
}

bool InvoiceExport::Selected(const std::string& number) const {
  return number.starts_with(store_.export_prefix);
}

void InvoiceExport::ExportCurrentInvoice() {
  const InvoiceOutcome outcome = Decide();
  if (listener_) listener_(outcome);
}

InvoiceOutcome InvoiceExport::Decide() {
  InvoiceOutcome outcome{store_.faktury.FieldByName("HLA_DO1").AsString(),
                         store_.faktury.FieldByName("HLA_ODB").AsString()};
  const std::string& number = outcome.invoice;
  const std::string& customer_code = outcome.customer_code;
  if (!Selected(number)) {
    ++summary_.not_selected;
    outcome.decision = ExportDecision::kNotSelected;
    return outcome;
  }
  if (receivables_->Locate(number)) {
    ++summary_.already_present;
    outcome.decision = ExportDecision::kAlreadyPresent;
    return outcome;
  }
  // FindKey on tag KOD: the first customer whose code begins with the
  // invoice's. An empty code would take the first customer of the tag, so it
  // finds none.
  if (customer_code.empty() || !store_.odberatele.FindKey({dbf::SearchValue(customer_code)})) {
    ++summary_.customer_missing;
    Tell(CustomerNotFoundText(customer_code, number));
    outcome.decision = ExportDecision::kCustomerMissing;
    return outcome;
  }
  const dbf::DbfDataSet& customer = store_.odberatele;
  const std::string ico = customer.FieldByName("EXT_ICO").AsString();
  const std::string dic = customer.FieldByName("EXT_DIC").AsString();
  if (Blank(ico) || Blank(dic)) {
    ++summary_.customer_incomplete;
    Tell(MissingIcoOrDicText(customer.FieldByName("EXT_NAC").AsString(), number));
    outcome.decision = ExportDecision::kCustomerIncomplete;
    return outcome;
  }
  outcome.address_added = !addresses_->Locate(ico);
  RequireAppendableTables(outcome.address_added);
  if (outcome.address_added) AddAddress();
  const int64_t receivable_number = RaiseCounter();
  try {
    AppendReceivable(receivable_number);
  } catch (...) {
    DropUnposted();
    GiveBackCounter(receivable_number);
    throw;
  }
  ++summary_.exported;
  return outcome;
}

// A Saldex 2 table whose last record was cut refuses appends. Tested (under
// each table's append lock) before anything is written for the invoice, so a
// cut table leaves no address, no raised counter and no receivable of it
// behind; each append tests again.
void InvoiceExport::RequireAppendableTables(bool address_missing) {
  ucto_.Pohledavky.file().RequireAppendableTail();
  if (address_missing) ucto_.Adresar.file().RequireAppendableTail();
  // An empty counter table gets its record by an append.
  if (ucto_.Ciselnik.IsEmpty()) ucto_.Ciselnik.file().RequireAppendableTail();
}

void InvoiceExport::AddAddress() {
  dbf::DbfDataSet& adresar = ucto_.Adresar;
  adresar.Append();
  FillAddress(adresar, store_.odberatele);
  adresar.Post();
  ++summary_.addresses_added;
}

int64_t InvoiceExport::RaiseCounter() {
  dbf::DbfDataSet& ciselnik = ucto_.Ciselnik;
  ciselnik.Edit();
  dbf::Field& counter = ciselnik.FieldByName("POHLEDAVKY");
  const int64_t raised = static_cast<int64_t>(counter.AsInteger()) + 1;
  counter.SetAsLargeInt(raised);
  ciselnik.Post();
  return raised;
}

// The number of a receivable that was not written goes back, so the counter
// counts written receivables only. Only while the counter still holds that
// number: a number taken after it by someone else stays taken. A give-back
// that fails leaves a gap in the numbering, never a number used twice, and
// gives way to the error that ended the append.
void InvoiceExport::GiveBackCounter(int64_t number) {
  dbf::DbfDataSet& ciselnik = ucto_.Ciselnik;
  try {
    ciselnik.Edit();
    dbf::Field& counter = ciselnik.FieldByName("POHLEDAVKY");
    if (static_cast<int64_t>(counter.AsInteger()) != number) {
      ciselnik.Cancel();
      return;
    }
    counter.SetAsLargeInt(number - 1);
    ciselnik.Post();
    ++summary_.numbers_given_back;
  } catch (const std::exception&) {
    if (ciselnik.state() == dbf::DataSetState::kEdit) ciselnik.Cancel();
  }
}

void InvoiceExport::AppendReceivable(int64_t number) {
  dbf::DbfDataSet& pohledavky = ucto_.Pohledavky;
  pohledavky.Append();
  FillReceivable(pohledavky, number, store_.faktury, store_.odberatele);
  pohledavky.Post();
}

// A record being filled when an error struck must never be written later.
void InvoiceExport::DropUnposted() {
  for (dbf::DbfDataSet* table : {&ucto_.Pohledavky, &ucto_.Adresar, &ucto_.Ciselnik}) {
    if (table->state() == dbf::DataSetState::kEdit ||
        table->state() == dbf::DataSetState::kInsert) {
      table->Cancel();
    }
  }
}

}  // namespace accounting
