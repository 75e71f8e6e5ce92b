#pragma once
// An output file written under a temporary name beside its target and renamed
// over it only once complete, so a failed run leaves no half-written file and
// an existing target untouched.
#include <string>

namespace txcli {

class StagedFile {
 public:
  explicit StagedFile(std::string target) : target_(std::move(target)) {}
  // Removes the temporary file unless it was committed.
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Creates the temporary file (with the usual permissions for a new file);
  // false with the reason on stderr.
  bool Create();
  // Renames the temporary file over the target; false with the reason on stderr.
  bool Commit();

  const std::string& Target() const { return target_; }
  const std::string& Temporary() const { return temporary_; }
  // `text` with the temporary name replaced by the target's, for messages.
  std::string Mention(std::string text) const;

 private:
  std::string target_;
  std::string temporary_;
  bool committed_ = false;
};

}  // namespace txcli
