// Evaluating a compiled expression allocates nothing: this file replaces the
// global operator new of the index test program with a counting one.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "dbf/charset_tables.h"
#include "expression_test_table.h"
#include "index/expression/key_expression.h"

namespace {
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace idx::testing {
namespace {

TEST(ExpressionAllocation, EvaluatingAllocatesNothing) {
  TestTable t("Hla0001");
  t.Field("HLA_NAC", 'C', 40)
      .Field("HLA_DAT", 'D', 8)
      .Field("HLA_PLA", 'L', 1)
      .Field("SKL_KAV", 'C', 6)
      .Field("SKL_IND", 'C', 3)
      .Field("SKL_STA", 'N', 10, 2)
      .Field("BLO_KUS", 'N', 9, 2)
      .Field("BLO_VYD", 'N', 9, 2)
      .Field("SOR_SKU", 'C', 4);
  std::vector<std::vector<uint8_t>> records;
  for (int i = 0; i < 64; ++i) {
    records.push_back(t.Record({{"HLA_NAC", dbf::Utf8ToCp852("Dvořák a syn ") + std::to_string(i)},
                                {"HLA_DAT", i % 5 ? "202403" + std::to_string(10 + i % 19) : ""},
                                {"HLA_PLA", i % 2 ? "T" : "F"},
                                {"SKL_KAV", std::to_string(i * 37)},
                                {"SKL_IND", i % 3 ? "A" : ""},
                                {"SKL_STA", std::to_string(i - 30) + ".25"},
                                {"BLO_KUS", std::to_string(i)},
                                {"BLO_VYD", "7.5"},
                                {"SOR_SKU", "X"}}));
  }
  FieldResolver resolver = t.Resolver();
  const char* const kTexts[] = {"UPPER(HLA_NAC)",
                                "SKL_KAV + SKL_IND",
                                "HLA_DAT",
                                "NOT HLA_PLA",
                                "SKL_STA >0",
                                "(BLO_KUS-BLO_VYD)>0",
                                "SOR_SKU+UPPER(HLA_NAC)",
                                "DTOS(HLA_DAT)+SKL_KAV",
                                "SKL_KAV - SKL_IND",
                                "SUBSTR(HLA_NAC, 3, 4)",
                                "IIF(HLA_PLA, SKL_KAV, SOR_SKU)"};
  std::vector<KeyExpression> expressions;
  for (const char* text : kTexts) expressions.push_back(KeyExpression::Compile(text, &resolver));

  const long before = allocations.load();
  size_t checksum = 0;
  for (int round = 0; round < 3; ++round) {
    for (const auto& record : records) {
      for (KeyExpression& e : expressions) {
        const Value& v = e.Evaluate(record.data());
        checksum += v.text.size() + static_cast<size_t>(v.logical) + (v.number > 0);
      }
    }
  }
  const long during = allocations.load() - before;
  EXPECT_EQ(during, 0) << "allocations while evaluating";
  EXPECT_GT(checksum, 0u);
  // The counter itself works.
  auto* probe = new std::string(100, 'x');
  EXPECT_GT(allocations.load(), before);
  delete probe;
}

}  // namespace
}  // namespace idx::testing
