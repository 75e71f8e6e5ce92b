// The desktop program as a print service: "tonalyx --print-service [--printer
// NAME | --output FILE]" talks over its standard input and output, here one
// socket. It answers "ready" or "refused<TAB>why" at once; then it reads the
// job name and the page files, one per line, up to the end of its input, and
// answers "printed" or "failed<TAB>why". An input that ends before the job
// name cancels the job.
#include "cli/print_service.h"

#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace txcli {

namespace {

constexpr const char* kServiceFlag = "--print-service";

// A line of the protocol: no line breaks inside.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  return line;
}

}  // namespace

std::string DesktopProgram() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
  return ec ? std::string("tonalyx") : (self.parent_path() / "tonalyx").string();
}

PrintService::~PrintService() { Stop(); }

std::string PrintService::Start(const PrintTarget& target) {
  program_ = DesktopProgram();
  if (::access(program_.c_str(), X_OK) != 0)
    return "printing needs the desktop program '" + program_ + "': " + std::strerror(errno);
  std::vector<std::string> args = {program_, kServiceFlag};
  if (!target.printer.empty()) args.insert(args.end(), {"--printer", target.printer});
  if (!target.pdfFile.empty()) args.insert(args.end(), {"--output", target.pdfFile});
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
    return std::string("cannot start the print service: ") + std::strerror(errno);
  // The service reads and writes its end as standard input and output; its
  // standard error stays ours.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  const int spawned = posix_spawn(&pid_, program_.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  socket_ = ends[0];
  if (spawned != 0) {
    pid_ = -1;
    Stop();
    return "cannot start '" + program_ + "': " + std::strerror(spawned);
  }
  std::string answer;
  if (!ReadLine(answer)) return Silent();
  if (answer == "ready") return {};
  Stop();
  const size_t tab = answer.find('\t');
  return tab == std::string::npos ? "the print service refused the job" : answer.substr(tab + 1);
}

std::string PrintService::Print(const std::vector<std::string>& pageFiles, std::string_view jobName) {
  if (socket_ < 0) return "the print service is not running";
  std::string job = OneLine(jobName) + "\n";
  for (const std::string& file : pageFiles) job += OneLine(file) + "\n";
  std::string answer;
  if (!Send(job) || ::shutdown(socket_, SHUT_WR) != 0 || !ReadLine(answer)) return Silent();
  Stop();
  if (answer == "printed") return {};
  const size_t tab = answer.find('\t');
  return tab == std::string::npos ? "the print service did not print the job" : answer.substr(tab + 1);
}

bool PrintService::Send(const std::string& text) {
  size_t at = 0;
  while (at < text.size()) {
    // A service that has gone must not take this program with it (SIGPIPE).
    const ssize_t n = ::send(socket_, text.data() + at, text.size() - at, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += static_cast<size_t>(n);
  }
  return true;
}

bool PrintService::ReadLine(std::string& line) {
  for (;;) {
    if (const size_t end = unread_.find('\n'); end != std::string::npos) {
      line = unread_.substr(0, end);
      unread_.erase(0, end + 1);
      return true;
    }
    char buf[512];
    const ssize_t n = ::recv(socket_, buf, sizeof buf, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    unread_.append(buf, static_cast<size_t>(n));
  }
}

std::string PrintService::Silent() {
  const pid_t pid = pid_;
  pid_ = -1;
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
  int status = 0;
  if (pid <= 0 || ::waitpid(pid, &status, 0) != pid) return "the print service ended without an answer";
  if (WIFSIGNALED(status))
    return "the print service ('" + program_ + "') ended by signal " + std::to_string(WTERMSIG(status));
  return "the print service ('" + program_ + "') ended without an answer (status " +
         std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
}

void PrintService::Stop() {
  // Closing our end cancels a job not yet handed over; the service then ends.
  if (socket_ >= 0) ::close(socket_);
  socket_ = -1;
  if (pid_ > 0) {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = -1;
}

}  // namespace txcli
