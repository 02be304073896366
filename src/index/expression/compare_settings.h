#ifndef SALDEX_INDEX_EXPRESSION_COMPARE_SETTINGS_H_
#define SALDEX_INDEX_EXPRESSION_COMPARE_SETTINGS_H_

namespace idx {

// How text operators compare; copied into every operator node at compile time.
struct CompareSettings {
  bool case_insensitive = false;
  bool wildcards = true;  // "=" matches a pattern when the right side begins or ends with `many`
  char many = '*';        // a run of any characters
  char one = '?';         // any one character
};

}  // namespace idx

#endif  // SALDEX_INDEX_EXPRESSION_COMPARE_SETTINGS_H_
