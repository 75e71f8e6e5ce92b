#pragma once
// The standard security handler of PDF 1.3, revision 2: 40-bit RC4 keys made
// from MD5 of the padded user password. The owner password is the user
// password, so /O and /U both come from the one password.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tx {

// The RC4 stream cipher. Each string or stream starts a fresh key stream.
class Rc4 {
 public:
  Rc4(const uint8_t* key, size_t keyLength);
  void Crypt(uint8_t* data, size_t length);

 private:
  std::array<uint8_t, 256> s_{};
  uint8_t i_ = 0, j_ = 0;
};

class PdfSecurity {
 public:
  // Makes /O, /U and the file key. idHex is the document ID as hexadecimal
  // text; permissions P is the value the dictionary shows after "/P ".
  bool Init(std::string_view password, int32_t permissionsP, std::string_view idHex);
  bool Ready() const { return ready_; }
  void Release();

  // Encrypts data in place with the key of object n (generation 0).
  void Encrypt(uint32_t objectNumber, uint8_t* data, size_t length) const;

  const std::array<uint8_t, 32>& O() const { return o_; }
  const std::array<uint8_t, 32>& U() const { return u_; }
  const std::array<uint8_t, 16>& FileHash() const { return fileHash_; }  // first 5 bytes: the key

  // The 10-byte key of one object: MD5(file key, n low 3 bytes, 0, 0), cut.
  std::array<uint8_t, 10> ObjectKey(uint32_t objectNumber) const;

  static std::array<uint8_t, 32> PadPassword(std::string_view password);
  // "0" appended to an odd length; non-hex characters count as 0.
  static std::string HexToBytes(std::string_view hex);

 private:
  bool ready_ = false;
  std::array<uint8_t, 32> o_{};
  std::array<uint8_t, 32> u_{};
  std::array<uint8_t, 16> fileHash_{};
};

// A 32-byte /O or /U value written inside "( )".
std::string EscapeKeyString(const std::array<uint8_t, 32>& value);

}  // namespace tx
