#include "host/kovlan/StringPool.h"

namespace kovlan {

void StringPool::Clear() {
  bytes_.assign(1, '\0');  // id 0: the empty text
  slots_.assign(1024, 0u);
  count_ = 0;
}

uint64_t StringPool::Hash(std::string_view text) noexcept {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (const char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  return h ^ (h >> 29);
}

uint32_t StringPool::Intern(std::string_view text) {
  if (text.empty()) return 0;
  if (text.size() > 255) text = text.substr(0, 255);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = Hash(text) & mask;; i = (i + 1) & mask) {
    const uint32_t id = slots_[i];
    if (id == 0) {
      const auto newId = static_cast<uint32_t>(bytes_.size());
      bytes_ += static_cast<char>(text.size());
      bytes_.append(text);
      slots_[i] = newId;
      if (++count_ * 2 > slots_.size()) Rehash();
      return newId;
    }
    if (View(id) == text) return id;
  }
}

void StringPool::Rehash() {
  std::vector<uint32_t> old(slots_.size() * 2, 0u);
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const uint32_t id : old) {
    if (id == 0) continue;
    std::size_t i = Hash(View(id)) & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = id;
  }
}

}  // namespace kovlan
