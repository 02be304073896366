#include "index/expression/field_node.h"

#include "dbf/dbf_file.h"
#include "dbf/errors.h"
#include "index/expression/date_text.h"
#include "index/expression/field_resolver.h"

namespace idx {

FieldNode::FieldNode(const dbf::FieldDescriptor& field, bool readable)
    : field_(field), readable_(readable) {
  width_ = field.width;
}

const Value& FieldNode::Evaluate(const EvalContext& context) {
  const FieldResolver* resolver = context.resolver;
  if (!context.record || !resolver) throw dbf::ExpressionError("Expression cannot be evaluated");
  if (!readable_) {
    const std::string file = resolver->table() ? resolver->table()->path() : resolver->table_name();
    throw dbf::DbfError(dbf::FormatMessage("Error on Read of file %s", file));
  }
  const uint8_t* record = context.record;
  switch (field_.type) {
    case 'C':
      value_.SetText(dbf::codec::Raw(field_, record));
      break;
    case 'D': {
      const std::string_view raw = dbf::codec::Raw(field_, record);
      const auto julian = ParseDateText(raw);
      if (!julian) {
        throw dbf::DbfError(dbf::FormatMessage(
            "Invalid date in field %s",
            resolver->table_name() + "->" + field_.name + " (" + std::string(raw) + ")"));
      }
      value_.SetNumber(*julian, ValueType::kDate);
      break;
    }
    case 'N':
    case 'F':
      value_.SetNumber(dbf::codec::DecodeNumeric(field_, record, resolver->table_name()));
      break;
    case 'L':
      value_.SetLogical(dbf::codec::DecodeLogical(field_, record));
      break;
    case 'M':
      value_.SetText(dbf::codec::Raw(field_, record));
      break;
    default:
      value_.SetText(dbf::codec::Raw(field_, record), ValueType::kMemo);
      break;
  }
  return value_;
}

void FieldNode::AppendFieldNames(std::string& out) const {
  out += field_.name;
  out += ';';
}

}  // namespace idx
