#include "tests/support/StandInHost.h"

#include "orvik/kovlan.h"

namespace orvik::test {

namespace {

// A handle list of the host's: `read` answers the total count and copies up
// to `max` handles.
using HandleListRead = decltype(&KvHost_Members);

std::vector<std::uint32_t> ReadHandles(HandleListRead read, std::uint32_t handle, const char* what) {
  const std::int32_t count = read(handle, nullptr, 0);
  EXPECT_GE(count, 0) << what << " of the unknown handle " << handle;
  std::vector<std::uint32_t> handles(count > 0 ? static_cast<std::size_t>(count) : 0);
  if (!handles.empty()) {
    EXPECT_EQ(read(handle, handles.data(), count), count) << what << " of " << handle;
  }
  return handles;
}

}  // namespace

void FreshHost::SetUp() { KvHost_Reset(); }
void FreshHost::TearDown() { KvHost_Reset(); }

std::vector<std::string> JournalLines(std::string_view prefix) {
  std::vector<std::string> lines;
  std::vector<char> buffer(512);
  constexpr std::size_t kLongest = std::size_t{1} << 20;
  const std::int32_t count = KvHost_JournalCount();
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t length = KvHost_JournalEntry(i, buffer.data(), static_cast<std::int32_t>(buffer.size()));
    // -1 also means "buffer too small".
    while (length < 0 && buffer.size() < kLongest) {
      buffer.resize(buffer.size() * 4);
      length = KvHost_JournalEntry(i, buffer.data(), static_cast<std::int32_t>(buffer.size()));
    }
    if (length < 0) {
      ADD_FAILURE() << "journal entry " << i << " of " << count << " cannot be read";
      continue;
    }
    const std::string_view line(buffer.data(), static_cast<std::size_t>(length));
    if (line.starts_with(prefix)) lines.emplace_back(line);
  }
  return lines;
}

std::vector<std::uint32_t> Members(std::uint32_t container) {
  return ReadHandles(&KvHost_Members, container, "members");
}

std::vector<std::uint32_t> Memberships(std::uint32_t object) {
  return ReadHandles(&KvHost_Memberships, object, "memberships");
}

}  // namespace orvik::test
