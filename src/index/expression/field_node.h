#ifndef SALDEX_INDEX_EXPRESSION_FIELD_NODE_H_
#define SALDEX_INDEX_EXPRESSION_FIELD_NODE_H_

#include "dbf/field_codec.h"
#include "index/expression/expression_node.h"

namespace idx {

// Reads one field of the record image:
//   C      the stored bytes, full width, no code-page translation   Text
//   D      the stored text through the date parser; blank is 0      Date
//   N, F   the stored text as a decimal number; blank is 0          Number
//   L      true for one of "TtYyJj"                                 Boolean
//   M      the stored text (memo files are never read)              Text
//   other  the stored bytes                                         Memo
// Undecodable N/F/D content raises the table layer's DbfError.
class FieldNode : public ExpressionNode {
 public:
  // `readable`: the field lies inside the record image.
  FieldNode(const dbf::FieldDescriptor& field, bool readable);

  const Value& Evaluate(const EvalContext& context) override;
  void AppendText(std::string& out) const override { out += field_.name; }
  void AppendFieldNames(std::string& out) const override;

 private:
  dbf::FieldDescriptor field_;
  bool readable_;
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_FIELD_NODE_H_
