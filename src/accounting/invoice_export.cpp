#include "accounting/invoice_export.h"

#include "accounting/customer_lookup.h"
#include "accounting/saldex_records.h"
#include "store/ansi_text.h"

namespace accounting {
namespace {

// Delphi's Trim: control characters and spaces at both ends.
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

void InvoiceExport::Tell(const std::string& utf8_head, const std::string& middle,
                         const std::string& utf8_mid, const std::string& tail,
                         const std::string& utf8_end) {
  operator_.ShowMessage(
      store::Ansi(utf8_head) + middle + store::Ansi(utf8_mid) + tail + store::Ansi(utf8_end),
      store::kApplicationTitle);
}

void InvoiceExport::Run() {
  summary_ = {};
  operator_.ShowMessage(store::Ansi("POZOR - Saldex 2 nesmí být spuštěn !!!"),
                        store::kApplicationTitle);
  ucto_.Pohledavky.Open();
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
  operator_.ShowMessage(store::Ansi("POZOR - V Saldex2 proveďte indexaci a doplnění pečetí !!!"),
                        store::kApplicationTitle);
}

bool InvoiceExport::Selected(const std::string& number) const {
  return number.starts_with(store_.export_prefix);
}

void InvoiceExport::ExportCurrentInvoice() {
  const std::string number = store_.faktury.FieldByName("HLA_DO1").AsString();
  const std::string customer_code = store_.faktury.FieldByName("HLA_ODB").AsString();
  if (!Selected(number)) {
    ++summary_.not_selected;
    return;
  }
  if (receivables_->Locate(number)) {
    ++summary_.already_present;
    return;
  }
  // An empty code would match the first customer of the tag: no customer.
  if (customer_code.empty() || !FindCustomer(store_.odberatele, customer_code)) {
    ++summary_.customer_missing;
    Tell("Odběratel s kódem ", customer_code, " nebyl nalezen v seznamu odběratelů, faktura ",
         number, " nebude převedena !");
    return;
  }
  const dbf::DbfDataSet& customer = store_.odberatele;
  const std::string ico = customer.FieldByName("EXT_ICO").AsString();
  const std::string dic = customer.FieldByName("EXT_DIC").AsString();
  if (Blank(ico) || Blank(dic)) {
    ++summary_.customer_incomplete;
    Tell("U odběratele ", customer.FieldByName("EXT_NAC").AsString(),
         " není zadáno IČO nebo DIČ, faktura ", number, " nebude převedena !");
    return;
  }
  AddAddressWhenMissing(ico);
  AppendReceivable(RaiseCounter());
  ++summary_.exported;
}

void InvoiceExport::AddAddressWhenMissing(const std::string& ico) {
  if (addresses_->Locate(ico)) return;
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
