#include "index/tag_builder.h"

#include <stdexcept>

namespace idx {
namespace {

// A tree of 31 levels over 27-entry pages would index far more keys than a file can hold.
constexpr size_t kMaxLevels = 31;

}  // namespace

TagBuilder::TagBuilder(const CdxPageContext& context, uint32_t record_count, CdxPageSink& sink)
    : context_(context),
      parameters_(LeafParameters::For(context.key_length, record_count)),
      sink_(sink),
      max_interior_entries_(MaxInteriorEntries(context.key_length)),
      close_below_(2 * (parameters_.entry_bytes + context.key_length + 8)) {}

void TagBuilder::StartLeaf(uint32_t offset, uint32_t left) {
  leaf_.emplace(context_, parameters_);
  leaf_offset_ = offset;
  leaf_left_ = left;
  leaf_full_ = false;
}

void TagBuilder::Add(std::string_view key, uint32_t record) {
  if (leaf_full_) CloseLeaf(/*more_follow=*/true);
  if (!leaf_) StartLeaf(sink_.AllocatePage(), kNoPage);
  // The closing rule leaves room for any key, so this never fails.
  if (!leaf_->Add(key, record)) throw std::logic_error("tag builder: leaf overfull");
  last_key_.assign(key);
  last_record_ = record;
  any_pair_ = true;
  leaf_full_ = leaf_->free_bytes() < close_below_;
}

void TagBuilder::CloseLeaf(bool more_follow) {
  const uint32_t right = more_follow ? sink_.AllocatePage() : kNoPage;
  sink_.WritePage(leaf_offset_, leaf_->Finish(/*root=*/false, leaf_left_, right));
  const uint32_t closed = leaf_offset_;
  if (more_follow) {
    StartLeaf(right, closed);
  } else {
    leaf_.reset();
  }
  PassUp(1, InteriorEntry{last_key_, last_record_, closed}, /*may_close=*/true, more_follow);
}

TagBuilder::InteriorLevel& TagBuilder::Interior(size_t level) {
  if (level >= kMaxLevels) throw std::length_error("tag builder: tree too deep");
  if (interior_.size() < level) interior_.resize(level);
  return interior_[level - 1];
}

void TagBuilder::PassUp(size_t level, InteriorEntry entry, bool may_close, bool more_follow) {
  InteriorLevel& node = Interior(level);
  if (!node.started) {
    node.started = true;
    node.offset = sink_.AllocatePage();
    node.left = kNoPage;
  }
  node.entries.push_back(std::move(entry));
  if (may_close && node.entries.size() >= max_interior_entries_) CloseInterior(level, more_follow);
}

void TagBuilder::CloseInterior(size_t level, bool more_follow) {
  InteriorLevel& node = Interior(level);
  const uint32_t right = more_follow ? sink_.AllocatePage() : kNoPage;
  CdxInteriorPage page{false, node.left, right, std::move(node.entries)};
  sink_.WritePage(node.offset, EncodeInteriorPage(page, context_));
  InteriorEntry up = page.entries.back();
  up.child = node.offset;
  node.entries.clear();
  node.left = node.offset;
  node.offset = right;
  node.started = more_follow;
  PassUp(level + 1, std::move(up), /*may_close=*/true, more_follow);
}

uint32_t TagBuilder::WriteEmptyRoot() {
  const uint32_t offset = sink_.AllocatePage();
  CdxLeafWriter empty(context_, LeafParameters::For(context_.key_length, 0));
  sink_.WritePage(offset, empty.Finish(/*root=*/true, kNoPage, kNoPage));
  return offset;
}

uint32_t TagBuilder::Finish() {
  if (!any_pair_) return WriteEmptyRoot();
  if (leaf_full_) CloseLeaf(/*more_follow=*/false);

  size_t root_level = 0;
  for (size_t level = 1; level <= interior_.size(); ++level) {
    if (!interior_[level - 1].entries.empty()) root_level = level;
  }
  if (leaf_ && leaf_->count() > 0) {
    const bool root = root_level == 0;
    sink_.WritePage(leaf_offset_, leaf_->Finish(root, leaf_left_, kNoPage));
    if (root) return leaf_offset_;
    PassUp(1, InteriorEntry{last_key_, last_record_, leaf_offset_}, /*may_close=*/false, false);
  }
  for (size_t level = 1;; ++level) {
    InteriorLevel& node = Interior(level);
    if (node.entries.empty()) continue;
    const bool root = level == root_level;
    CdxInteriorPage page{root, node.left, kNoPage, std::move(node.entries)};
    sink_.WritePage(node.offset, EncodeInteriorPage(page, context_));
    if (root) return node.offset;
    InteriorEntry up = page.entries.back();
    up.child = node.offset;
    PassUp(level + 1, std::move(up), /*may_close=*/false, false);
  }
}

}  // namespace idx
