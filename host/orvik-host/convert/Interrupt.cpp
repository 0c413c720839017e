#include "host/orvik-host/convert/Interrupt.h"

#include <atomic>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvik::host::convert {

namespace {

constexpr int kInterrupt = 2;   // SIGINT
constexpr int kTerminate = 15;  // SIGTERM
std::atomic<int> gSignal{0};

#ifdef _WIN32
BOOL WINAPI OnConsoleEvent(DWORD event) {
  int expected = 0;
  gSignal.compare_exchange_strong(expected, event == CTRL_C_EVENT ? kInterrupt : kTerminate);
  return TRUE;
}
#else
extern "C" void OnSignal(int signal) {
  int expected = 0;
  gSignal.compare_exchange_strong(expected, signal == SIGINT ? kInterrupt : kTerminate);
}
#endif

}  // namespace

void Interrupt::Catch() {
#ifdef _WIN32
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a wait ends early
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

int Interrupt::Signal() noexcept { return gSignal.load(); }
void Interrupt::Raise(int signal) noexcept { gSignal.store(signal); }
void Interrupt::Clear() noexcept { gSignal.store(0); }

}  // namespace orvik::host::convert
