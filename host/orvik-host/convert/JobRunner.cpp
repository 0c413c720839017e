#include "host/orvik-host/convert/JobRunner.h"

#include <memory>

#include "host/orvik-host/convert/FileSystem.h"

namespace orvik::host::convert {

namespace {

using Clock = std::chrono::steady_clock;

struct Running {
  std::size_t job = 0;
  std::unique_ptr<ChildProcess> child;
  Clock::time_point started;
  int attempts = 0;
};

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

JobOutcome OutcomeOf(const Running& r, JobOutcome::Kind kind) {
  JobOutcome outcome;
  outcome.kind = kind;
  outcome.end = r.child->End();
  outcome.errorTail = r.child->ErrorTail();
  outcome.outputTail = r.child->OutputTail();
  outcome.outputBytes = r.child->OutputBytes();
  outcome.seconds = Seconds(r.started);
  outcome.attempts = r.attempts;
  return outcome;
}

void RemoveTemporaries(const Job& job) {
  for (const std::string& path : job.temporaries) RemoveFile(path);
}

}  // namespace

bool IsWineStartFailure(const JobOutcome& outcome) {
  return outcome.kind == JobOutcome::Kind::kEnded && outcome.end.kind == ChildEnd::Kind::kExited &&
         outcome.end.code == 1 && outcome.outputBytes == 0 &&
         outcome.errorTail.find("failed to map the shared user data") != std::string::npos;
}

void JobRunner::Run(const std::vector<Job>& jobs, const std::vector<std::size_t>& order,
                    const std::function<void(std::size_t, JobOutcome)>& done, const std::function<bool()>& interrupted,
                    const std::function<void()>& tick) {
  std::vector<Running> running;
  std::size_t next = 0;
  auto lastTick = Clock::now();

  auto start = [&](std::size_t job, int attempts) {
    Running r;
    r.job = job;
    r.attempts = attempts;
    r.started = Clock::now();
    std::string error;
    r.child = ChildProcess::Start(jobs[job].command, error);
    if (!r.child) {
      JobOutcome outcome;
      outcome.kind = JobOutcome::Kind::kNotStarted;
      outcome.startError = error;
      outcome.attempts = attempts;
      done(job, std::move(outcome));
      return;
    }
    running.push_back(std::move(r));
  };

  while (next < order.size() || !running.empty()) {
    if (interrupted()) break;
    while (next < order.size() && static_cast<int>(running.size()) < parallel_) start(order[next++], 1);

    std::vector<ChildProcess*> children;
    for (Running& r : running) children.push_back(r.child.get());
    ChildProcess::WaitAny(children, std::chrono::milliseconds(100));

    for (std::size_t i = 0; i < running.size();) {
      Running& r = running[i];
      const bool overdue = Clock::now() - r.started > timeout_;
      if (!r.child->Ended() && !overdue) {
        ++i;
        continue;
      }
      JobOutcome::Kind kind = JobOutcome::Kind::kEnded;
      if (!r.child->Ended()) {
        r.child->Kill();
        r.child->Reap();
        kind = JobOutcome::Kind::kTimedOut;
      }
      // A child that finished has renamed its outputs; what is left under a
      // temporary name is a crashed or stopped child's.
      RemoveTemporaries(jobs[r.job]);
      JobOutcome outcome = OutcomeOf(r, kind);
      const std::size_t job = r.job;
      const int attempts = r.attempts;
      running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
      if (attempts == 1 && IsWineStartFailure(outcome)) {
        start(job, 2);
        continue;
      }
      done(job, std::move(outcome));
    }
    if (Clock::now() - lastTick >= std::chrono::milliseconds(100)) {
      tick();
      lastTick = Clock::now();
    }
  }
  if (next == order.size() && running.empty()) return;

  // Interrupted: the children that have ended count as they ended; the
  // others are asked to end, then made to.
  {
    std::vector<ChildProcess*> children;
    for (Running& r : running) children.push_back(r.child.get());
    ChildProcess::WaitAny(children, std::chrono::milliseconds(0));
  }
  for (std::size_t i = 0; i < running.size();) {
    Running& r = running[i];
    if (!r.child->Ended()) {
      ++i;
      continue;
    }
    JobOutcome outcome = OutcomeOf(r, JobOutcome::Kind::kEnded);
    const std::size_t job = r.job;
    RemoveTemporaries(jobs[job]);
    running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
    done(job, std::move(outcome));
  }
  for (Running& r : running) r.child->Terminate();
  const auto asked = Clock::now();
  for (;;) {
    bool all = true;
    std::vector<ChildProcess*> children;
    for (Running& r : running) {
      children.push_back(r.child.get());
      all = all && r.child->Ended();
    }
    if (all || Clock::now() - asked > grace) break;
    ChildProcess::WaitAny(children, std::chrono::milliseconds(50));
  }
  for (Running& r : running) {
    r.child->Kill();
    r.child->Reap();
    RemoveTemporaries(jobs[r.job]);
    done(r.job, OutcomeOf(r, JobOutcome::Kind::kInterrupted));
  }
  for (; next < order.size(); ++next) {
    JobOutcome outcome;
    outcome.kind = JobOutcome::Kind::kInterrupted;
    done(order[next], std::move(outcome));
  }
}

}  // namespace orvik::host::convert
