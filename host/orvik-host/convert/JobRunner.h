// Runs child processes, up to a number at once, each with a time limit;
// stops them all when asked to.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/orvik-host/convert/ChildProcess.h"

namespace orvik::host::convert {

struct Job {
  ChildCommand command;
  std::vector<std::string> temporaries;  // files a child that does not finish may leave; removed when it has ended
};

struct JobOutcome {
  enum class Kind {
    kEnded,        // the child ended by itself: `end`
    kTimedOut,     // stopped at the time limit
    kInterrupted,  // stopped, or never started, because the run was interrupted
    kNotStarted,   // it could not be started: `startError`
  };
  Kind kind = Kind::kNotStarted;
  ChildEnd end;
  std::string errorTail;   // the end of the child's error output
  std::string outputTail;  // and of its standard output
  uint64_t outputBytes = 0;
  std::string startError;
  double seconds = 0;
  int attempts = 0;
};

// Wine fails now and then to start a program: it exits with 1, prints
// nothing, and names the shared user data on its error output. Only that is
// retried, once.
bool IsWineStartFailure(const JobOutcome& outcome);

class JobRunner {
 public:
  JobRunner(int parallel, std::chrono::milliseconds timeout) : parallel_(parallel), timeout_(timeout) {}

  // Runs `jobs` in the order of `order` (indices into `jobs`). `done` gets
  // each outcome as its child ends (in any order); `interrupted` is asked
  // often, and once it says true the children are stopped (SIGTERM, then
  // after `grace` SIGKILL) and every job not done is reported as
  // kInterrupted; `tick` is called about ten times a second.
  void Run(const std::vector<Job>& jobs, const std::vector<std::size_t>& order,
           const std::function<void(std::size_t, JobOutcome)>& done, const std::function<bool()>& interrupted,
           const std::function<void()>& tick);

  std::chrono::milliseconds grace{2000};

 private:
  int parallel_;
  std::chrono::milliseconds timeout_;
};

}  // namespace orvik::host::convert
