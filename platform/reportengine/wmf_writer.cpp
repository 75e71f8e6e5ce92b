#include "platform/reportengine/wmf_writer.h"

#include <algorithm>

namespace tx {

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

void PutColor(std::vector<uint16_t>& params, int32_t color) {
  uint32_t c = static_cast<uint32_t>(color) & 0x00FFFFFF;
  params.push_back(static_cast<uint16_t>(c & 0xFFFF));
  params.push_back(static_cast<uint16_t>(c >> 16));
}

uint16_t U(int16_t v) { return static_cast<uint16_t>(v); }

}  // namespace

WmfWriter::WmfWriter(int16_t width, int16_t height, uint16_t unitsPerInch)
    : width_(width), height_(height), unitsPerInch_(unitsPerInch) {}

void WmfWriter::RawRecord(uint16_t function, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> body = payload;
  if (body.size() % 2) body.push_back(0);
  uint32_t words = static_cast<uint32_t>(3 + body.size() / 2);
  maxRecordWords_ = std::max(maxRecordWords_, words);
  Put32(records_, words);
  Put16(records_, function);
  records_.insert(records_.end(), body.begin(), body.end());
}

void WmfWriter::Record(uint16_t function, const std::vector<uint16_t>& params) {
  std::vector<uint8_t> payload;
  payload.reserve(params.size() * 2);
  for (uint16_t p : params) Put16(payload, p);
  RawRecord(function, payload);
}

uint16_t WmfWriter::TakeSlot() {
  auto free = std::find(slots_.begin(), slots_.end(), false);
  if (free != slots_.end()) {
    *free = true;
    return static_cast<uint16_t>(free - slots_.begin());
  }
  slots_.push_back(true);
  return static_cast<uint16_t>(slots_.size() - 1);
}

uint16_t WmfWriter::CreatePen(uint16_t style, int16_t width, int32_t color) {
  std::vector<uint16_t> p{style, U(width), 0};
  PutColor(p, color);
  Record(0x02FA, p);
  return TakeSlot();
}

uint16_t WmfWriter::CreateBrush(uint16_t style, int32_t color, uint16_t hatch) {
  std::vector<uint16_t> p{style};
  PutColor(p, color);
  p.push_back(hatch);
  Record(0x02FC, p);
  return TakeSlot();
}

uint16_t WmfWriter::CreateFont(const WmfFont& font) {
  std::vector<uint8_t> payload;
  Put16(payload, U(font.height));
  Put16(payload, 0);  // width: chosen by the aspect ratio
  Put16(payload, U(font.escapement));
  Put16(payload, U(font.escapement));
  Put16(payload, U(font.weight));
  payload.push_back(font.italic ? 1 : 0);
  payload.push_back(font.underline ? 1 : 0);
  payload.push_back(font.strikeOut ? 1 : 0);
  payload.push_back(font.charset);
  payload.push_back(0);  // out precision
  payload.push_back(0);  // clip precision
  payload.push_back(0);  // quality
  payload.push_back(0);  // pitch and family
  std::string face = font.face.substr(0, 31);
  payload.insert(payload.end(), face.begin(), face.end());
  payload.resize(payload.size() + (32 - face.size()), 0);
  RawRecord(0x02FB, payload);
  return TakeSlot();
}

void WmfWriter::SelectObject(uint16_t slot) { Record(0x012D, {slot}); }

void WmfWriter::DeleteObject(uint16_t slot) {
  Record(0x01F0, {slot});
  if (slot < slots_.size()) slots_[slot] = false;
}

void WmfWriter::SetTextColor(int32_t color) {
  std::vector<uint16_t> p;
  PutColor(p, color);
  Record(0x0209, p);
}

void WmfWriter::SetBkColor(int32_t color) {
  std::vector<uint16_t> p;
  PutColor(p, color);
  Record(0x0201, p);
}

void WmfWriter::SetBkMode(uint16_t mode) { Record(0x0102, {mode, 0}); }
void WmfWriter::SetTextAlign(uint16_t align) { Record(0x012E, {align, 0}); }
void WmfWriter::SetMapMode(uint16_t mode) { Record(0x0103, {mode}); }
void WmfWriter::SetWindowOrg(int16_t x, int16_t y) { Record(0x020B, {U(y), U(x)}); }
void WmfWriter::SetWindowExt(int16_t x, int16_t y) { Record(0x020C, {U(y), U(x)}); }
void WmfWriter::SetStretchBltMode(uint16_t mode) { Record(0x0107, {mode, 0}); }
void WmfWriter::SaveDC() { Record(0x001E, {}); }
void WmfWriter::RestoreDC() { Record(0x0127, {0xFFFF}); }

void WmfWriter::ExtTextOut(int16_t x, int16_t y, std::string_view text, uint16_t options,
                           const int16_t* clip) {
  std::vector<uint8_t> payload;
  Put16(payload, U(y));
  Put16(payload, U(x));
  Put16(payload, static_cast<uint16_t>(text.size()));
  bool rect = clip && (options & (ETO_OPAQUE | ETO_CLIPPED));
  Put16(payload, rect ? options : static_cast<uint16_t>(options & ~(ETO_OPAQUE | ETO_CLIPPED)));
  if (rect)
    for (int i = 0; i < 4; ++i) Put16(payload, U(clip[i]));
  payload.insert(payload.end(), text.begin(), text.end());
  RawRecord(0x0A32, payload);
}

void WmfWriter::Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  Record(0x041B, {U(bottom), U(right), U(top), U(left)});
}

void WmfWriter::RoundRect(int16_t left, int16_t top, int16_t right, int16_t bottom, int16_t cornerWidth,
                          int16_t cornerHeight) {
  Record(0x061C, {U(cornerHeight), U(cornerWidth), U(bottom), U(right), U(top), U(left)});
}

void WmfWriter::Ellipse(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  Record(0x0418, {U(bottom), U(right), U(top), U(left)});
}

void WmfWriter::MoveTo(int16_t x, int16_t y) { Record(0x0214, {U(y), U(x)}); }
void WmfWriter::LineTo(int16_t x, int16_t y) { Record(0x0213, {U(y), U(x)}); }

void WmfWriter::Polygon(const std::vector<WmfPoint>& points) {
  std::vector<uint16_t> p{static_cast<uint16_t>(points.size())};
  for (const auto& pt : points) {
    p.push_back(U(pt.x));
    p.push_back(U(pt.y));
  }
  Record(0x0324, p);
}

void WmfWriter::StretchDib(int16_t x, int16_t y, int16_t width, int16_t height,
                           const std::vector<uint8_t>& dib) {
  int32_t srcWidth = 0, srcHeight = 0;
  if (dib.size() >= 12) {
    srcWidth = static_cast<int32_t>(dib[4] | dib[5] << 8 | dib[6] << 16 | static_cast<uint32_t>(dib[7]) << 24);
    srcHeight = static_cast<int32_t>(dib[8] | dib[9] << 8 | dib[10] << 16 | static_cast<uint32_t>(dib[11]) << 24);
  }
  std::vector<uint8_t> payload;
  Put32(payload, 0x00CC0020);  // SRCCOPY
  Put16(payload, 0);           // DIB_RGB_COLORS
  Put16(payload, static_cast<uint16_t>(srcHeight));
  Put16(payload, static_cast<uint16_t>(srcWidth));
  Put16(payload, 0);  // source y
  Put16(payload, 0);  // source x
  Put16(payload, U(height));
  Put16(payload, U(width));
  Put16(payload, U(y));
  Put16(payload, U(x));
  payload.insert(payload.end(), dib.begin(), dib.end());
  RawRecord(0x0F43, payload);
}

void WmfWriter::Comment(uint16_t kind, std::string_view tag, uint16_t length, uint16_t flag,
                        std::string_view tail) {
  // Record bytes 10.. are the escape data: signature, kind, the tag from 14,
  // the length at 34, the flag at 36, the text from 38.
  std::vector<uint8_t> data(28, 0);
  data[0] = COMMENT_SIGNATURE & 0xFF;
  data[1] = COMMENT_SIGNATURE >> 8;
  data[2] = static_cast<uint8_t>(kind & 0xFF);
  data[3] = static_cast<uint8_t>(kind >> 8);
  if (kind == COMMENT_IMAGE_NAME) {
    // The name runs from byte 24, zero-terminated.
    data.resize(14);
    data.insert(data.end(), tail.begin(), tail.end());
    data.push_back(0);
  } else {
    std::copy(tag.begin(), tag.begin() + static_cast<long>(std::min<size_t>(tag.size(), 19)), data.begin() + 4);
    data[24] = static_cast<uint8_t>(length & 0xFF);
    data[25] = static_cast<uint8_t>(length >> 8);
    data[26] = static_cast<uint8_t>(flag & 0xFF);
    data[27] = static_cast<uint8_t>(flag >> 8);
    data.insert(data.end(), tail.begin(), tail.end());
  }
  std::vector<uint8_t> payload;
  Put16(payload, 0x000F);  // MFCOMMENT
  Put16(payload, static_cast<uint16_t>(data.size()));
  payload.insert(payload.end(), data.begin(), data.end());
  RawRecord(0x0626, payload);
}

void WmfWriter::BeginControl(std::string_view keyword, std::string_view attributes, bool continued) {
  if (attributes.size() > 2048) attributes = attributes.substr(0, 2048);
  Comment(COMMENT_BEGIN, keyword, static_cast<uint16_t>(attributes.size()), continued ? 1 : 0, attributes);
}

void WmfWriter::EndControl(std::string_view keyword, bool continued) {
  Comment(COMMENT_END, keyword, 0, continued ? 1 : 0, {});
}

void WmfWriter::ImageName(std::string_view fileName) {
  if (fileName.size() > 256) fileName = fileName.substr(0, 256);
  Comment(COMMENT_IMAGE_NAME_LENGTH, {}, static_cast<uint16_t>(fileName.size()), 0, fileName);
}

void WmfWriter::Section(std::string_view tag, bool open) {
  Comment(open ? COMMENT_SECTION_OPEN : COMMENT_SECTION_CLOSE, tag.substr(0, 9), 0, 0, {});
}

std::vector<uint8_t> WmfWriter::Finish() {
  std::vector<uint8_t> out;
  out.reserve(22 + 18 + records_.size() + 6);
  // Placeable header with its checksum over the first ten words.
  std::vector<uint8_t> placeable;
  Put32(placeable, 0x9AC6CDD7);
  Put16(placeable, 0);
  Put16(placeable, 0);
  Put16(placeable, 0);
  Put16(placeable, U(width_));
  Put16(placeable, U(height_));
  Put16(placeable, unitsPerInch_);
  Put32(placeable, 0);
  uint16_t sum = 0;
  for (size_t i = 0; i < 20; i += 2) sum ^= static_cast<uint16_t>(placeable[i] | placeable[i + 1] << 8);
  Put16(placeable, sum);
  out.insert(out.end(), placeable.begin(), placeable.end());

  uint32_t totalWords = static_cast<uint32_t>(9 + records_.size() / 2 + 3);
  Put16(out, 1);       // memory metafile
  Put16(out, 9);       // header size in words
  Put16(out, 0x0300);  // version
  Put32(out, totalWords);
  Put16(out, static_cast<uint16_t>(slots_.size()));
  Put32(out, std::max<uint32_t>(maxRecordWords_, 3));
  Put16(out, 0);
  out.insert(out.end(), records_.begin(), records_.end());
  Put32(out, 3);  // end of file
  Put16(out, 0);
  return out;
}

}  // namespace tx
