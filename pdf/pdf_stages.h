#pragma once
// The stages bytes pass through on their way into the PDF file, each a small
// object that does one thing and hands its output to the next (qpdf's
// pipelines are the model): escape a string, encrypt an object's bytes,
// count, write the file in pieces. Deflating is a stage of its own that
// finishes a whole stream at once, since a stream's length is written before
// its bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "base/file_replacer.h"
#include "pdf/pdf_security.h"

namespace tx {

class PdfStage {
 public:
  explicit PdfStage(PdfStage* next = nullptr) : next_(next) {}
  virtual ~PdfStage() = default;
  virtual void Write(const char* data, size_t length) = 0;
  void Write(std::string_view text) { Write(text.data(), text.size()); }

 protected:
  void Pass(const char* data, size_t length) {
    if (next_) next_->Write(data, length);
  }
  PdfStage* next_;
};

// The bytes of a literal string with \, (, ), and control characters escaped.
class PdfEscapeStage : public PdfStage {
 public:
  using PdfStage::PdfStage;
  using PdfStage::Write;
  void Write(const char* data, size_t length) override;
};

// RC4 with the key of one object (standard security handler, revision 2).
// The key stream runs on across writes, so an object may come in pieces.
class PdfEncryptStage : public PdfStage {
 public:
  PdfEncryptStage(const PdfSecurity& security, uint32_t objectNumber, PdfStage* next);
  using PdfStage::Write;
  void Write(const char* data, size_t length) override;

 private:
  Rc4 rc4_;
  std::vector<char> out_;
};

// Counts the bytes that pass (the file position).
class PdfCountStage : public PdfStage {
 public:
  PdfCountStage(int32_t& count, PdfStage* next) : PdfStage(next), count_(count) {}
  using PdfStage::Write;
  void Write(const char* data, size_t length) override {
    count_ += static_cast<int32_t>(length);
    Pass(data, length);
  }

 private:
  int32_t& count_;
};

// The file: bytes collected into pieces of `piece` bytes, each handed whole
// to the replacer that writes the target. After the first failed write
// nothing more is written; `onFailure` gets the system's error code once.
// Without a replacer attached the bytes go nowhere (they were counted).
class PdfFileStage : public PdfStage {
 public:
  PdfFileStage(size_t piece, std::function<void(int code)> onFailure)
      : piece_(piece), onFailure_(std::move(onFailure)) {}
  using PdfStage::Write;
  void Write(const char* data, size_t length) override;
  void Attach(FileReplacer* out);
  // Writes what is still pending; false when a write failed.
  bool Drain();
  bool Failed() const { return failed_; }
  void Reset() {
    pending_.clear();
    failed_ = false;
  }

 private:
  size_t piece_;
  std::function<void(int)> onFailure_;
  std::vector<char> pending_;
  FileReplacer* out_ = nullptr;
  bool failed_ = false;
};

// Deflates a whole stream at once (zlib, default level), keeping one deflate
// state for the document: setting up a fresh one for every short text
// stream costs more than compressing it.
class PdfFlate {
 public:
  PdfFlate();
  ~PdfFlate();
  PdfFlate(const PdfFlate&) = delete;
  PdfFlate& operator=(const PdfFlate&) = delete;
  // False (and `out` empty) when zlib fails.
  bool Deflate(const std::vector<char>& in, std::vector<char>& out);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace tx
