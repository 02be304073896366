// Opens an arbitrary byte image as a compound index file and walks every tag forwards and
// backwards, seeks in it and checks it. Every failure must be one of the engine's errors; no
// walk may hang on pages that link in cycles.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "dbf/errors.h"
#include "index/cdx_checker.h"
#include "index/cdx_index.h"
#include "index/cdx_tag.h"

namespace {

constexpr int kMaxSteps = 20000;

const std::string& ImagePath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/cdx_fuzz_" + std::to_string(getpid()) + ".cdx";
  }();
  return path;
}

void Walk(idx::CdxTag& tag) {
  try {
    int steps = 0;
    for (uint32_t r = tag.First(); r != 0 && steps < kMaxSteps; r = tag.Next()) ++steps;
  } catch (const dbf::EngineError&) {
  }
  try {
    int steps = 0;
    for (uint32_t r = tag.Last(); r != 0 && steps < kMaxSteps; r = tag.Prior()) ++steps;
  } catch (const dbf::EngineError&) {
  }
  try {
    tag.ForEachEntry([](const std::string&, uint32_t) {});
  } catch (const dbf::EngineError&) {
  }
  for (const char* text : {"A", "", "Z", "\x80"}) {
    try {
      tag.SeekText(text, false, true, {});
      tag.SetTagRange(text, "Z");
      tag.Next();
      tag.ClearRange();
    } catch (const dbf::EngineError&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* f = std::fopen(ImagePath().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  try {
    idx::CdxOpenOptions options;
    options.read_write = false;
    auto index = idx::CdxIndex::Open(ImagePath(), options);
    Walk(index->structure_tag());
    for (const auto& tag : index->tags()) Walk(*tag);
    idx::CheckCdx(*index, nullptr);
  } catch (const dbf::EngineError&) {
  }
  std::remove(ImagePath().c_str());
  return 0;
}
