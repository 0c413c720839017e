// Ctrl-C and SIGTERM (Ctrl-Break and closing the console on Windows) as a
// request that the run looks at, instead of an end of the process.
#pragma once

namespace orvik::host::convert {

class Interrupt {
 public:
  // Catches the signals from now on; idempotent.
  static void Catch();
  // 0 while none came; else SIGINT (2) or SIGTERM (15).
  static int Signal() noexcept;
  // The exit status of a program that a signal ended: 128 + its number.
  static int ExitStatus() noexcept { return 128 + Signal(); }
  // For tests: as if the signal had come.
  static void Raise(int signal) noexcept;
  static void Clear() noexcept;
};

}  // namespace orvik::host::convert
