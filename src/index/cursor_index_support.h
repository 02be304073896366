#ifndef SALDEX_INDEX_CURSOR_INDEX_SUPPORT_H_
#define SALDEX_INDEX_CURSOR_INDEX_SUPPORT_H_

#include <memory>
#include <string>

#include "dbf/index_support.h"

namespace dbf {
class DbfDataSet;
}

namespace idx {

class ExpressionKeySourceFactory;
class IndexSet;

// Gives a cursor its compound index files: an IndexSet over the open table with the tags'
// expressions compiled against it, installed as the table's key maintenance. Call once per
// cursor, while it is closed:
//   dbf::DbfDataSet ds;
//   idx::InstallIndexSupport(ds);
void InstallIndexSupport(dbf::DbfDataSet& data_set);

// The index side of one cursor (see dbf::IndexSupport for the contract).
class CursorIndexSupport : public dbf::IndexSupport {
 public:
  CursorIndexSupport();
  ~CursorIndexSupport() override;

  void TableOpened(dbf::DbfFile& table) override;
  void TableClosing() override;
  void SetLockProtocol(dbf::LockProtocol protocol) override;

  int OpenIndexFile(const std::string& name) override;
  void CloseIndexFile(const std::string& name) override;
  void CloseAllIndexFiles() override;

  std::unique_ptr<dbf::Order> SelectTag(std::string_view name) override;
  bool tag_selected() const override;
  bool selected_tag_has_range() const override;
  int TagCount() const override;
  std::string TagName(int n) const override;
  std::string TagExpression(int n) const override;

  SeekResult Seek(std::string_view key_text, bool exact, bool near,
                  const Visible& visible) override;
  std::vector<std::string> SelectedKeyFields() const override;
  SeekResult SeekRecordKey(const uint8_t* key_record, const Visible& visible) override;
  bool SetRange(std::string_view low_text, std::string_view high_text) override;

  std::optional<SeekResult> LocateByTag(const std::string& located_fields,
                                        const uint8_t* key_record, bool partial,
                                        const Visible& visible) override;

  void CreateTag(const std::string& path, const std::string& tag_name, const NewTag& tag,
                 const Progress& progress) override;

  // The open table's index set; nullptr while the table is closed.
  IndexSet* set() const { return set_.get(); }

 private:
  IndexSet& Set() const;

  dbf::DbfFile* table_ = nullptr;
  std::unique_ptr<ExpressionKeySourceFactory> factory_;
  std::unique_ptr<IndexSet> set_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_CURSOR_INDEX_SUPPORT_H_
