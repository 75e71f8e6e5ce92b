#pragma once
// Writes a file so that a failure never costs the file that was there: the
// new content goes to a temporary file beside the target and takes the
// target's place only once it is complete and on disk. Every writer of the
// program (PNG, XML, PDF, settings) writes through one.
//
// What the target is decides how it is written:
// - a regular file is replaced and keeps its permissions (and, where the
//   system allows, its owner); one that may not be written is refused with
//   the system's reason, as cp refuses it;
// - a symbolic link stays a link: the file it leads to gets the content;
// - a character device or a FIFO (/dev/null, a pipe to another program) is
//   written in place, since replacing it would destroy it;
// - a directory, a block device or a socket is refused.
// Writes go through Files(), the program's one seam for file operations.
#include <cstddef>
#include <string>
#include <string_view>

namespace tx {

class FileReplacer {
 public:
  FileReplacer() = default;
  ~FileReplacer();  // an unfinished write is abandoned
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  // Starts writing `path`. False when it cannot be written; Error() says why.
  bool Open(const std::string& path);
  // False once any write has failed; later writes do nothing.
  bool Write(const void* data, size_t size);
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }
  // Puts the new content in place. False when it could not be: the target
  // is then as it was before Open, and no temporary file is left.
  bool Commit();
  // Drops what was written; the target stays as it was.
  void Abandon();

  bool IsOpen() const { return fd_ >= 0; }
  bool Failed() const { return error_ != 0; }
  // The system's error number of the first failure, and the text for it.
  int ErrorCode() const { return error_; }
  const std::string& Error() const { return errorText_; }
  // The file that receives the content (a link's destination).
  const std::string& Target() const { return target_; }

 private:
  bool Fail(int code, std::string text = {});
  bool Prepare(const std::string& path);

  std::string target_, temp_;
  int fd_ = -1;
  bool inPlace_ = false;
  int error_ = 0;
  std::string errorText_;
};

}  // namespace tx
