#include "pdf/pdf_output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace tx {

PDFOutputFile::PDFOutputFile()
    : file_(kPiece, [this](int code) { Fail("Target WriteFile", "|Can't write target file ", code); }),
      count_(FPOS, &file_) {}

PDFOutputFile::~PDFOutputFile() {
  if (sourceFd_ >= 0) ::close(sourceFd_);
}

void PDFOutputFile::Reset(bool keepName, std::string_view name) {
  AbandonTarget();
  FPOS = 0;
  if (!keepName) {
    SetName(name);
    ORIGINALTARGETFILENAME = TARGETFILENAME;
  }
  FLATE = FLATED = 0;
  TEXTBUFFER.clear();
  FLATESTREAM.clear();
  BUFFERLEN = 0;
  BUFFERING = 0;
  OBJNUM = 0;
  ENCRYPT = ENCRYPTING = ENCRYPTINITED = 0;
  ACCESSPERMISSIONS = 0;
  ENCRYPTID.clear();
  PASSWORD.clear();
  security_.Release();
  file_.Reset();
  failed_ = false;
  failureText_.clear();
}

void PDFOutputFile::Fail(std::string_view title, std::string_view line, int code) {
  failed_ = true;
  std::string text = "ERROR:(" + std::to_string(code) + ") " + std::strerror(code) + std::string(line) +
                     TARGETFILENAME;
  if (failureText_.empty()) failureText_ = text;
  if (message_) message_(title, text);
}

// The document goes to the target through a replacer: an existing file
// stays as it was until the document is complete, and a run that never
// finishes (or fails on the way) leaves it untouched and nothing beside it.
bool PDFOutputFile::OpenTarget(bool create) {
  if (target_.IsOpen()) CloseTarget();
  if (!target_.Open(TARGETFILENAME)) {
    Fail("Target OpenFile", create ? "|Can't create target file " : "|Can't open target file ", target_.ErrorCode());
    TARGETFILEHANDLE = 0;
    return false;
  }
  TARGETFILEHANDLE = 1;
  file_.Attach(&target_);
  return true;
}

bool PDFOutputFile::CloseTarget() {
  if (!target_.IsOpen()) return !failed_;
  file_.Drain();
  file_.Attach(nullptr);
  TARGETFILEHANDLE = 0;
  if (failed_) {
    target_.Abandon();
    return false;
  }
  if (!target_.Commit()) Fail("Target CloseFile", "|Can't close target file ", target_.ErrorCode());
  return !failed_;
}

void PDFOutputFile::AbandonTarget() {
  target_.Abandon();
  TARGETFILEHANDLE = 0;
  file_.Attach(nullptr);
}

bool PDFOutputFile::OpenSource(std::string_view name) {
  CloseSource();
  SOURCEFILENAME = std::string(name.substr(0, 255));
  sourceFd_ = ::open(SOURCEFILENAME.c_str(), O_RDONLY | O_CLOEXEC);
  if (sourceFd_ < 0) {
    int code = errno;
    std::string text = "ERROR:(" + std::to_string(code) + ") " + std::strerror(code) +
                       "|Can't open source file " + SOURCEFILENAME;
    if (message_) message_("Target OpenSourceFile", text);
    SOURCEFILENAME.clear();
    return false;
  }
  SOURCEFILEHANDLE = 1;
  SFPOS = 1;
  return true;
}

void PDFOutputFile::CloseSource() {
  if (sourceFd_ >= 0) ::close(sourceFd_);
  sourceFd_ = -1;
  SOURCEFILEHANDLE = 0;
}

size_t PDFOutputFile::ReadSource(uint8_t* into, size_t length) {
  if (sourceFd_ < 0 || SFPOS < 1) return 0;
  if (length > kPiece) length = kPiece;
  ssize_t n = ::pread(sourceFd_, into, length, SFPOS - 1);
  if (n <= 0) return 0;
  if (SAUTOADVANCE) SFPOS += static_cast<int32_t>(n);
  return static_cast<size_t>(n);
}

void PDFOutputFile::Write(std::string_view text, bool clip) {
  if (clip) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  }
  if (BUFFERING) {
    TEXTBUFFER.insert(TEXTBUFFER.end(), text.begin(), text.end());
    BUFFERLEN = static_cast<uint32_t>(TEXTBUFFER.size());
    return;
  }
  count_.Write(text);
}

void PDFOutputFile::WriteLine(std::string_view text) {
  Write(text);
  Write("\r\n");
}

void PDFOutputFile::StartFlate() {
  FLATE = 1;
  FLATED = 0;
  StartBuffering();
}

void PDFOutputFile::StopFlate() {
  FLATE = 0;
  StopBuffering();
}

uint32_t PDFOutputFile::Compress() {
  if (!FLATE) return BUFFERLEN;
  if (!flate_.Deflate(TEXTBUFFER, FLATESTREAM)) {
    FLATED = 0;
    return BUFFERLEN;
  }
  FLATED = 1;
  BUFFERLEN = static_cast<uint32_t>(FLATESTREAM.size());
  return BUFFERLEN;
}

void PDFOutputFile::Flush(bool escape) {
  const std::vector<char>& data = FLATED ? FLATESTREAM : TEXTBUFFER;
  // buffer -> [encrypt] -> [escape] -> count -> file
  PdfStage* out = &count_;
  PdfEscapeStage escaper(out);
  if (escape) out = &escaper;
  std::optional<PdfEncryptStage> encrypter;
  if (ENCRYPT && KeysReady()) out = &encrypter.emplace(security_, OBJNUM, out);
  out->Write(data.data(), data.size());
  TEXTBUFFER.clear();
  FLATESTREAM.clear();
  BUFFERLEN = 0;
  FLATED = 0;
}

void PDFOutputFile::SetEncryption(bool on, std::string_view password, int32_t permissions) {
  ENCRYPT = 0;
  if (on && !password.empty()) {
    ENCRYPT = 1;
    PASSWORD = std::string(password.substr(0, 255));
    ACCESSPERMISSIONS = permissions;
  }
}

bool PDFOutputFile::KeysReady() {
  if (!ENCRYPT || PASSWORD.empty()) return false;
  if (!ENCRYPTINITED) {
    std::string_view id = ENCRYPTID.empty() ? std::string_view("3f7a1c9e05b2d84a6e91c07f2b5d38e6") : ENCRYPTID;
    ENCRYPTINITED = security_.Init(PASSWORD, -ACCESSPERMISSIONS, id) ? 1 : 0;
  }
  return ENCRYPTINITED != 0;
}

void PDFOutputFile::BeginObject(uint32_t objectNumber) {
  if (!KeysReady()) return;
  OBJNUM = objectNumber;
  ENCRYPTING = 1;
  StartBuffering();
}

void PDFOutputFile::EndObject() {
  if (!ENCRYPTINITED) return;
  ENCRYPTING = 0;
  StopBuffering();
}

void PDFOutputFile::WriteEncryptedString(uint32_t objectNumber, std::string_view text, bool clip) {
  if (!KeysReady()) {
    Write(text, clip);
    return;
  }
  BeginObject(objectNumber);
  Write(text, clip);
  Flush(true);
  EndObject();
}

std::string PDFOutputFile::OValue() { return KeysReady() ? EscapeKeyString(security_.O()) : std::string(); }

std::string PDFOutputFile::UValue() { return KeysReady() ? EscapeKeyString(security_.U()) : std::string(); }

void PDFOutputFile::ReleaseEncryption() {
  if (ENCRYPTINITED) security_.Release();
  ENCRYPTINITED = 0;
  ENCRYPTING = 0;
}

}  // namespace tx
