// ChildProcess on POSIX systems: fork and exec, two pipes, poll.
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "host/orvik-host/convert/ChildProcess.h"

namespace orvik::host::convert {

struct ChildProcess::Impl {
  pid_t pid = -1;
  int output = -1;  // read ends of the child's stdout and stderr
  int error = -1;
  bool exited = false;
  ChildEnd end;
  ChildOutputs written;

  ~Impl() {
    CloseOutputs();
    if (pid > 0 && !exited) {
      kill(pid, SIGKILL);
      Collect(true);
    }
  }

  void CloseOutputs() noexcept {
    if (output >= 0) close(output);
    if (error >= 0) close(error);
    output = error = -1;
  }

  // Reads once from `fd`; closes it at its end.
  void Read(int& fd, bool isError) {
    char buffer[65536];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
      close(fd);
      fd = -1;
      return;
    }
    written.Take(isError, buffer, static_cast<std::size_t>(n));
  }

  void Collect(bool block) noexcept {
    if (exited || pid <= 0) return;
    int status = 0;
    pid_t done;
    do {
      done = waitpid(pid, &status, block ? 0 : WNOHANG);
    } while (done < 0 && errno == EINTR);
    if (done != pid) return;
    exited = true;
    if (WIFSIGNALED(status)) {
      end = {ChildEnd::Kind::kSignal, static_cast<uint32_t>(WTERMSIG(status))};
    } else {
      end = {ChildEnd::Kind::kExited, static_cast<uint32_t>(WEXITSTATUS(status))};
    }
  }
};

ChildProcess::ChildProcess(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ChildProcess::~ChildProcess() = default;

std::unique_ptr<ChildProcess> ChildProcess::Start(const ChildCommand& command, std::string& error) {
  int out[2];
  int err[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return nullptr;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    close(out[0]);
    close(out[1]);
    return nullptr;
  }
  // Everything the child needs is made before fork: after it, only calls
  // that are safe in a child of a threaded process.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(command.program.c_str()));
  for (const std::string& arg : command.args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const char* folder = command.folder.c_str();
  const pid_t parent = getpid();

  const pid_t pid = fork();
  if (pid == 0) {
    // Its own process group: Ctrl-C on the terminal reaches the parent,
    // which stops the children. It ends with the parent.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    signal(SIGPIPE, SIG_DFL);
    const int input = open("/dev/null", O_RDONLY);
    if (input >= 0) dup2(input, 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    if (chdir(folder) != 0) {
      const char message[] = "cannot enter the file's folder\n";
      (void)!write(2, message, sizeof message - 1);
      _exit(127);
    }
    execv(argv[0], argv.data());
    const char message[] = "cannot run the program\n";
    (void)!write(2, message, sizeof message - 1);
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  if (pid < 0) {
    error = std::string("cannot start a process: ") + std::strerror(errno);
    close(out[0]);
    close(err[0]);
    return nullptr;
  }
  auto impl = std::make_unique<Impl>();
  impl->pid = pid;
  impl->output = out[0];
  impl->error = err[0];
  return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(impl)));
}

void ChildProcess::WaitAny(const std::vector<ChildProcess*>& children, std::chrono::milliseconds wait) {
  std::vector<pollfd> fds;
  std::vector<std::pair<Impl*, bool>> owners;  // the child, and whether the fd is its stderr
  for (ChildProcess* child : children) {
    Impl& c = *child->impl_;
    // Its outputs are closed, so it is ending: look again soon.
    if (c.output < 0 && c.error < 0 && !c.exited) wait = std::min(wait, std::chrono::milliseconds(1));
    if (c.output >= 0) {
      fds.push_back({c.output, POLLIN, 0});
      owners.emplace_back(&c, false);
    }
    if (c.error >= 0) {
      fds.push_back({c.error, POLLIN, 0});
      owners.emplace_back(&c, true);
    }
  }
  // A signal ends the wait early (EINTR); the caller looks at what it asks.
  const int ready = poll(fds.data(), fds.size(), static_cast<int>(wait.count()));
  if (ready > 0) {
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      Impl& c = *owners[i].first;
      c.Read(owners[i].second ? c.error : c.output, owners[i].second);
    }
  }
  for (ChildProcess* child : children) {
    Impl& c = *child->impl_;
    // With both outputs closed the child has ended, or is about to.
    if (c.output < 0 && c.error < 0) {
      c.Collect(false);
    }
  }
}

bool ChildProcess::Ended() const noexcept { return impl_->exited && impl_->output < 0 && impl_->error < 0; }
const ChildEnd& ChildProcess::End() const noexcept { return impl_->end; }
const ChildOutputs& ChildProcess::Outputs() const noexcept { return impl_->written; }

void ChildProcess::Terminate() noexcept {
  if (!impl_->exited) kill(impl_->pid, SIGTERM);
}

void ChildProcess::Kill() noexcept {
  if (!impl_->exited) kill(impl_->pid, SIGKILL);
}

void ChildProcess::Reap() noexcept {
  impl_->CloseOutputs();
  impl_->Collect(true);
}

}  // namespace orvik::host::convert
