#ifndef SALDEX_TOOLS_DEMO_DATA_CZECH_NAMES_H_
#define SALDEX_TOOLS_DEMO_DATA_CZECH_NAMES_H_

#include <span>
#include <string_view>

namespace demo {

// Word lists of the demo data (UTF-8, with the Czech diacritics).
std::span<const std::string_view> CompanyNames();
std::span<const std::string_view> LegalForms();
std::span<const std::string_view> Surnames();
std::span<const std::string_view> FirstNames();
std::span<const std::string_view> Towns();
std::span<const std::string_view> Streets();
std::span<const std::string_view> Products();
std::span<const std::string_view> Notes();

}  // namespace demo

#endif  // SALDEX_TOOLS_DEMO_DATA_CZECH_NAMES_H_
