#include "host/orvik-host/AtomicOutput.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvik::host {

namespace {

// The temporaries being written, for a signal handler to remove: fixed
// slots, so that the handler neither allocates nor locks.
constexpr std::size_t kSlots = 32;
constexpr std::size_t kSlotBytes = 4096;
struct Slot {
  std::atomic<bool> used{false};
  std::atomic<bool> ready{false};
  char path[kSlotBytes];
};
std::array<Slot, kSlots> gSlots;

int Register(const std::string& path) noexcept {
  if (path.size() >= kSlotBytes) return -1;
  for (std::size_t i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!gSlots[i].used.compare_exchange_strong(expected, true)) continue;
    std::memcpy(gSlots[i].path, path.c_str(), path.size() + 1);
    gSlots[i].ready.store(true);
    return static_cast<int>(i);
  }
  return -1;
}

void Unregister(int slot) noexcept {
  if (slot < 0) return;
  gSlots[static_cast<std::size_t>(slot)].ready.store(false);
  gSlots[static_cast<std::size_t>(slot)].used.store(false);
}

void RemoveRegistered() noexcept {
  for (Slot& slot : gSlots) {
    if (!slot.ready.load()) continue;
#ifdef _WIN32
    DeleteFileA(slot.path);
#else
    unlink(slot.path);
#endif
  }
}

bool IsOtherThanRegularFile(const std::string& path) noexcept {
#ifdef _WIN32
  // "NUL", "CON" and the like are devices; files have attributes.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const HANDLE handle =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const DWORD type = GetFileType(handle);
    CloseHandle(handle);
    return type != FILE_TYPE_DISK;
  }
  return (attributes & FILE_ATTRIBUTE_DEVICE) != 0;
#else
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
#endif
}

#ifdef _WIN32
BOOL WINAPI ConsoleHandler(DWORD) {
  RemoveRegistered();
  return FALSE;  // the default handler ends the process
}
#else
extern "C" void SignalHandler(int signal) {
  RemoveRegistered();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
#endif

}  // namespace

std::string AtomicOutput::TemporaryName(const std::string& path) { return path + ".tmp"; }

AtomicOutput::AtomicOutput(std::string path) : path_(std::move(path)) {
  if (IsOtherThanRegularFile(path_)) {
    writePath_ = path_;
    pending_ = false;
    return;
  }
  writePath_ = TemporaryName(path_);
  slot_ = Register(writePath_);
}

AtomicOutput::~AtomicOutput() { Discard(); }

void AtomicOutput::Discard() noexcept {
  if (!pending_) return;
  pending_ = false;
  std::remove(writePath_.c_str());
  Unregister(slot_);
  slot_ = -1;
}

bool AtomicOutput::Commit() {
  if (!pending_) return true;
  if (!RenameOver(writePath_, path_)) {
    Discard();
    return false;
  }
  pending_ = false;
  Unregister(slot_);
  slot_ = -1;
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view text) {
  AtomicOutput output(path);
  std::FILE* file = std::fopen(output.WritePath().c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written && output.Commit();
}

bool RenameOver(const std::string& from, const std::string& to) noexcept {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

void RemovePendingOutputsOnSignal() {
#ifdef _WIN32
  SetConsoleCtrlHandler(ConsoleHandler, TRUE);
#else
  struct sigaction action {};
  action.sa_handler = SignalHandler;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

}  // namespace orvik::host
