// The stamp of an output folder: what made its outputs (the program, the
// plug-in, the host module and the options, as one key) and, for each file
// converted under that key, the size and time of the input it was made
// from. A file is up to date when its entry matches the input as it is now
// and its outputs are there, not older than the input.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace orvik::host::convert {

// The key of the files and options that make the outputs: each file's path,
// size and time, and the options, hashed.
std::string StampKey(const std::vector<std::string>& files, const std::string& options);

class Stamp {
 public:
  static constexpr const char* kFileName = ".orvik-convert-stamp";

  struct Entry {
    uint64_t size = 0;
    int64_t modified = 0;
    std::string status;  // the file status it was left with ("converted", "not-recognised", ...)
    bool operator==(const Entry&) const = default;
  };

  explicit Stamp(std::string key) : key_(std::move(key)) {}

  // Takes the entries of the folder's stamp when it was made under the same
  // key; false (and no entries) when there is none or it is another's.
  bool Load(const std::string& folder);
  // The entry of `relative`, or null.
  [[nodiscard]] const Entry* Find(const std::string& relative) const;
  void Record(const std::string& relative, Entry entry) { entries_[relative] = std::move(entry); }
  void Forget(const std::string& relative) { entries_.erase(relative); }
  // Writes the stamp (under a temporary name, then renamed).
  bool Save(const std::string& folder) const;

  [[nodiscard]] std::string Text() const;
  bool Read(const std::string& text);

 private:
  std::string key_;
  std::map<std::string, Entry> entries_;
};

}  // namespace orvik::host::convert
