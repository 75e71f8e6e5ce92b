#pragma once
// The PDF writer's output file. Bytes pass through the stages of
// pdf_stages.h: buffer (a stream held in memory) -> compress (Flate) ->
// encrypt (RC4 per object) -> escape (strings) -> count (FPOS) -> file
// (written in pieces of at most 64000 bytes, through a FileReplacer).
// FPOS counts every byte meant for the file, also when the file could not be
// opened, so offsets stay consistent; Failed() tells whether the file is good.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_replacer.h"
#include "pdf/pdf_security.h"
#include "pdf/pdf_stages.h"

namespace tx {

class PDFOutputFile {
 public:
  static constexpr size_t kPiece = 64000;
  using MessageFn = std::function<void(std::string_view title, std::string_view text)>;

  PDFOutputFile();
  ~PDFOutputFile();
  PDFOutputFile(const PDFOutputFile&) = delete;
  PDFOutputFile& operator=(const PDFOutputFile&) = delete;

  // Failures are shown through this (a message box in the application).
  void SetMessageHandler(MessageFn fn) { message_ = std::move(fn); }

  void Reset(bool keepName, std::string_view name = {});
  void SetName(std::string_view name) { TARGETFILENAME = std::string(name.substr(0, 255)); }
  const std::string& GetName() const { return TARGETFILENAME; }

  // The target takes the document's place only at CloseTarget, when
  // nothing failed on the way.
  bool OpenTarget(bool create);
  bool CloseTarget();
  // Drops a document never finished; the target stays as it was.
  void AbandonTarget();
  bool TargetOpen() const { return TARGETFILEHANDLE != 0; }

  // A source file (an image) read in pieces of at most 64000 bytes.
  bool OpenSource(std::string_view name);
  void CloseSource();
  // Reads up to length bytes at SFPOS (1-based); advances SFPOS when SAUTOADVANCE.
  size_t ReadSource(uint8_t* into, size_t length);

  void Write(std::string_view text, bool clip = false);
  void WriteLine(std::string_view text);

  void StartBuffering() { BUFFERING = 1; }
  void StopBuffering() { BUFFERING = 0; }
  void StartFlate();
  void StopFlate();
  uint32_t Compress();
  void Flush(bool escape);
  std::string_view Buffered() const { return std::string_view(TEXTBUFFER.data(), TEXTBUFFER.size()); }

  void SetEncryption(bool on, std::string_view password, int32_t permissions);
  void SetEncryptID(std::string_view hex) { ENCRYPTID = std::string(hex.substr(0, 255)); }
  void BeginObject(uint32_t objectNumber);
  void EndObject();
  void WriteEncryptedString(uint32_t objectNumber, std::string_view text, bool clip);
  std::string OValue();
  std::string UValue();
  void ReleaseEncryption();
  bool Encrypting() const { return ENCRYPT != 0; }  // keys are made on demand
  bool KeysReady();
  const PdfSecurity& Security() const { return security_; }

  // True once creating, writing or closing the target failed.
  bool Failed() const { return failed_; }
  const std::string& FailureText() const { return failureText_; }

  int32_t FPOS = 0;
  int32_t SFPOS = 1;
  uint8_t SAUTOADVANCE = 1;
  std::string ORIGINALTARGETFILENAME;
  std::string TARGETFILENAME;
  int32_t TARGETFILEHANDLE = 0;
  std::string SOURCEFILENAME;
  int32_t SOURCEFILEHANDLE = 0;

  uint8_t FLATE = 0;
  uint8_t FLATED = 0;
  std::vector<char> TEXTBUFFER;
  uint32_t BUFFERLEN = 0;
  uint32_t OBJNUM = 0;
  uint8_t ENCRYPT = 0;
  uint8_t ENCRYPTING = 0;
  int32_t ACCESSPERMISSIONS = 0;
  uint8_t ENCRYPTINITED = 0;
  std::vector<char> FLATESTREAM;
  uint8_t BUFFERING = 0;
  std::string ENCRYPTID;
  std::string PASSWORD;

 private:
  void Fail(std::string_view title, std::string_view line, int code);

  MessageFn message_;
  PdfSecurity security_;
  PdfFlate flate_;
  FileReplacer target_;
  PdfFileStage file_;    // -> target_
  PdfCountStage count_;  // -> file_
  int sourceFd_ = -1;
  bool failed_ = false;
  std::string failureText_;
};

}  // namespace tx
