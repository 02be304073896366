#include "reports/staging_layout.h"

#include <array>

#include "index/cursor_index_support.h"
#include "store/store_tables.h"

namespace reports {
namespace {

using K = MemFieldKind;

struct Copy {
  const char* staging;
  const char* invoice;
};
// Staging field <- invoice field, in staging order.
constexpr std::array<Copy, 14> kCopies = {{
    {"Vystaveno", "HLA_DAT"},
    {"Faktura", "HLA_DO1"},
    {"Proforma", "HLA_DO2"},
    {"KodOdb", "HLA_ODB"},
    {"KodOdbPob", "HLA_ODP"},
    {"Nazev", "HLA_NAC"},
    {"CelkemNC", "HLA_NCA"},
    {"CelkemPC", "HLA_CUH"},
    {"Zaklad22", "HLA_Z22"},
    {"Zaklad05", "HLA_Z05"},
    {"Zaklad00", "HLA_Z00"},
    {"Dan22", "HLA_D22"},
    {"Dan05", "HLA_D05"},
    {"HalVyr", "HLA_FHV"},
}};

}  // namespace

void DeclareStagingFields(MemTable& table) {
  table.AddField("Vystaveno", K::kDateTime);
  table.AddField("Faktura", K::kString, 10);
  table.AddField("Proforma", K::kString, 10);
  table.AddField("KodOdb", K::kString, 7, 7);
  table.AddField("KodOdbPob", K::kString, 3);
  table.AddField("Nazev", K::kString, 30);
  for (const char* name :
       {"CelkemNC", "CelkemPC", "Zaklad22", "Zaklad05", "Zaklad00", "Dan22", "Dan05", "HalVyr"}) {
    table.AddField(name, K::kFloat);
  }
  table.AddField("Mena", K::kString, 3);
  table.AddField("Kurz", K::kFloat);
}

void PrepareInvoiceView(dbf::DbfDataSet& view) {
  const store::StoreDataSetSettings common;
  idx::InstallIndexSupport(view);
  view.set_translate_ascii(common.translate_ascii);
  view.set_exclusive(common.exclusive);
  view.set_use_deleted(common.use_deleted);
  view.set_large_integer_as(common.large_integer_as_integer ? dbf::LargeIntegerAs::kAsInteger
                                                            : dbf::LargeIntegerAs::kAsFloat);
  view.SetAutoFlush(common.auto_flush);
  view.SetUserId(static_cast<uint32_t>(common.user_id));
  view.SetLockProtocol(dbf::LockProtocol::kClipLock);
  for (const char* name : {"HLA_DO1", "HLA_DO2", "HLA_DO3", "HLA_NAC", "HLA_ODB", "HLA_ODP"}) {
    view.DeclareField(name, dbf::FieldKind::kString);
  }
  view.DeclareField("HLA_DAT", dbf::FieldKind::kDate);
  for (const char* name : {"HLA_NCA", "HLA_PCA", "HLA_Z00", "HLA_Z05", "HLA_Z22", "HLA_D05",
                           "HLA_D22", "HLA_CUH", "HLA_FHV"}) {
    view.DeclareField(name, dbf::FieldKind::kFloat);
  }
}

InvoiceStager::InvoiceStager(const dbf::DbfDataSet& view, MemTable& table) : table_(table) {
  for (const Copy& copy : kCopies) {
    copies_.emplace_back(&view.FieldByName(copy.invoice), &table.FieldByName(copy.staging));
  }
}

void InvoiceStager::StageCurrent() {
  table_.Append();
  for (const auto& [source, target] : copies_) {
    switch (target->kind()) {
      case K::kString:
        // A blank text is assigned too, as an empty text: the dump writes it
        // as "", while a field never set stays empty between its commas.
        target->SetAsString(source->AsString());
        break;
      case K::kDateTime:
        if (!source->IsNull()) target->SetAsDateTime(source->AsDateTime());
        break;
      case K::kFloat:
        if (!source->IsNull()) target->SetAsFloat(source->AsFloat());
        break;
    }
  }
  table_.Post();
}

}  // namespace reports
