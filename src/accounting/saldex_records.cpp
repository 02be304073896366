#include "accounting/saldex_records.h"

#include "store/ansi_text.h"

namespace accounting {
namespace {

class Copier {
 public:
  Copier(dbf::DbfDataSet& target, const dbf::DbfDataSet& source)
      : target_(target), source_(source) {}
  dbf::Field& To(const char* name) { return target_.FieldByName(name); }
  const dbf::Field& From(const char* name) const { return source_.FieldByName(name); }
  void Text(const char* to, const char* from) { To(to).SetAsString(From(from).AsString()); }
  void Date(const char* to, const char* from) { To(to).SetAsDateTime(From(from).AsDateTime()); }
  void Amount(const char* to, const char* from) { To(to).SetAsFloat(From(from).AsFloat()); }

 private:
  dbf::DbfDataSet& target_;
  const dbf::DbfDataSet& source_;
};

}  // namespace

void FillReceivable(dbf::DbfDataSet& pohledavky, int64_t number, const dbf::DbfDataSet& invoice,
                    const dbf::DbfDataSet& customer) {
  Copier from_invoice(pohledavky, invoice);
  Copier from_customer(pohledavky, customer);
  pohledavky.FieldByName("CISLO").SetAsLargeInt(number);
  pohledavky.FieldByName("TYPDOKLADU").SetAsInteger(2);
  from_invoice.Text("CISDOKLADU", "HLA_DO1");
  from_invoice.Text("VARIABILNI", "HLA_DO1");
  from_invoice.Date("DATUMVYSTA", "HLA_DVS");
  from_invoice.Date("DATUMSPLAT", "HLA_DSP");
  from_invoice.Date("DATUMPLNEN", "HLA_DZP");
  pohledavky.FieldByName("ZPUS_UCTOV").SetAsString("620001");
  from_invoice.Text("POZNAMKA", "HLA_NAC");
  from_customer.Text("ICO", "EXT_ICO");
  from_customer.Text("DIC", "EXT_DIC");
  from_invoice.Amount("CASTKA", "HLA_CUH");
  from_invoice.Amount("ZAKLAD_Z", "HLA_Z22");
  from_invoice.Amount("DPH_Z", "HLA_D22");
  from_invoice.Amount("ZAKLAD_S", "HLA_Z05");
  from_invoice.Amount("DPH_S", "HLA_D05");
  from_invoice.Amount("ZAKLAD_N", "HLA_FHV");
  from_invoice.Text("ZAKAZKA", "HLA_OBC");
  pohledavky.FieldByName("MENA").SetAsString(store::Ansi("Kč"));
}

void FillAddress(dbf::DbfDataSet& adresar, const dbf::DbfDataSet& customer) {
  Copier from_customer(adresar, customer);
  from_customer.Text("NAZEV", "EXT_NAC");
  from_customer.Text("ICO", "EXT_ICO");
  from_customer.Text("DIC", "EXT_DIC");
  from_customer.Text("JMENO", "EXT_KO1");
  from_customer.Text("ULICE", "EXT_ULI");
  from_customer.Text("MESTO", "EXT_MES");
  from_customer.Text("PSC", "EXT_PSC");
  from_customer.Text("PRIJMENI", "EXT_KO1");
  from_customer.Text("E_MAIL", "EXT_EML");
  adresar.FieldByName("KOD_CENY").SetAsInteger(9);
}

}  // namespace accounting
