#include "platform/wmfplayer/wmf_page.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tx {

namespace {

constexpr uint32_t PLACEABLE_KEY = 0x9AC6CDD7;
constexpr size_t PLACEABLE_SIZE = 22;
constexpr uint16_t META_SETWINDOWEXT = 0x020C;

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return Le16(b, at) | static_cast<uint32_t>(Le16(b, at + 2)) << 16;
}

std::optional<WmfPage> Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return std::nullopt;
}

}  // namespace

uint16_t WmfPage::Word(const WmfRecord& r, size_t i) const {
  const size_t at = r.offset + 6 + 2 * i;
  if (6 + 2 * i + 2 > r.bytes) return 0;
  return Le16(bytes_, at);
}

const uint8_t* WmfPage::ParamBytes(const WmfRecord& r, size_t from, size_t& available) const {
  available = 0;
  if (r.bytes < 6 + from) return nullptr;
  available = r.bytes - 6 - from;
  return bytes_.data() + r.offset + 6 + from;
}

std::optional<WmfPage> WmfPage::Load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, "the page file cannot be opened");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Fail(error, "the page file cannot be read");
  return Parse(std::move(bytes), error);
}

std::optional<WmfPage> WmfPage::Parse(std::vector<uint8_t> bytes, std::string* error) {
  WmfPage page;
  size_t at = 0;
  if (bytes.size() >= PLACEABLE_SIZE && Le32(bytes, 0) == PLACEABLE_KEY) {
    page.placeable = true;
    page.left = static_cast<int16_t>(Le16(bytes, 6));
    page.top = static_cast<int16_t>(Le16(bytes, 8));
    page.right = static_cast<int16_t>(Le16(bytes, 10));
    page.bottom = static_cast<int16_t>(Le16(bytes, 12));
    page.unitsPerInch = Le16(bytes, 14);
    if (page.unitsPerInch == 0) return Fail(error, "the page gives no units per inch");
    at = PLACEABLE_SIZE;
  }
  if (bytes.size() < at + 18) return Fail(error, "the file ends inside its header");
  const uint16_t type = Le16(bytes, at), headerWords = Le16(bytes, at + 2);
  if ((type != 1 && type != 2) || headerWords != 9) return Fail(error, "not a Windows metafile");
  at += 18;
  while (at + 6 <= bytes.size()) {
    const uint32_t words = Le32(bytes, at);
    // A record shorter than its own size and function, or running past the
    // end of the file, cannot be replayed: the page ends there.
    if (words < 3 || words > (bytes.size() - at) / 2) break;
    const uint16_t function = Le16(bytes, at + 4);
    if (function == 0) break;
    page.records_.push_back({at, static_cast<size_t>(words) * 2, function});
    at += static_cast<size_t>(words) * 2;
  }
  page.bytes_ = std::move(bytes);
  if (!page.placeable) {
    // Without the placeable header the window extent stands for the page.
    for (const WmfRecord& r : page.records_)
      if (r.function == META_SETWINDOWEXT && r.bytes >= 10) {
        page.bottom = std::abs(page.Param(r, 0));
        page.right = std::abs(page.Param(r, 1));
        break;
      }
  }
  return page;
}

}  // namespace tx
