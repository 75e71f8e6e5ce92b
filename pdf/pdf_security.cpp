#include "pdf/pdf_security.h"

#include <nettle/md5.h>

#include <cctype>
#include <utility>

namespace tx {

namespace {

constexpr uint8_t kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                  0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                  0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

Rc4::Rc4(const uint8_t* key, size_t keyLength) {
  for (int k = 0; k < 256; ++k) s_[k] = static_cast<uint8_t>(k);
  uint8_t j = 0;
  for (int k = 0; k < 256; ++k) {
    j = static_cast<uint8_t>(j + s_[k] + key[k % keyLength]);
    std::swap(s_[k], s_[j]);
  }
}

void Rc4::Crypt(uint8_t* data, size_t length) {
  for (size_t n = 0; n < length; ++n) {
    i_ = static_cast<uint8_t>(i_ + 1);
    j_ = static_cast<uint8_t>(j_ + s_[i_]);
    std::swap(s_[i_], s_[j_]);
    data[n] ^= s_[static_cast<uint8_t>(s_[i_] + s_[j_])];
  }
}

std::array<uint8_t, 32> PdfSecurity::PadPassword(std::string_view password) {
  std::array<uint8_t, 32> out{};
  size_t n = password.size() < 32 ? password.size() : 32;
  for (size_t k = 0; k < n; ++k) out[k] = static_cast<uint8_t>(password[k]);
  for (size_t k = n; k < 32; ++k) out[k] = kPadding[k - n];
  return out;
}

std::string PdfSecurity::HexToBytes(std::string_view hex) {
  std::string text(hex);
  if (text.size() % 2) text += '0';
  std::string out;
  for (size_t k = 0; k + 1 < text.size(); k += 2) {
    char hi = static_cast<char>(std::toupper(static_cast<unsigned char>(text[k])));
    char lo = static_cast<char>(std::toupper(static_cast<unsigned char>(text[k + 1])));
    out += static_cast<char>(HexDigit(hi) * 16 + HexDigit(lo));
  }
  return out;
}

bool PdfSecurity::Init(std::string_view password, int32_t permissionsP, std::string_view idHex) {
  ready_ = false;
  std::array<uint8_t, 32> padded = PadPassword(password);

  // /O: the padded (owner = user) password under the key of its own hash.
  md5_ctx ctx;
  uint8_t hash[MD5_DIGEST_SIZE];
  md5_init(&ctx);
  md5_update(&ctx, padded.size(), padded.data());
  md5_digest(&ctx, sizeof hash, hash);
  o_ = padded;
  Rc4(hash, 5).Crypt(o_.data(), o_.size());

  std::string id = HexToBytes(idHex);
  uint32_t p = static_cast<uint32_t>(permissionsP);
  uint8_t pBytes[4] = {static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p >> 16),
                       static_cast<uint8_t>(p >> 24)};
  md5_init(&ctx);
  md5_update(&ctx, padded.size(), padded.data());
  md5_update(&ctx, o_.size(), o_.data());
  md5_update(&ctx, 4, pBytes);
  md5_update(&ctx, id.size(), reinterpret_cast<const uint8_t*>(id.data()));
  md5_digest(&ctx, fileHash_.size(), fileHash_.data());

  std::copy(std::begin(kPadding), std::end(kPadding), u_.begin());
  Rc4(fileHash_.data(), 5).Crypt(u_.data(), u_.size());
  ready_ = true;
  return true;
}

void PdfSecurity::Release() {
  ready_ = false;
  o_.fill(0);
  u_.fill(0);
  fileHash_.fill(0);
}

std::array<uint8_t, 10> PdfSecurity::ObjectKey(uint32_t objectNumber) const {
  uint8_t material[10] = {fileHash_[0], fileHash_[1], fileHash_[2], fileHash_[3], fileHash_[4],
                          static_cast<uint8_t>(objectNumber), static_cast<uint8_t>(objectNumber >> 8),
                          static_cast<uint8_t>(objectNumber >> 16), 0, 0};
  md5_ctx ctx;
  uint8_t hash[MD5_DIGEST_SIZE];
  md5_init(&ctx);
  md5_update(&ctx, sizeof material, material);
  md5_digest(&ctx, sizeof hash, hash);
  std::array<uint8_t, 10> key{};
  std::copy(hash, hash + 10, key.begin());
  return key;
}

void PdfSecurity::Encrypt(uint32_t objectNumber, uint8_t* data, size_t length) const {
  if (!ready_ || length == 0) return;
  auto key = ObjectKey(objectNumber);
  Rc4(key.data(), key.size()).Crypt(data, length);
}

std::string EscapeKeyString(const std::array<uint8_t, 32>& value) {
  std::string out;
  for (uint8_t b : value) {
    switch (b) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '(': case ')': case '\\': out += '\\'; out += static_cast<char>(b); break;
      default: out += static_cast<char>(b);
    }
  }
  return out;
}

}  // namespace tx
