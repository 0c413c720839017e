#include "host/orvik-host/convert/Stamp.h"

#include <cstdio>
#include <sstream>

#include "host/orvik-host/AtomicOutput.h"
#include "host/orvik-host/convert/FileSystem.h"

namespace orvik::host::convert {

namespace {

constexpr const char* kHeader = "orvik-convert-stamp 1";

// FNV-1a, 64 bits: a change detector, not a checksum against tampering.
void Mix(uint64_t& hash, std::string_view bytes) {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ULL;
  }
  hash ^= 0xFF;  // ends the field
  hash *= 0x100000001B3ULL;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

bool FromHex(const std::string& hex, std::string& out) {
  if (hex.size() % 2 != 0) return false;
  auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = digit(hex[i]);
    const int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
  }
  return true;
}

}  // namespace

std::string StampKey(const std::vector<std::string>& files, const std::string& options) {
  uint64_t hash = 0xCBF29CE484222325ULL;
  for (const std::string& file : files) {
    const EntryInfo info = Describe(file);
    Mix(hash, file);
    Mix(hash, std::to_string(info.size));
    Mix(hash, std::to_string(info.modified));
  }
  Mix(hash, options);
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

const Stamp::Entry* Stamp::Find(const std::string& relative) const {
  const auto found = entries_.find(relative);
  return found == entries_.end() ? nullptr : &found->second;
}

std::string Stamp::Text() const {
  std::string text = std::string(kHeader) + "\nkey " + key_ + "\n";
  for (const auto& [relative, entry] : entries_) {
    text += std::to_string(entry.size) + " " + std::to_string(entry.modified) + " " + entry.status + " " +
            Hex(relative) + "\n";
  }
  return text;
}

bool Stamp::Read(const std::string& text) {
  entries_.clear();
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return false;
  if (!std::getline(in, line) || line != "key " + key_) return false;
  std::map<std::string, Entry> entries;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Entry entry;
    std::string hex;
    std::string relative;
    if (!(fields >> entry.size >> entry.modified >> entry.status >> hex) || !FromHex(hex, relative)) return false;
    entries[relative] = entry;
  }
  entries_ = std::move(entries);
  return true;
}

bool Stamp::Load(const std::string& folder) { return Read(ReadWholeFile(JoinPath(folder, kFileName))); }

bool Stamp::Save(const std::string& folder) const { return WriteFileAtomically(JoinPath(folder, kFileName), Text()); }

}  // namespace orvik::host::convert
