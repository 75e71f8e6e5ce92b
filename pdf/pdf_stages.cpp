#include "pdf/pdf_stages.h"

#include <zlib.h>

#include <string>

namespace tx {

void PdfEscapeStage::Write(const char* data, size_t length) {
  std::string escaped;
  escaped.reserve(length * 2);
  for (size_t i = 0; i < length; ++i) {
    switch (data[i]) {
      case '\\': escaped += "\\\\"; break;
      case '(': escaped += "\\("; break;
      case ')': escaped += "\\)"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      case '\b': escaped += "\\b"; break;
      case '\f': escaped += "\\f"; break;
      default: escaped += data[i];
    }
  }
  Pass(escaped.data(), escaped.size());
}

namespace {
Rc4 ObjectRc4(const PdfSecurity& security, uint32_t objectNumber) {
  const std::array<uint8_t, 10> key = security.ObjectKey(objectNumber);
  return Rc4(key.data(), key.size());
}
}  // namespace

PdfEncryptStage::PdfEncryptStage(const PdfSecurity& security, uint32_t objectNumber, PdfStage* next)
    : PdfStage(next), rc4_(ObjectRc4(security, objectNumber)) {}

void PdfEncryptStage::Write(const char* data, size_t length) {
  out_.assign(data, data + length);
  rc4_.Crypt(reinterpret_cast<uint8_t*>(out_.data()), out_.size());
  Pass(out_.data(), out_.size());
}

void PdfFileStage::Attach(FileReplacer* out) {
  out_ = out;
  pending_.clear();
  if (out_) pending_.reserve(piece_);
}

void PdfFileStage::Write(const char* data, size_t length) {
  if (!out_ || failed_) return;  // counted before this stage, not stored
  while (length > 0) {
    const size_t room = piece_ - pending_.size();
    const size_t take = length < room ? length : room;
    pending_.insert(pending_.end(), data, data + take);
    data += take;
    length -= take;
    if (pending_.size() == piece_ && !Drain()) return;
  }
}

bool PdfFileStage::Drain() {
  if (out_ && !failed_ && !pending_.empty() && !out_->Write(pending_.data(), pending_.size())) {
    failed_ = true;
    if (onFailure_) onFailure_(out_->ErrorCode());
  }
  pending_.clear();
  return !failed_;
}

struct PdfFlate::State {
  z_stream z{};
  bool ready = false;
  ~State() {
    if (ready) deflateEnd(&z);
  }
};

PdfFlate::PdfFlate() : state_(std::make_unique<State>()) {}
PdfFlate::~PdfFlate() = default;

bool PdfFlate::Deflate(const std::vector<char>& in, std::vector<char>& out) {
  State& d = *state_;
  int rc = d.ready ? deflateReset(&d.z) : deflateInit(&d.z, Z_DEFAULT_COMPRESSION);
  if (rc == Z_OK) {
    d.ready = true;
    const uLong size = deflateBound(&d.z, static_cast<uLong>(in.size()));
    out.resize(size);
    d.z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    d.z.avail_in = static_cast<uInt>(in.size());
    d.z.next_out = reinterpret_cast<Bytef*>(out.data());
    d.z.avail_out = static_cast<uInt>(size);
    rc = deflate(&d.z, Z_FINISH) == Z_STREAM_END ? Z_OK : Z_BUF_ERROR;
  }
  if (rc != Z_OK) {
    out.clear();
    return false;
  }
  out.resize(d.z.total_out);
  return true;
}

}  // namespace tx
