#include "outputs/preset_report_layout.h"

namespace tx {

namespace {

constexpr int32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kSilver = 0xC0C0C0;
constexpr int kBold = 700, kRegular = 400;
constexpr const char* kImageField = "LOC:IMAGEFILE";

ReportFont Font(int size, int weight, bool italic, int32_t color = kBlack) {
  ReportFont f;
  f.face = "Arial";
  f.size = size;
  f.weight = weight;
  f.italic = italic;
  f.color = color;
  return f;
}

ReportControl Field(std::string field, std::string picture, int x, int y, int width = 0) {
  ReportControl c;
  c.kind = ReportControlKind::String;
  c.field = std::move(field);
  c.picture = std::move(picture);
  c.x = x;
  c.y = y;
  c.width = width;
  return c;
}

ReportControl Fixed(std::string text, int x, int y) {
  ReportControl c;
  c.kind = ReportControlKind::String;
  c.text = std::move(text);
  c.x = x;
  c.y = y;
  return c;
}

ReportControl WithFont(ReportControl c, ReportFont font, int32_t background = -1) {
  c.font = std::move(font);
  c.background = background;
  return c;
}

}  // namespace

ReportLayout PresetReportLayout() {
  ReportLayout layout;
  layout.font = Font(10, kRegular, false);
  layout.pageWidth = 8500;
  layout.pageHeight = 11000;
  layout.bodyX = 500;
  layout.bodyY = 1000;
  layout.bodyWidth = 7250;
  layout.bodyHeight = 9500;

  // The name's black background spans the header, so the number lies on it.
  ReportBand header{"header", 500, 500, 7250, 500, {}};
  header.controls.push_back(
      WithFont(Field("GLO:PRESETNAME", "s30", 31, 31, 7167), Font(14, kBold, false, kWhite), kBlack));
  header.controls.push_back(WithFont(Field("GLO:PRESETNUMBER", "N_3B", 6531, 31), Font(14, kBold, false, kWhite)));
  layout.pageHeader = header;

  ReportBand footer{"footer", 500, 10500, 7250, 1000, {}};
  footer.controls.push_back(WithFont(Field("GLO:PRESETNAME", "s30", 31, 146), Font(8, kRegular, true)));
  footer.controls.push_back(WithFont(Field("GLO:PRESETNUMBER", "N_3B", 2094, 146), Font(8, kRegular, true)));
  footer.controls.push_back(WithFont(Fixed("Page:", 6469, 146), Font(8, kRegular, false)));
  footer.controls.push_back(WithFont(Field(PAGE_NUMBER_FIELD, "n_3", 6823, 146), Font(8, kRegular, false)));
  footer.controls.push_back(WithFont(Fixed(PRESET_REPORT_CREDIT, 2469, 396), Font(6, kRegular, true)));
  layout.pageFooter = footer;

  // Labels and marks lie on the effect name's silver background.
  ReportBand group{"group", 0, 0, 7250, 333, {}};
  group.controls.push_back(WithFont(Field("PRE:EFFECTNAME", "s32", 31, 83, 7167), Font(10, kBold, false), kSilver));
  group.controls.push_back(WithFont(Field("LOC:XVALUELABEL", "s8", 4458, 73), Font(10, kRegular, true)));
  group.controls.push_back(WithFont(Field("PRE:XACTIVE", "s1", 5010, 83, 167), Font(10, kBold, false)));
  group.controls.push_back(WithFont(Field("LOC:YVALUELABEL", "s8", 5812, 83), Font(10, kRegular, true)));
  group.controls.push_back(WithFont(Field("PRE:YACTIVE", "s1", 6365, 83), Font(10, kBold, false)));
  layout.group = ReportGroup{"PRE:EFFECTNAME", group, {PRESET_LINE_BAND}};

  ReportBand image{PRESET_IMAGE_BAND, 0, 0, 7250, 2354, {}};
  ReportControl frame;
  frame.kind = ReportControlKind::Box;
  frame.x = 531;
  frame.y = 312;
  frame.width = 5885;
  frame.height = 1823;
  image.controls.push_back(frame);
  ReportControl picture;
  picture.kind = ReportControlKind::Image;
  picture.field = kImageField;
  picture.x = 708;
  picture.y = 479;
  picture.width = 5500;
  picture.height = 1500;
  image.controls.push_back(picture);
  layout.details.push_back(image);

  // The modifier mark sits in the middle of the gap between the X value
  // (ending at 5083) and the Y value (starting at 5281). The unit runs to the
  // band's end: 365 would cut the longest units ("semitones", "cents").
  ReportBand line{PRESET_LINE_BAND, 0, 0, 7208, 219, {}};
  line.controls.push_back(WithFont(Field("PRE:SCREENNAME", "s32", 187, -10, 2406), Font(10, kRegular, true)));
  line.controls.push_back(Field("PRE:XVALUE", "s20", 4062, 10, 1021));
  line.controls.push_back(WithFont(Field("PRE:MODIFIERFLAG", "s1", 5109, 10, 146), Font(10, kBold, false)));
  line.controls.push_back(Field("PRE:YVALUE", "s20", 5281, 10, 1125));
  line.controls.push_back(WithFont(Field("PRE:UNIT", "s32", 6469, 10, 7208 - 6469), Font(10, kRegular, true)));
  layout.details.push_back(line);
  return layout;
}

void SetPresetValues(ReportEngine& engine, const PresetState& state) {
  engine.SetValue("GLO:PRESETNAME", state.PRESETNAME.str());
  engine.SetValue("GLO:PRESETNUMBER", std::to_string(state.PRESETNUMBER));
  const bool gen2 = state.deviceType == DEVICE_GEN2;
  engine.SetValue("LOC:XVALUELABEL", gen2 ? "X Value" : "Value");
  engine.SetValue("LOC:YVALUELABEL", gen2 ? "Y Value" : "");
}

int PrintBlockImageBand(ReportEngine& engine, const std::string& imageFile) {
  engine.SetValue(kImageField, imageFile);
  return engine.PrintBand(PRESET_IMAGE_BAND);
}

int PrintParameterLine(ReportEngine& engine, const PresetRecord& row) {
  engine.SetValue("PRE:EFFECTNAME", row.EFFECTNAME.str());
  engine.SetValue("PRE:SCREENNAME", row.SCREENNAME.str());
  engine.SetValue("PRE:XVALUE", row.XVALUE.str());
  engine.SetValue("PRE:YVALUE", row.YVALUE.str());
  engine.SetValue("PRE:UNIT", row.UNIT.str());
  engine.SetValue("PRE:MODIFIERFLAG", row.MODIFIERFLAG.str());
  engine.SetValue("PRE:XACTIVE", row.XACTIVE.str());
  engine.SetValue("PRE:YACTIVE", row.YACTIVE.str());
  return engine.PrintBand(PRESET_LINE_BAND);
}

}  // namespace tx
