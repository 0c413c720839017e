// ChildProcess on Windows: CreateProcess with two anonymous pipes, in a job
// object that ends every child when this process ends.
#include <windows.h>

#include <algorithm>

#include "host/orvik-host/convert/ChildProcess.h"

namespace orvik::host::convert {

namespace {

struct Handle {
  HANDLE h = nullptr;
  Handle() = default;
  explicit Handle(HANDLE handle) : h(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&& other) noexcept : h(other.h) { other.h = nullptr; }
  Handle& operator=(Handle&& other) noexcept {
    if (this != &other) {
      Close();
      h = other.h;
      other.h = nullptr;
    }
    return *this;
  }
  void Close() noexcept {
    if (h != nullptr) CloseHandle(h);
    h = nullptr;
  }
  explicit operator bool() const noexcept { return h != nullptr; }
};

std::string LastError(const char* what) {
  return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

// The job of every child: they end when this process does.
HANDLE Job() {
  static const HANDLE job = [] {
    const HANDLE created = CreateJobObjectA(nullptr, nullptr);
    if (created != nullptr) {
      JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
      limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
      SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return created;
  }();
  return job;
}

// One argument as the C runtime splits a command line.
void AppendQuoted(std::string& line, const std::string& arg) {
  if (!line.empty()) line += ' ';
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
    line += arg;
    return;
  }
  line += '"';
  std::size_t backslashes = 0;
  for (const char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    line.append(backslashes, '\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, '\\');
  line += '"';
}

}  // namespace

struct ChildProcess::Impl {
  Handle process;
  Handle output;  // read ends of the child's stdout and stderr
  Handle error;
  bool exited = false;
  ChildEnd end;
  ChildOutputs written;

  ~Impl() {
    if (process && !exited) {
      TerminateProcess(process.h, 1);
      WaitForSingleObject(process.h, 5000);
    }
  }

  // Reads what is waiting in the pipe without blocking.
  void Drain(Handle& pipe, bool isError) {
    while (pipe) {
      DWORD available = 0;
      if (PeekNamedPipe(pipe.h, nullptr, 0, nullptr, &available, nullptr) == 0) {
        pipe.Close();  // broken: the child's end is closed
        return;
      }
      if (available == 0) return;
      char buffer[65536];
      DWORD n = 0;
      if (ReadFile(pipe.h, buffer, std::min<DWORD>(available, sizeof buffer), &n, nullptr) == 0 || n == 0) {
        pipe.Close();
        return;
      }
      written.Take(isError, buffer, n);
    }
  }

  void Update() {
    Drain(output, false);
    Drain(error, true);
    if (exited || WaitForSingleObject(process.h, 0) != WAIT_OBJECT_0) return;
    DWORD code = 0;
    GetExitCodeProcess(process.h, &code);
    exited = true;
    end = code >= 0x80000000u ? ChildEnd{ChildEnd::Kind::kCrashed, code} : ChildEnd{ChildEnd::Kind::kExited, code};
    // What it wrote before it ended; a helper that still holds the pipes
    // (a debugger's dump) is not waited for.
    Drain(output, false);
    Drain(error, true);
    output.Close();
    error.Close();
  }
};

ChildProcess::ChildProcess(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ChildProcess::~ChildProcess() = default;

std::unique_ptr<ChildProcess> ChildProcess::Start(const ChildCommand& command, std::string& error) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE outRead = nullptr;
  HANDLE outWrite = nullptr;
  HANDLE errRead = nullptr;
  HANDLE errWrite = nullptr;
  if (CreatePipe(&outRead, &outWrite, &inherit, 65536) == 0) {
    error = LastError("cannot make a pipe");
    return nullptr;
  }
  Handle outputRead(outRead);
  Handle outputWrite(outWrite);
  if (CreatePipe(&errRead, &errWrite, &inherit, 65536) == 0) {
    error = LastError("cannot make a pipe");
    return nullptr;
  }
  Handle errorRead(errRead);
  Handle errorWrite(errWrite);
  SetHandleInformation(outputRead.h, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errorRead.h, HANDLE_FLAG_INHERIT, 0);
  Handle input(
      CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));

  std::string line;
  AppendQuoted(line, command.program);
  for (const std::string& arg : command.args) AppendQuoted(line, arg);
  std::vector<char> mutableLine(line.begin(), line.end());
  mutableLine.push_back('\0');

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.h;
  startup.hStdOutput = outputWrite.h;
  startup.hStdError = errorWrite.h;
  PROCESS_INFORMATION info{};
  // A process group of its own: Ctrl-C reaches this process, which stops
  // the children.
  if (CreateProcessA(command.program.c_str(), mutableLine.data(), nullptr, nullptr, TRUE,
                     CREATE_SUSPENDED | CREATE_NEW_PROCESS_GROUP, nullptr, command.folder.c_str(), &startup,
                     &info) == 0) {
    error = LastError("cannot start the process");
    return nullptr;
  }
  Handle thread(info.hThread);
  auto impl = std::make_unique<Impl>();
  impl->process = Handle(info.hProcess);
  if (Job() != nullptr) AssignProcessToJobObject(Job(), info.hProcess);
  ResumeThread(thread.h);
  impl->output = std::move(outputRead);
  impl->error = std::move(errorRead);
  return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(impl)));
}

void ChildProcess::WaitAny(const std::vector<ChildProcess*>& children, std::chrono::milliseconds wait) {
  std::vector<HANDLE> running;
  for (ChildProcess* child : children) {
    if (!child->impl_->exited && running.size() < MAXIMUM_WAIT_OBJECTS) running.push_back(child->impl_->process.h);
  }
  // The pipes are drained often, so that a child never waits on a full one.
  const DWORD slice = static_cast<DWORD>(std::min<long long>(wait.count(), 20));
  if (running.empty()) {
    Sleep(slice);
  } else {
    WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), FALSE, slice);
  }
  for (ChildProcess* child : children) child->impl_->Update();
}

bool ChildProcess::Ended() const noexcept { return impl_->exited; }
const ChildEnd& ChildProcess::End() const noexcept { return impl_->end; }
const ChildOutputs& ChildProcess::Outputs() const noexcept { return impl_->written; }

void ChildProcess::Terminate() noexcept { Kill(); }

void ChildProcess::Kill() noexcept {
  if (!impl_->exited) TerminateProcess(impl_->process.h, 1);
}

void ChildProcess::Reap() noexcept {
  if (!impl_->exited) WaitForSingleObject(impl_->process.h, INFINITE);
  impl_->Update();
}

}  // namespace orvik::host::convert
