// The stand-in host module linked into a test program: a fixture that gives
// every test a fresh host, and what the host holds, read back: its call
// journal as lines, a container's members, an object's containers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvik::test {

// Every test starts and ends with a fresh host: one empty board, no fault,
// the journal off and empty, progress closed and no progress callback.
class FreshHost : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The journal's lines in order; with a prefix, only the lines that start
// with it. An entry the host does not give is a test failure.
std::vector<std::string> JournalLines(std::string_view prefix = {});

// The objects added to `container`, and the containers `object` was added
// to, in order. An unknown handle is a test failure.
std::vector<std::uint32_t> Members(std::uint32_t container);
std::vector<std::uint32_t> Memberships(std::uint32_t object);

}  // namespace orvik::test
