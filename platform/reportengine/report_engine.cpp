#include "platform/reportengine/report_engine.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/picture.h"
#include "platform/reportengine/png_dib.h"
#include "platform/reportengine/text_measure.h"
#include "platform/reportengine/wmf_writer.h"

namespace tx {

namespace {

constexpr uint16_t PS_NULL = 5;
constexpr uint16_t BS_SOLID = 0, BS_HOLLOW = 1;
constexpr uint16_t TRANSPARENT = 1, OPAQUE = 2;
constexpr int16_t COLORONCOLOR = 3;

int16_t S(int v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

std::string RightTrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

struct ReportEngine::PendingText {
  const ReportControl* control;
  std::vector<std::string> lines;
  size_t next;
  int x;
  bool drawnBefore;
};

ReportEngine::ReportEngine() : measure_(MeasureTextWidth) {}

ReportEngine::~ReportEngine() { Discard(); }

std::string ReportEngine::Value(const std::string& field) const {
  auto it = values_.find(field);
  return it == values_.end() ? std::string() : it->second;
}

int ReportEngine::Open(const ReportLayout& layout) {
  Discard();
  layout_ = layout;
  std::error_code ec;
  std::string tmpl = (std::filesystem::temp_directory_path(ec) / "tonalyx-pages-XXXXXX").string();
  if (ec || !mkdtemp(tmpl.data())) return Level::Fatal;
  directory_ = tmpl;
  pageNumber_ = 0;
  cursorY_ = 0;
  groupStarted_ = false;
  lastBreak_.clear();
  open_ = true;
  return Level::Done;
}

void ReportEngine::Discard() {
  page_.reset();
  open_ = false;
  if (!directory_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(directory_, ec);
    directory_.clear();
  }
}

std::string ReportEngine::FormatValue(std::string_view picture, std::string_view value) {
  if (picture.empty()) return RightTrim(std::string(value));
  char kind = picture[0];
  if (kind == 's' || kind == 'S') {
    size_t width = static_cast<size_t>(std::atoi(std::string(picture.substr(1)).c_str()));
    return RightTrim(std::string(value.substr(0, std::min(width, value.size()))));
  }
  if (kind == 'n' || kind == 'N') {
    // "_" asks for blank fill, which is what a number picture does anyway.
    std::string plain;
    for (char ch : picture)
      if (ch != '_') plain += ch;
    auto number = NumberPicture::Parse(plain);
    if (!number) return RightTrim(std::string(value));
    double v = std::strtod(std::string(value).c_str(), nullptr);
    std::string shown = number->Format(v);
    if (number->blankWhenZero && shown.find_first_not_of(' ') == std::string::npos) return std::string();
    return RightTrim(shown);
  }
  return RightTrim(std::string(value));
}

std::string ReportEngine::Shown(const ReportControl& c) const {
  return FormatValue(c.picture, c.field.empty() ? c.text : Value(c.field));
}

int ReportEngine::LineHeight(const ReportFont& font) const {
  return static_cast<int>(std::lround(font.size * 1000.0 / 72.0 * 1.2));
}

int ReportEngine::Measure(const ReportFont& font, std::string_view text) const { return measure_(font, text); }

std::vector<std::string> ReportEngine::WrapLines(const ReportControl& c) const {
  const ReportFont& font = FontOf(c);
  std::string text = c.field.empty() ? c.text : Value(c.field);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string paragraph = text.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
    std::string line;
    size_t pos = 0;
    while (pos < paragraph.size()) {
      size_t wordEnd = paragraph.find(' ', pos);
      if (wordEnd == std::string::npos) wordEnd = paragraph.size();
      std::string word = paragraph.substr(pos, wordEnd - pos);
      std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && c.width > 0 && Measure(font, candidate) > c.width) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
      pos = wordEnd + 1;
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

int ReportEngine::BandHeight(const ReportBand& band) const {
  int height = band.height;
  for (const auto& c : band.controls) {
    int h = c.height;
    if (c.kind == ReportControlKind::Text)
      h = std::max(h, static_cast<int>(WrapLines(c).size()) * LineHeight(FontOf(c)));
    else if (c.kind == ReportControlKind::String && h == 0)
      h = LineHeight(FontOf(c));
    height = std::max(height, c.y + h);
  }
  return height;
}

int ReportEngine::StartPage() {
  ++pageNumber_;
  SetValue(PAGE_NUMBER_FIELD, std::to_string(pageNumber_));
  page_ = std::make_unique<WmfWriter>(S(layout_.pageWidth), S(layout_.pageHeight), 1000);
  page_->SetMapMode(8);  // anisotropic: the window below maps the page
  page_->SetWindowOrg(0, 0);
  page_->SetWindowExt(S(layout_.pageWidth), S(layout_.pageHeight));
  page_->SetBkMode(TRANSPARENT);
  page_->SetTextAlign(0);  // reference point at the top left of the text
  cursorY_ = 0;
  if (layout_.pageHeader)
    for (const auto& c : layout_.pageHeader->controls)
      DrawControl(c, layout_.pageHeader->x, layout_.pageHeader->y);
  return Level::Done;
}

int ReportEngine::FinishPage() {
  if (!page_) return Level::Done;
  if (layout_.pageFooter)
    for (const auto& c : layout_.pageFooter->controls)
      DrawControl(c, layout_.pageFooter->x, layout_.pageFooter->y);
  std::vector<uint8_t> bytes = page_->Finish();
  page_.reset();
  char name[32];
  std::snprintf(name, sizeof name, "page%04d.wmf", pageNumber_);
  std::string path = (std::filesystem::path(directory_) / name).string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) return Level::Fatal;
  if (pageList_) pageList_->push_back(path);
  return Level::Done;
}

int ReportEngine::PrintBand(const std::string& bandName) {
  if (!open_) return Level::Fatal;
  auto band = std::find_if(layout_.details.begin(), layout_.details.end(),
                           [&](const ReportBand& b) { return b.name == bandName; });
  if (band == layout_.details.end()) return Level::NotDone;
  if (layout_.group) {
    const auto& members = layout_.group->members;
    bool inGroup = members.empty() || std::find(members.begin(), members.end(), bandName) != members.end();
    std::string current = RightTrim(Value(layout_.group->breakField));
    if (inGroup && (!groupStarted_ || current != lastBreak_)) {
      groupStarted_ = true;
      lastBreak_ = current;
      // A header is kept with the first band of its group: one that would
      // end a page with nothing under it starts the next page instead.
      const ReportBand& header = layout_.group->header;
      if (page_ && cursorY_ > 0 &&
          cursorY_ + header.y + BandHeight(header) + band->y + BandHeight(*band) > layout_.bodyHeight) {
        if (int r = FinishPage()) return r;
        if (int r = StartPage()) return r;
      }
      if (int r = PlaceBand(header)) return r;
    }
  }
  return PlaceBand(*band);
}

int ReportEngine::PlaceBand(const ReportBand& band) {
  if (!page_)
    if (int r = StartPage()) return r;
  const int height = BandHeight(band);
  const int bodyBottom = layout_.bodyY + layout_.bodyHeight;
  if (cursorY_ > 0 && cursorY_ + band.y + height > layout_.bodyHeight) {
    // Only a band whose text can run on may start on a page it does not fit.
    bool runsOn = false;
    for (const auto& c : band.controls)
      if (c.kind == ReportControlKind::Text &&
          layout_.bodyY + cursorY_ + band.y + c.y + LineHeight(FontOf(c)) <= bodyBottom &&
          c.y + static_cast<int>(WrapLines(c).size()) * LineHeight(FontOf(c)) >= height)
        runsOn = true;
    if (!runsOn) {
      if (int r = FinishPage()) return r;
      if (int r = StartPage()) return r;
    }
  }
  const int originX = layout_.bodyX + band.x;
  const int originY = layout_.bodyY + cursorY_ + band.y;
  std::vector<PendingText> pending;
  for (const auto& c : band.controls) {
    if (c.kind != ReportControlKind::Text) {
      DrawControl(c, originX, originY);
      continue;
    }
    std::vector<std::string> lines = WrapLines(c);
    const int lineHeight = LineHeight(FontOf(c));
    const int top = originY + c.y;
    size_t fit = static_cast<size_t>(std::max(0, (bodyBottom - top) / lineHeight));
    fit = std::min(fit, lines.size());
    bool more = fit < lines.size();
    if (fit > 0)
      DrawTextLines(c, std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(fit)),
                    originX + c.x, top, false, more);
    if (more) pending.push_back({&c, std::move(lines), fit, originX + c.x, fit > 0});
  }
  cursorY_ = std::min(cursorY_ + band.y + height, layout_.bodyHeight);
  while (!pending.empty()) {
    if (int r = FinishPage()) return r;
    if (int r = StartPage()) return r;
    int used = 0;
    std::vector<PendingText> still;
    for (auto& p : pending) {
      const int lineHeight = LineHeight(FontOf(*p.control));
      size_t room = static_cast<size_t>(std::max(1, layout_.bodyHeight / lineHeight));
      size_t count = std::min(room, p.lines.size() - p.next);
      bool more = p.next + count < p.lines.size();
      DrawTextLines(*p.control,
                    std::vector<std::string>(p.lines.begin() + static_cast<long>(p.next),
                                             p.lines.begin() + static_cast<long>(p.next + count)),
                    p.x, layout_.bodyY, p.drawnBefore, more);
      used = std::max(used, static_cast<int>(count) * lineHeight);
      p.next += count;
      p.drawnBefore = true;
      if (more) still.push_back(std::move(p));
    }
    pending = std::move(still);
    cursorY_ = std::min(used, layout_.bodyHeight);
  }
  return Level::Done;
}

int ReportEngine::EndReport() {
  if (!open_) return Level::Fatal;
  int r = FinishPage();
  open_ = false;
  return r;
}

// Drawing -------------------------------------------------------------------

void ReportEngine::SelectFont(const ReportFont& font) {
  page_->SetTextColor(font.color);
  WmfFont f;
  f.face = font.face;
  f.height = S(-static_cast<int>(std::lround(font.size * 1000.0 / 72.0)));
  f.escapement = S(font.angle * 10);
  f.weight = S(font.weight);
  f.italic = font.italic;
  f.underline = font.underline;
  f.strikeOut = font.strikeOut;
  f.charset = font.charset;
  uint16_t slot = page_->CreateFont(f);
  page_->SelectObject(slot);
  live_.push_back(slot);
}

void ReportEngine::SelectPenAndBrush(const ReportControl& c, int32_t fill) {
  uint16_t brush = fill < 0 ? page_->CreateBrush(BS_HOLLOW, 0) : page_->CreateBrush(BS_SOLID, fill);
  page_->SelectObject(brush);
  live_.push_back(brush);
  uint16_t pen = c.penColor < 0 ? page_->CreatePen(PS_NULL, 0, 0)
                                : page_->CreatePen(static_cast<uint16_t>(c.penStyle), S(c.penWidth), c.penColor);
  page_->SelectObject(pen);
  live_.push_back(pen);
}

void ReportEngine::ReleaseObjects() {
  for (uint16_t slot : live_) page_->DeleteObject(slot);
  live_.clear();
}

void ReportEngine::TextOut(const ReportFont& font, int x, int y, std::string_view text, int32_t background,
                           int left, int top, int right, int bottom) {
  if (background >= 0) {
    page_->SetBkMode(OPAQUE);
    page_->SetBkColor(background);
  } else {
    page_->SetBkMode(TRANSPARENT);
  }
  SelectFont(font);
  const int16_t clip[4] = {S(left), S(top), S(right), S(bottom)};
  uint16_t options = ETO_CLIPPED | (background >= 0 ? ETO_OPAQUE : 0);
  page_->ExtTextOut(S(x), S(y), text, options, clip);
}

void ReportEngine::DrawControl(const ReportControl& c, int originX, int originY) {
  const int x = originX + c.x, y = originY + c.y;
  switch (c.kind) {
    case ReportControlKind::String: DrawString(c, x, y); break;
    case ReportControlKind::Text: DrawTextLines(c, WrapLines(c), x, y, false, false); break;
    case ReportControlKind::Box: DrawBox(c, x, y); break;
    case ReportControlKind::Line: DrawLine(c, x, y); break;
    case ReportControlKind::Image: DrawImage(c, x, y); break;
    case ReportControlKind::Check: DrawCheck(c, x, y); break;
    case ReportControlKind::Radio: DrawRadio(c, x, y); break;
    case ReportControlKind::Group: DrawGroup(c, x, y); break;
    case ReportControlKind::Ellipse: DrawEllipse(c, x, y); break;
    case ReportControlKind::Polygon: DrawPolygon(c, x, y); break;
  }
}

void ReportEngine::DrawString(const ReportControl& c, int x, int y) {
  const ReportFont& font = FontOf(c);
  std::string text = Shown(c);
  const int textWidth = Measure(font, text);
  const int width = c.width > 0 ? c.width : textWidth;
  const int height = c.height > 0 ? c.height : LineHeight(font);
  int textX = x;
  if (c.align == TextAlign::Right) textX = x + width - textWidth;
  if (c.align == TextAlign::Centre) textX = x + (width - textWidth) / 2;
  page_->BeginControl("STRING", c.attributes);
  if (!text.empty() || c.background >= 0) TextOut(font, textX, y, text, c.background, x, y, x + width, y + height);
  page_->EndControl("STRING");
  ReleaseObjects();
}

void ReportEngine::DrawTextLines(const ReportControl& c, const std::vector<std::string>& lines, int x, int y,
                                 bool fromEarlierPage, bool ontoLaterPage) {
  const ReportFont& font = FontOf(c);
  const int lineHeight = LineHeight(font);
  const int width = c.width > 0 ? c.width : 0;
  page_->BeginControl("TEXT", c.attributes, fromEarlierPage);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int top = y + static_cast<int>(i) * lineHeight;
    const int right = x + (width > 0 ? width : Measure(font, lines[i]));
    TextOut(font, x, top, lines[i], c.background, x, top, right, top + lineHeight);
    ReleaseObjects();
  }
  page_->EndControl("TEXT", ontoLaterPage);
}

void ReportEngine::DrawBox(const ReportControl& c, int x, int y) {
  page_->BeginControl("BOX", c.attributes);
  SelectPenAndBrush(c, c.background);
  if (c.cornerWidth > 0 || c.cornerHeight > 0)
    page_->RoundRect(S(x), S(y), S(x + c.width), S(y + c.height), S(c.cornerWidth), S(c.cornerHeight));
  else
    page_->Rectangle(S(x), S(y), S(x + c.width), S(y + c.height));
  page_->EndControl("BOX");
  ReleaseObjects();
}

void ReportEngine::DrawLine(const ReportControl& c, int x, int y) {
  page_->BeginControl("LINE", c.attributes);
  uint16_t pen = page_->CreatePen(static_cast<uint16_t>(c.penStyle), S(c.penWidth), c.penColor);
  page_->SelectObject(pen);
  live_.push_back(pen);
  page_->MoveTo(S(x), S(y));
  page_->LineTo(S(x + c.width), S(y + c.height));
  page_->EndControl("LINE");
  ReleaseObjects();
}

void ReportEngine::DrawEllipse(const ReportControl& c, int x, int y) {
  page_->BeginControl("ELLIPSE", c.attributes);
  SelectPenAndBrush(c, c.background);
  page_->Ellipse(S(x), S(y), S(x + c.width), S(y + c.height));
  page_->EndControl("ELLIPSE");
  ReleaseObjects();
}

void ReportEngine::DrawPolygon(const ReportControl& c, int x, int y) {
  page_->BeginControl("POLYGON", c.attributes);
  SelectPenAndBrush(c, c.background);
  std::vector<WmfPoint> points;
  for (const auto& p : c.points) points.push_back({S(x + p.x), S(y + p.y)});
  page_->Polygon(points);
  page_->EndControl("POLYGON");
  ReleaseObjects();
}

void ReportEngine::DrawCheck(const ReportControl& c, int x, int y) {
  const ReportFont& font = FontOf(c);
  const int side = static_cast<int>(std::lround(font.size * 1000.0 / 72.0));
  page_->BeginControl("CHECK", c.attributes);
  ReportControl frame = c;
  frame.penColor = c.penColor < 0 ? 0 : c.penColor;
  SelectPenAndBrush(frame, -1);
  page_->Rectangle(S(x), S(y), S(x + side), S(y + side));
  if (c.checked) {
    page_->MoveTo(S(x), S(y));
    page_->LineTo(S(x + side), S(y + side));
    page_->MoveTo(S(x), S(y + side));
    page_->LineTo(S(x + side), S(y));
  }
  std::string text = Shown(c);
  const int textX = x + side + side / 2;
  if (!text.empty())
    TextOut(font, textX, y, text, -1, textX, y, textX + Measure(font, text), y + LineHeight(font));
  page_->EndControl("CHECK");
  ReleaseObjects();
}

void ReportEngine::DrawRadio(const ReportControl& c, int x, int y) {
  const ReportFont& font = FontOf(c);
  const int side = static_cast<int>(std::lround(font.size * 1000.0 / 72.0));
  page_->BeginControl("RADIO", c.attributes);
  ReportControl frame = c;
  frame.penColor = c.penColor < 0 ? 0 : c.penColor;
  SelectPenAndBrush(frame, -1);
  page_->Ellipse(S(x), S(y), S(x + side), S(y + side));
  if (c.checked) {
    uint16_t dot = page_->CreateBrush(BS_SOLID, frame.penColor);
    page_->SelectObject(dot);
    live_.push_back(dot);
    const int inset = side / 4;
    page_->Ellipse(S(x + inset), S(y + inset), S(x + side - inset), S(y + side - inset));
  }
  std::string text = Shown(c);
  const int textX = x + side + side / 2;
  if (!text.empty())
    TextOut(font, textX, y, text, -1, textX, y, textX + Measure(font, text), y + LineHeight(font));
  page_->EndControl("RADIO");
  ReleaseObjects();
}

void ReportEngine::DrawGroup(const ReportControl& c, int x, int y) {
  const ReportFont& font = FontOf(c);
  std::string caption = Shown(c);
  const int lineHeight = LineHeight(font);
  const int margin = 40;
  // The frame starts at the left end of the caption's gap and goes round
  // anticlockwise back to its right end.
  const int x1 = x + 100;
  const int x2 = caption.empty() ? x1 : x1 + Measure(font, caption) + 2 * margin;
  page_->BeginControl("GROUP", c.attributes);
  uint16_t pen = page_->CreatePen(static_cast<uint16_t>(c.penStyle), S(c.penWidth), c.penColor < 0 ? 0 : c.penColor);
  page_->SelectObject(pen);
  live_.push_back(pen);
  page_->MoveTo(S(x1), S(y));
  page_->LineTo(S(x), S(y));
  page_->LineTo(S(x), S(y + c.height));
  page_->LineTo(S(x + c.width), S(y + c.height));
  page_->LineTo(S(x + c.width), S(y));
  page_->LineTo(S(x2), S(y));
  if (!caption.empty()) {
    const int top = y - lineHeight / 2;
    TextOut(font, x1 + margin, top, caption, -1, x1 + margin, top, x2 - margin, top + lineHeight);
  }
  page_->EndControl("GROUP");
  ReleaseObjects();
}

void ReportEngine::DrawImage(const ReportControl& c, int x, int y) {
  std::string name = c.field.empty() ? c.text : Value(c.field);
  page_->BeginControl("IMAGE", c.attributes);
  page_->SetStretchBltMode(COLORONCOLOR);
  page_->ImageName(name);
  if (standIns_ && !name.empty() && c.width > 0 && c.height > 0) {
    // A white pixel, its row padded to four bytes.
    std::vector<uint8_t> pixel(44, 0);
    pixel[0] = 40;
    pixel[4] = pixel[8] = pixel[12] = 1;
    pixel[14] = 24;
    pixel[40] = pixel[41] = pixel[42] = 0xFF;
    page_->StretchDib(S(x), S(y), S(c.width), S(c.height), pixel);
  } else if (auto dib = LoadPngAsDib(name)) {
    // Without a size the picture keeps its own, at 96 pixels per inch.
    auto le32 = [&](size_t at) {
      return static_cast<int>((*dib)[at] | (*dib)[at + 1] << 8 | (*dib)[at + 2] << 16);
    };
    const int width = c.width > 0 ? c.width : le32(4) * 1000 / 96;
    const int height = c.height > 0 ? c.height : le32(8) * 1000 / 96;
    page_->StretchDib(S(x), S(y), S(width), S(height), *dib);
  }
  page_->EndControl("IMAGE");
}

}  // namespace tx
