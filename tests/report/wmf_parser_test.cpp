// The page metafile parser over hand-made page files: headers, graphics
// state, the messages and their results, and damaged records.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/toolkit/console_toolkit.h"
#include "recording_generator.h"
#include "report/wmf_parser.h"
#include "support/temp_dir.h"
#include "wmf_bytes.h"

namespace {

using txtest::WmfBytes;

class ParserTest : public ::testing::Test {
 protected:
  std::string Page(const WmfBytes& w, const std::string& name = "page.wmf") {
    std::string path = dir.file(name);
    w.Save(path);
    return path;
  }
  uint8_t Run(std::vector<std::string> pages, bool progress = false) {
    pages_ = std::move(pages);
    tx::WMFParser parser;
    parser.Init(&pages_, &gen, &errors);
    parser.SetImageDirectory(imageDirectory);
    return parser.Run(progress);
  }
  uint8_t RunOne(const WmfBytes& w) { return Run({Page(w)}); }
  std::vector<uint16_t> Ids() const {
    std::vector<uint16_t> ids;
    for (const auto& r : errors.raised) ids.push_back(r.id);
    return ids;
  }

  txtest::TempDir dir;
  txtest::RecordingGenerator gen;
  txtest::RecordingErrors errors;
  std::string imageDirectory;
  std::vector<std::string> pages_;
};

// A string control drawn with a font of the given height.
WmfBytes& StringControl(WmfBytes& w, std::string_view text, int x, int y, std::string_view attributes = "A") {
  w.Begin("STRING", attributes).Font(-139, "Arial").Text(x, y, text).End("STRING");
  return w;
}

TEST_F(ParserTest, HeaderBoundsAreConvertedToThousandthsOfAnInch) {
  WmfBytes w(500, 4250, 5500);
  EXPECT_EQ(RunOne(w), tx::Level::Done);
  EXPECT_EQ(gen.pageBounds.LEFT, 0);
  EXPECT_EQ(gen.pageBounds.TOP, 0);
  EXPECT_EQ(gen.pageBounds.RIGHT, 8500);
  EXPECT_EQ(gen.pageBounds.BOTTOM, 11000);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage FinishPage FinishDocument");
  EXPECT_EQ(gen.pageCount, 1);
}

TEST_F(ParserTest, WrongPlaceableKeyFailsBeforeThePageStarts) {
  WmfBytes w(1000, 8500, 11000, 0x12345678);
  std::string path = Page(w);
  EXPECT_EQ(Run({path}), tx::Level::Fatal);
  ASSERT_EQ(Ids(), std::vector<uint16_t>{tx::Msg::NotAPageFile});
  EXPECT_EQ(errors.raised[0].file, path);
  EXPECT_EQ(gen.Ops(), "BeginDocument");
}

TEST_F(ParserTest, ZeroUnitsPerInchIsNotAValidPage) {
  WmfBytes w(0);
  StringControl(w, "x", 0, 0);
  EXPECT_EQ(RunOne(w), tx::Level::Fatal);
  EXPECT_EQ(Ids(), std::vector<uint16_t>{tx::Msg::NotAPageFile});
  EXPECT_EQ(gen.Ops(), "BeginDocument");
}

TEST_F(ParserTest, MissingOrShortFilesRaiseTheFileMessages) {
  EXPECT_EQ(Run({dir.file("absent.wmf")}), tx::Level::Fatal);
  EXPECT_EQ(Ids(), std::vector<uint16_t>{tx::Msg::FileNotOpened});
  EXPECT_EQ(errors.raised[0].file, dir.file("absent.wmf"));

  EXPECT_EQ(errors.raised[0].message,
            "File " + dir.file("absent.wmf") + " could not be opened.  Error: No such file or directory (2).");

  errors.raised.clear();
  WmfBytes cut;
  cut.bytes.resize(10);
  const std::string cutPath = Page(cut);
  EXPECT_EQ(Run({cutPath}), tx::Level::Fatal);
  EXPECT_EQ(Ids(), std::vector<uint16_t>{tx::Msg::FileNotOpened});
  EXPECT_EQ(errors.raised[0].message,
            "File " + cutPath + " could not be opened.  Error: the file ends inside its header (0).");

  // A directory opens, but its header cannot be read.
  errors.raised.clear();
  EXPECT_EQ(Run({dir.path().string()}), tx::Level::Fatal);
  EXPECT_EQ(Ids(), std::vector<uint16_t>{tx::Msg::FileNotOpened});
  EXPECT_NE(errors.raised[0].message.find("Error: Is a directory (21)."), std::string::npos)
      << errors.raised[0].message;

  // A placeable header without the standard one: the page file is named,
  // and what is wrong with it.
  errors.raised.clear();
  WmfBytes noStandard;
  noStandard.bytes.resize(30);
  const std::string noStandardPath = Page(noStandard);
  EXPECT_EQ(Run({noStandardPath}), tx::Level::Fatal);
  EXPECT_EQ(Ids(), std::vector<uint16_t>{tx::Msg::FileNotOpened});
  EXPECT_EQ(errors.raised[0].message,
            "File " + noStandardPath + " could not be opened.  Error: the file ends inside its header (0).");
}

TEST_F(ParserTest, WindowOriginMovesOnlyLaterPoints) {
  WmfBytes w;
  w.Begin("LINE").Pen(0, 1, 0).MoveTo(300, 400).LineTo(500, 600).End("LINE");
  w.WindowOrg(100, 200);
  w.Begin("LINE").Pen(0, 1, 0).MoveTo(300, 400).LineTo(500, 600).End("LINE");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.lines.size(), 2u);
  EXPECT_EQ(gen.lines[0].POS.LEFT, 300);
  EXPECT_EQ(gen.lines[0].POS.TOP, 400);
  EXPECT_EQ(gen.lines[0].POS.RIGHT, 500);
  EXPECT_EQ(gen.lines[0].POS.BOTTOM, 600);
  EXPECT_EQ(gen.lines[1].POS.LEFT, 200);
  EXPECT_EQ(gen.lines[1].POS.TOP, 200);
  EXPECT_EQ(gen.lines[1].POS.RIGHT, 400);
  EXPECT_EQ(gen.lines[1].POS.BOTTOM, 400);
}

TEST_F(ParserTest, HollowBrushAndNullPenHaveNoColour) {
  WmfBytes w;
  w.Begin("BOX").Brush(1, 0x00FF00).Pen(5, 3, 0x0000FF).Rectangle(10, 20, 110, 220).End("BOX");
  w.Begin("BOX").Brush(0, 0x00FF00).Pen(0, 3, 0x0000FF).Rectangle(10, 20, 110, 220).End("BOX");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.boxes.size(), 2u);
  EXPECT_EQ(gen.boxes[0].STYLE.BACKGROUNDCOLOR, -1);
  EXPECT_EQ(gen.boxes[0].STYLE.BACKGROUNDSTYLE, 1);
  EXPECT_EQ(gen.boxes[0].STYLE.BORDERCOLOR, -1);
  EXPECT_EQ(gen.boxes[0].STYLE.BORDERSTYLE, 5);
  EXPECT_EQ(gen.boxes[1].STYLE.BACKGROUNDCOLOR, 0x00FF00);
  EXPECT_EQ(gen.boxes[1].STYLE.BORDERCOLOR, 0x0000FF);
  EXPECT_EQ(gen.boxes[1].STYLE.BORDERWIDTH, 3);
  EXPECT_EQ(gen.boxes[1].POS.LEFT, 10);
  EXPECT_EQ(gen.boxes[1].POS.TOP, 20);
  EXPECT_EQ(gen.boxes[1].POS.RIGHT, 110);
  EXPECT_EQ(gen.boxes[1].POS.BOTTOM, 220);
}

// Which slot an object got shows by selecting it later: a font selected by
// slot number styles the text that follows.
TEST_F(ParserTest, FreedSlotsAreReusedLowestFirst) {
  WmfBytes w;
  w.Pen(0, 1, 0).Pen(0, 1, 0).Font(-139, "Zero").Pen(0, 1, 0).Pen(0, 1, 0);  // slots 0..4
  w.Delete(2).Font(-139, "Two");                                            // reuses 2
  w.Delete(4).Delete(2).Font(-139, "NewTwo").Font(-139, "Four");             // 2, then 4
  w.Begin("STRING").Select(2).Text(0, 0, "a").End("STRING");
  w.Begin("STRING").Select(4).Text(0, 0, "b").End("STRING");
  w.Begin("STRING").Select(5).Text(0, 0, "c").End("STRING");  // never created
  ASSERT_EQ(RunOne(w), tx::Level::Fatal);
  ASSERT_EQ(gen.strings.size(), 2u);
  EXPECT_EQ(gen.strings[0].FACE.str(), "NewTwo");
  EXPECT_EQ(gen.strings[1].FACE.str(), "Four");
  ASSERT_EQ(errors.raised.size(), 1u);
  EXPECT_EQ(errors.raised[0].id, tx::Msg::ControlIdNotFound);
  EXPECT_EQ(errors.raised[0].field, "object");
}

TEST_F(ParserTest, PaletteBetweenPensTakesNoSlot) {
  WmfBytes w;
  w.Font(-139, "First").Palette().Font(-139, "Second");  // slots 0 and 1
  w.Begin("STRING").Select(1).Text(0, 0, "x").End("STRING");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), 1u);
  EXPECT_EQ(gen.strings[0].FACE.str(), "Second");
}

TEST_F(ParserTest, DeletingUnknownSlotsAndRestoringUnsavedContextsRaise51) {
  errors.answer = tx::Level::Done;  // go on after each message
  WmfBytes w;
  w.Delete(7).Rec(0x0127, {-1}).Rec(0x001E, {}).Rec(0x0127, {-1});
  w.Begin("BOX").Rectangle(0, 0, 10, 10).End("BOX");  // no brush
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(errors.raised.size(), 3u);
  EXPECT_EQ(errors.raised[0].field, "Object");
  EXPECT_EQ(errors.raised[1].field, "Device Context");
  EXPECT_EQ(errors.raised[2].field, "Brush");
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage EmitBox FinishPage FinishDocument");
}

TEST_F(ParserTest, TextWithoutRectangleGetsAnEstimatedBox) {
  WmfBytes w;
  StringControl(w, "0123456789", 0, 0);
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), 1u);
  EXPECT_EQ(gen.strings[0].SIZE, 10);
  EXPECT_EQ(gen.strings[0].POS.RIGHT, 580);
  EXPECT_EQ(gen.strings[0].POS.BOTTOM, 95);
  EXPECT_EQ(gen.strings[0].BACKGROUNDCOLOR, -1);  // background mode is 0, colour -1
  EXPECT_EQ(gen.calls[2].text, "0123456789");
  EXPECT_EQ(gen.calls[2].attributes, "A");
}

TEST_F(ParserTest, TextColourAndBackgroundComeFromTheDeviceContext) {
  WmfBytes w;
  w.Rec(0x0209, {WmfBytes::Lo(0xFFFFFF), WmfBytes::Hi(0xFFFFFF)});  // text colour
  w.Rec(0x0201, {0, 0});                                            // background black
  w.Rec(0x0102, {2});                                               // opaque
  w.Begin("STRING").Font(-194, "Arial", 700, true, 900).Text(31, 31, "Name", 6, {31, 31, 7198, 250});
  w.End("STRING");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), 1u);
  const auto& s = gen.strings[0];
  EXPECT_EQ(s.COLOR, 0xFFFFFF);
  EXPECT_EQ(s.BACKGROUNDCOLOR, 0);
  EXPECT_EQ(s.SIZE, 14);
  EXPECT_EQ(s.STYLE, 700 + 4096);
  EXPECT_EQ(s.ANGLE, 90);
  EXPECT_EQ(s.POS.RIGHT, 7198);
  EXPECT_EQ(s.POS.BOTTOM, 250);
  EXPECT_EQ(s.TOPTEXT, 31);
}

TEST_F(ParserTest, EndWithoutBeginRaises50ExceptContinuedText) {
  WmfBytes w;
  w.End("TEXT", 1).End("BOX");
  std::string path = Page(w);
  EXPECT_EQ(Run({path}), tx::Level::Fatal);
  ASSERT_EQ(errors.raised.size(), 1u);
  EXPECT_EQ(errors.raised[0].id, tx::Msg::InvalidControl);
  EXPECT_EQ(errors.raised[0].field, "BOX");
  EXPECT_EQ(errors.raised[0].file, path);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage");  // no FinishPage, no FinishDocument
}

TEST_F(ParserTest, UnknownKeywordsOpenAndCloseNothing) {
  WmfBytes w;
  w.Begin("SPARKLE").Font(-139, "Arial").Text(0, 0, "x").End("SPARKLE");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  EXPECT_TRUE(errors.raised.empty());
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage FinishPage FinishDocument");
}

TEST_F(ParserTest, ImageNamesAreCompletedOrLeftAlone) {
  imageDirectory = "/pictures/";
  WmfBytes w;
  w.Begin("IMAGE").Comment(13, {}, "tmp01.png").End("IMAGE");
  w.Begin("IMAGE").Comment(9, {}, "C:\\img\\block.png").End("IMAGE");
  w.Begin("IMAGE").Comment(13, {}, "sub/pic.png").End("IMAGE");
  w.Begin("IMAGE").Comment(13, {}, "   ").End("IMAGE");  // blank: no call
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.images.size(), 3u);
  EXPECT_EQ(std::string(tx::RightTrimmed(gen.calls[2].text)), "/pictures/tmp01.png");
  EXPECT_EQ(gen.calls[2].text.size(), 256u);
  EXPECT_EQ(std::string(tx::RightTrimmed(gen.calls[3].text)), "C:\\img\\block.png");
  EXPECT_EQ(std::string(tx::RightTrimmed(gen.calls[4].text)), "sub/pic.png");
  EXPECT_EQ(gen.images[0].EMBEDSTART, 0u);
}

TEST_F(ParserTest, StretchedBitmapGivesImagePlaceAndEmbeddedPosition) {
  WmfBytes w;
  w.Begin("IMAGE").Rec(0x0107, {3}).Comment(13, {}, "tmp01.png");
  size_t at = w.bytes.size();
  // raster op, usage, source height, width, y, x, destination height, width, y, x; then a bitmap
  w.Rec(0x0F43, {0x0020, 0x00CC, 0, 2, 2, 0, 0, 1500, 5500, 479, 708, 40, 0});
  w.End("IMAGE");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.images.size(), 1u);
  EXPECT_EQ(gen.images[0].POS.LEFT, 708);
  EXPECT_EQ(gen.images[0].POS.TOP, 479);
  EXPECT_EQ(gen.images[0].POS.RIGHT, 6208);
  EXPECT_EQ(gen.images[0].POS.BOTTOM, 1979);
  EXPECT_EQ(gen.images[0].STRETCHMODE, 3);
  EXPECT_EQ(gen.images[0].EMBEDSTART, at + 1 + 28);
}

TEST_F(ParserTest, GroupFrameWhoseFirstSegmentEndsAtTheGapSetsLeftAndBottom) {
  WmfBytes w;
  w.Begin("GROUP").Pen(0, 2, 0x808080).MoveTo(100, 50);
  w.LineTo(100, 900).LineTo(2000, 900).LineTo(2000, 50).LineTo(600, 50);
  w.Font(-139, "Arial").Text(140, 0, "Caption").End("GROUP");
  w.Begin("OPTION").Pen(0, 1, 0).MoveTo(200, 50);
  w.LineTo(100, 50).LineTo(100, 900).LineTo(2000, 900).LineTo(2000, 50).LineTo(700, 50).End("OPTION");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.groups.size(), 2u);
  const auto& g = gen.groups[0];
  EXPECT_EQ(g.X1, 100);
  EXPECT_EQ(g.POS.LEFT, 100);
  EXPECT_EQ(g.POS.TOP, 50);
  EXPECT_EQ(g.POS.BOTTOM, 900);
  EXPECT_EQ(g.POS.RIGHT, 2000);
  EXPECT_EQ(g.X2, 600);
  EXPECT_EQ(g.LINECOLOR, 0x808080);
  EXPECT_EQ(g.LINEWIDTH, 2);
  EXPECT_EQ(g.HEADER.LEFTTEXT, 140);
  EXPECT_EQ(gen.calls[2].text, "Caption");
  const auto& o = gen.groups[1];
  EXPECT_EQ(o.X1, 200);
  EXPECT_EQ(o.POS.LEFT, 100);
  EXPECT_EQ(o.POS.BOTTOM, 900);
  EXPECT_EQ(o.POS.RIGHT, 2000);
  EXPECT_EQ(o.X2, 700);
}

TEST_F(ParserTest, PieSlicesAreCollectedIntoOneCall) {
  WmfBytes w;
  w.Begin("PIE").Brush(0, 0xFF).Pen(0, 1, 0);
  w.Pie(0, 0, 1000, 1000, 1000, 500, 500, 0);
  w.Pie(10, 10, 20, 20, 500, 0, 0, 500);
  w.Pie(10, 10, 20, 20, 0, 500, 1000, 500);
  w.End("PIE");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.pies.size(), 1u);
  EXPECT_EQ(gen.pies[0].size(), 3u);
  EXPECT_EQ(gen.pieBounds[0].RIGHT, 1000);
  EXPECT_EQ(gen.pieBounds[0].BOTTOM, 1000);
  EXPECT_EQ(gen.pies[0][1].FORMAT.STARTX, 500);
  EXPECT_EQ(gen.pies[0][2].FORMAT.ENDX, 1000);
}

TEST_F(ParserTest, TextBlockLinesArriveInDrawingOrder) {
  WmfBytes w;
  w.Begin("TEXT", "T").Font(-139, "Arial");
  w.Text(0, 0, "one").Text(0, 160, "two").Text(0, 320, "three").End("TEXT");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.textBlocks.size(), 1u);
  ASSERT_EQ(gen.textBlocks[0].size(), 3u);
  EXPECT_EQ(gen.textBlocks[0][0].TEXT.str(), "one");
  EXPECT_EQ(gen.textBlocks[0][2].TEXT.str(), "three");
  EXPECT_EQ(gen.textBlocks[0][2].FORMAT.TOPTEXT, 320);
}

TEST_F(ParserTest, TextContinuedOnTheNextPageKeepsItsAttributes) {
  WmfBytes one, two;
  one.Begin("TEXT", "PDF(FONTNAME=Courier)").Font(-139, "Arial").Text(0, 0, "first").End("TEXT", 1);
  two.Begin("TEXT", "ignored", 1).Font(-139, "Arial").Text(0, 0, "second").End("TEXT");
  ASSERT_EQ(Run({Page(one, "1.wmf"), Page(two, "2.wmf")}), tx::Level::Done);
  std::vector<std::string> attributes;
  for (const auto& c : gen.calls)
    if (c.op == "EmitTextBlock") attributes.push_back(c.attributes);
  ASSERT_EQ(attributes.size(), 2u);
  EXPECT_EQ(attributes[0], "PDF(FONTNAME=Courier)");
  EXPECT_EQ(attributes[1], "PDF(FONTNAME=Courier)");
}

TEST_F(ParserTest, CheckBoxAndRadioButtonTakeTheirParts) {
  WmfBytes w;
  w.Begin("CHECK").Brush(1, 0).Pen(0, 1, 0).Rectangle(0, 0, 139, 139);
  w.MoveTo(0, 0).LineTo(139, 139).Font(-139, "Arial").Text(200, 0, "Ticked").End("CHECK");
  w.Begin("RADIO").Brush(1, 0).Pen(0, 1, 0).Ellipse(0, 300, 139, 439).Ellipse(35, 335, 104, 404);
  w.Font(-139, "Arial").Text(200, 300, "On").End("RADIO");
  w.Begin("RADIO").Brush(1, 0).Pen(0, 1, 0).Ellipse(0, 600, 139, 739).End("RADIO");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.checks.size(), 1u);
  EXPECT_EQ(gen.checks[0].CHECKED, 1);
  EXPECT_EQ(gen.checks[0].POS.RIGHT, 139);
  EXPECT_EQ(gen.checks[0].PROMPT.LEFTTEXT, 200);
  EXPECT_EQ(gen.calls[2].text, "Ticked");
  ASSERT_EQ(gen.radios.size(), 2u);
  EXPECT_EQ(gen.radios[0].CHECKED, 1);
  EXPECT_EQ(gen.radios[0].OUTER.POS.TOP, 300);
  EXPECT_EQ(gen.radios[0].INNER.POS.LEFT, 35);
  EXPECT_EQ(gen.radios[0].PROMPT.TOPTEXT, 300);
  EXPECT_EQ(gen.radios[1].CHECKED, 0);
}

TEST_F(ParserTest, SectionMarkersAndPolygonsReachTheGenerator) {
  WmfBytes w;
  w.Comment(14, "INTRO").Comment(15, "INTRO");
  w.Begin("POLYGON").Brush(0, 0xFF0000).Pen(0, 1, 0).Rec(0x0324, {3, 0, 0, 100, 0, 50, 80}).End("POLYGON");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  EXPECT_EQ(gen.calls[2].text, "INTRO+");
  EXPECT_EQ(gen.calls[3].text, "INTRO-");
  ASSERT_EQ(gen.polygons.size(), 1u);
  ASSERT_EQ(gen.polygons[0].size(), 3u);
  EXPECT_EQ(gen.polygons[0][2].XPOS, 50);
  EXPECT_EQ(gen.polygons[0][2].YPOS, 80);
  EXPECT_EQ(gen.polygonStyles[0].BACKGROUNDCOLOR, 0xFF0000);
}

TEST_F(ParserTest, EndOfFileRecordIsSkippedAndTheFileEndEndsThePage) {
  WmfBytes w;
  w.Eof();
  StringControl(w, "after the end record", 0, 0);
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage EmitString FinishPage FinishDocument");
}

// Results of a raised message: 0 goes on, 5 ends the page, others end the run.
TEST_F(ParserTest, MessageResultsDecideHowTheRunGoesOn) {
  WmfBytes bad;
  bad.End("BOX");
  StringControl(bad, "later", 0, 0);
  WmfBytes good;
  StringControl(good, "page two", 0, 0);
  const std::vector<std::string> pages{Page(bad, "bad.wmf"), Page(good, "good.wmf")};

  errors.answer = tx::Level::Done;
  EXPECT_EQ(Run(pages), tx::Level::Done);
  EXPECT_EQ(gen.Ops(),
            "BeginDocument BeginPage EmitString FinishPage BeginPage EmitString FinishPage FinishDocument");

  gen.calls.clear();
  errors.answer = tx::Level::NotDone;
  EXPECT_EQ(Run(pages), tx::Level::Done);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage FinishPage BeginPage EmitString FinishPage FinishDocument");

  gen.calls.clear();
  errors.answer = tx::Level::Cancelled;
  EXPECT_EQ(Run(pages), tx::Level::Cancelled);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage");
}

TEST_F(ParserTest, GeneratorFailuresStopTheRun) {
  WmfBytes w;
  const std::vector<std::string> pages{Page(w, "1.wmf"), Page(w, "2.wmf")};
  gen.finishPageResult = tx::Level::Fatal;
  EXPECT_EQ(Run(pages), tx::Level::Fatal);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage FinishPage");

  gen.calls.clear();
  gen.finishPageResult = tx::Level::Done;
  gen.finishDocumentResult = tx::Level::Fatal;
  EXPECT_EQ(Run(pages), tx::Level::Fatal);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage FinishPage BeginPage FinishPage FinishDocument");
}

TEST_F(ParserTest, AnEmptyPageListStillFinishesTheDocument) {
  EXPECT_EQ(Run({}), tx::Level::Done);
  EXPECT_EQ(gen.Ops(), "BeginDocument FinishDocument");
  gen.calls.clear();
  EXPECT_EQ(Run({}, true), tx::Level::Done);
  EXPECT_EQ(gen.Ops(), "BeginDocument FinishDocument");
}

TEST_F(ParserTest, ProgressWindowShowsEachPageAndDrivesTheSameCalls) {
  tx::ConsoleToolkit toolkit;
  tx::WindowToolkit* previous = tx::SetToolkit(&toolkit);
  WmfBytes a, b;
  StringControl(a, "one", 0, 0);
  StringControl(b, "two", 0, 0);
  uint8_t result = Run({Page(a, "a.wmf"), Page(b, "b.wmf")}, true);
  tx::SetToolkit(previous);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage EmitString FinishPage BeginPage EmitString FinishPage FinishDocument");
  ASSERT_EQ(toolkit.Windows().size(), 1u);
  tx::WindowId w = toolkit.Windows()[0];
  EXPECT_EQ(toolkit.Layout(w).title, "Progress...");
  EXPECT_FALSE(toolkit.IsOpen(w));
  std::vector<std::string> texts;
  int bar = 0;
  for (const auto& c : toolkit.Layout(w).controls) {
    texts.push_back(toolkit.ControlText(w, c.number));
    if (c.kind == tx::ControlKind::ProgressBar) bar = toolkit.Progress(w, c.number);
    if (c.kind == tx::ControlKind::Image) {
      EXPECT_EQ(c.picture, "test.ico");
    }
  }
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Exporting to TEST"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Page 2 of 2"), texts.end());
  EXPECT_EQ(bar, 100);
}

TEST_F(ParserTest, ProgressWindowClosesOnAFailedPage) {
  tx::ConsoleToolkit toolkit;
  tx::WindowToolkit* previous = tx::SetToolkit(&toolkit);
  WmfBytes bad(1000, 8500, 11000, 0);
  WmfBytes good;
  uint8_t result = Run({Page(bad, "bad.wmf"), Page(good, "good.wmf")}, true);
  tx::SetToolkit(previous);
  EXPECT_EQ(result, 3);
  EXPECT_EQ(gen.Ops(), "BeginDocument");
  ASSERT_EQ(toolkit.Windows().size(), 1u);
  EXPECT_FALSE(toolkit.IsOpen(toolkit.Windows()[0]));
}

// Damaged records -------------------------------------------------------------

TEST_F(ParserTest, RecordOfSizeZeroIsNotAValidFile) {
  WmfBytes w;
  StringControl(w, "before", 0, 0);
  w.U32(0);
  w.U16(0x0A32);
  EXPECT_EQ(RunOne(w), tx::Level::Fatal);
  EXPECT_EQ(Ids(), std::vector<uint16_t>{tx::Msg::NotAPageFile});
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage EmitString");
}

TEST_F(ParserTest, RecordRunningPastTheEndEndsThePageUnread) {
  WmfBytes w;
  StringControl(w, "kept", 0, 0);
  w.Begin("STRING");
  w.U32(0x7FFFFFFF);  // a text record claiming far more than the file holds
  w.U16(0x0A32);
  w.U16(0);
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage EmitString FinishPage FinishDocument");
}

TEST_F(ParserTest, RecordsShorterThanTheirFieldsAreSkipped) {
  WmfBytes w;
  // An escape cut before its keyword, one cut inside the attribute string.
  w.Raw(0x0626, {0x0F, 0, 4, 0, 0x27, 0x05});
  w.Raw(0x0626, {0x0F, 0, 40, 0, 0x27, 0x05, 11, 0, 'B', 'O', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0,
                 0, 0, 0, 0, 0, 0, 0, 0, 200, 0, 0, 0, 'a', 'b'});
  w.Brush(0, 0).Pen(0, 1, 0).Rectangle(1, 2, 3, 4).End("BOX");
  // A text record whose length claims more characters than it holds.
  w.Begin("STRING").Font(-139, "Arial").Raw(0x0A32, {0, 0, 0, 0, 50, 0, 0, 0, 'h', 'i'}).End("STRING");
  // A polygon claiming 100 points but holding one; a rectangle cut short.
  w.Begin("POLYGON").Rec(0x0324, {100, 7, 8}).Rec(0x041B, {1}).End("POLYGON");
  // Records of one and two words hold no function.
  w.U32(1);
  w.U32(2);
  w.U16(0);
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  EXPECT_TRUE(errors.raised.empty());
  ASSERT_EQ(gen.boxes.size(), 1u);
  EXPECT_EQ(gen.calls[2].attributes, "ab") << gen.Ops();
  EXPECT_EQ(gen.calls[3].text, "hi");
  ASSERT_EQ(gen.polygons.size(), 1u);
  ASSERT_EQ(gen.polygons[0].size(), 1u);
  EXPECT_EQ(gen.polygons[0][0].XPOS, 7);
}

TEST_F(ParserTest, RecordsLongerThanTheBufferAreExaminedInPart) {
  WmfBytes w;
  std::string attributes(3000, 'x');
  w.Begin("STRING", attributes).Font(-139, "Arial").Text(0, 0, "y").End("STRING");
  std::string longText(6000, 'z');
  w.Begin("STRING").Font(-139, "Arial").Text(0, 0, longText).End("STRING");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), 2u);
  EXPECT_EQ(gen.calls[2].attributes.size(), 2048u);
  EXPECT_EQ(gen.calls[3].text.size(), 256u);
}

// Pages are read through a read-ahead window: records straddling its end,
// and records too long for the buffer, must come out whole and in order.
TEST_F(ParserTest, APageLongerThanTheReadAheadWindowArrivesWhole) {
  WmfBytes w;
  const int strings = 900;
  for (int i = 0; i < strings; ++i) {
    if (i == strings / 2) w.Begin("STRING").Font(-139, "Arial").Text(0, 0, std::string(20000, 'L')).End("STRING");
    const std::string text = "line " + std::to_string(i) + std::string(i % 97, '.');
    w.Begin("STRING").Font(-139, "Arial").Text(0, i, text).End("STRING");
  }
  ASSERT_GT(w.bytes.size(), 200000u);  // three read-ahead windows and more
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), static_cast<size_t>(strings) + 1);
  size_t at = 0;
  for (const auto& c : gen.calls) {
    if (c.op != "EmitString" || c.text.rfind("line ", 0) != 0) continue;
    EXPECT_EQ(c.text.substr(0, c.text.find('.')), "line " + std::to_string(at++));
  }
  EXPECT_EQ(at, static_cast<size_t>(strings));
}

TEST_F(ParserTest, OversizedValuesStayWithinRange) {
  WmfBytes w(1);  // one unit per inch: every value times 1000
  w.Begin("STRING").Font(-30000, "Arial").Raw(0x0A32, {0, 0x80, 0, 0x80, 0xFF, 0xFF, 0, 0, 'x', 0}).End("STRING");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), 1u);
  EXPECT_EQ(gen.strings[0].POS.RIGHT, INT32_MAX);
  EXPECT_EQ(gen.strings[0].POS.LEFT, -32768 * 1000);
  EXPECT_EQ(gen.calls[2].text, std::string("x\0", 2));  // what the record holds, no more
}

}  // namespace

// Shapes and text at 500 units per inch with a window origin: every position
// doubled after the origin is taken off, corner sizes without the origin.
class ConvertedShapesTest : public ParserTest {};

TEST_F(ConvertedShapesTest, RoundedBoxCornersIgnoreTheOriginAndBoxesOutsideABoxAreSkipped) {
  WmfBytes w(500, 4250, 5500);
  w.WindowOrg(10, 20).Brush(0, 0x112233).Pen(2, 4, 0x445566);
  w.Begin("BOX").Rec(0x061C, {30, 40, 220, 310, 120, 110}).End("BOX");  // height, width, b, r, t, l
  w.Rectangle(0, 0, 50, 50);                                            // no BOX open: nothing
  w.Begin("BOX").Rectangle(10, 20, 60, 70).End("BOX");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.boxes.size(), 2u);
  const auto& r = gen.boxes[0];
  EXPECT_EQ(r.ELL_WIDTH, 80);
  EXPECT_EQ(r.ELL_HEIGHT, 60);
  EXPECT_EQ(r.POS.LEFT, 200);
  EXPECT_EQ(r.POS.TOP, 200);
  EXPECT_EQ(r.POS.RIGHT, 600);
  EXPECT_EQ(r.POS.BOTTOM, 400);
  EXPECT_EQ(r.STYLE.BACKGROUNDCOLOR, 0x112233);
  EXPECT_EQ(r.STYLE.BORDERCOLOR, 0x445566);
  EXPECT_EQ(r.STYLE.BORDERSTYLE, 2);
  EXPECT_EQ(r.STYLE.BORDERWIDTH, 4);  // pen widths stay in metafile units
  const auto& s = gen.boxes[1];
  EXPECT_EQ(s.ELL_WIDTH, 0);
  EXPECT_EQ(s.POS.LEFT, 0);
  EXPECT_EQ(s.POS.TOP, 0);
  EXPECT_EQ(s.POS.RIGHT, 100);
  EXPECT_EQ(s.POS.BOTTOM, 100);
}

TEST_F(ConvertedShapesTest, ArcsTakeThePenChordsTheWholeStyleEllipsesTheirBounds) {
  WmfBytes w(500, 4250, 5500);
  w.Brush(0, 0x0000FF).Pen(0, 3, 0x00FF00);
  // end y, end x, start y, start x, bottom, right, top, left
  w.Begin("CHORD").Rec(0x0830, {8, 7, 6, 5, 400, 300, 200, 100}).End("CHORD");
  w.Begin("ARC").Pen(1, 2, 0xFF0000).Rec(0x0817, {1, 2, 3, 4, 40, 30, 20, 10}).End("ARC");
  w.Begin("ELLIPSE").Ellipse(5, 6, 7, 8).End("ELLIPSE");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  EXPECT_EQ(gen.Ops(), "BeginDocument BeginPage EmitChord EmitArc EmitEllipse FinishPage FinishDocument");
  ASSERT_EQ(gen.arcs.size(), 2u);
  const auto& c = gen.arcs[0];
  EXPECT_EQ(c.POS.LEFT, 200);
  EXPECT_EQ(c.POS.TOP, 400);
  EXPECT_EQ(c.POS.RIGHT, 600);
  EXPECT_EQ(c.POS.BOTTOM, 800);
  EXPECT_EQ(c.STARTX, 10);
  EXPECT_EQ(c.STARTY, 12);
  EXPECT_EQ(c.ENDX, 14);
  EXPECT_EQ(c.ENDY, 16);
  EXPECT_EQ(c.STYLE.BACKGROUNDCOLOR, 0x0000FF);
  EXPECT_EQ(c.STYLE.BORDERCOLOR, 0x00FF00);
  // The arc is cleared at its begin, so only the pen's fields are filled.
  const auto& a = gen.arcs[1];
  EXPECT_EQ(a.STYLE.BACKGROUNDCOLOR, 0);
  EXPECT_EQ(a.STYLE.BORDERCOLOR, 0xFF0000);
  EXPECT_EQ(a.STYLE.BORDERSTYLE, 1);
  EXPECT_EQ(a.STYLE.BORDERWIDTH, 2);
  EXPECT_EQ(a.STARTX, 8);
  EXPECT_EQ(a.ENDY, 2);
  ASSERT_EQ(gen.ellipses.size(), 1u);
  EXPECT_EQ(gen.ellipses[0].POS.LEFT, 10);
  EXPECT_EQ(gen.ellipses[0].POS.TOP, 12);
  EXPECT_EQ(gen.ellipses[0].POS.RIGHT, 14);
  EXPECT_EQ(gen.ellipses[0].POS.BOTTOM, 16);
}

TEST_F(ConvertedShapesTest, FontFlagsFaceAndCharacterSet) {
  WmfBytes w(500, 4250, 5500);
  std::vector<uint8_t> font;
  auto w16 = [&](int v) {
    font.push_back(static_cast<uint8_t>(v & 0xFF));
    font.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  };
  w16(84);  // positive height: 84 * 72 / 500 = 12.096 points
  w16(0);
  w16(-455);  // escapement in tenths of a degree
  w16(0);
  w16(400);
  font.insert(font.end(), {0, 1, 1, 238, 0, 0, 0, 0});  // not italic, underline, strike-out, charset
  std::string face(40, 'F');                             // no terminator before the record ends
  font.insert(font.end(), face.begin(), face.end());
  w.Begin("STRING").Raw(0x02FB, font).Rec(0x0209, {0xFFFF, 0xFFFF}).Text(0, 0, "u").End("STRING");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), 1u);
  const auto& s = gen.strings[0];
  EXPECT_EQ(s.SIZE, 12);
  EXPECT_EQ(s.STYLE, 400 + 8192 + 16384);
  EXPECT_EQ(s.CHARSET, 238);
  EXPECT_EQ(s.FACE.str(), std::string(31, 'F'));
  EXPECT_EQ(static_cast<int16_t>(s.ANGLE), -45);
  EXPECT_EQ(s.COLOR, 0);  // text colour -1: the font's, taken when it was made (black)
}

TEST_F(ConvertedShapesTest, RestoringAContextBringsBackItsObjectsAndColours) {
  WmfBytes w;
  w.Font(-139, "Saved").Rec(0x0209, {0x00FF, 0}).Rec(0x001E, {});
  w.Font(-278, "Inner").Rec(0x0209, {0xFF00, 0});
  w.Begin("STRING").Text(0, 0, "in").End("STRING");
  w.Rec(0x0127, {-1});
  w.Begin("STRING").Text(0, 0, "out").End("STRING");
  ASSERT_EQ(RunOne(w), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), 2u);
  EXPECT_EQ(gen.strings[0].FACE.str(), "Inner");
  EXPECT_EQ(gen.strings[0].COLOR, 0xFF00);
  EXPECT_EQ(gen.strings[1].FACE.str(), "Saved");
  EXPECT_EQ(gen.strings[1].SIZE, 10);
  EXPECT_EQ(gen.strings[1].COLOR, 0x00FF);
}

TEST_F(ConvertedShapesTest, EachPageStartsWithAFreshContextAndSlots) {
  WmfBytes one, two;
  one.Font(-139, "One").Font(-139, "Other").WindowOrg(100, 100).Rec(0x0209, {0x00FF, 0});
  StringControl(two, "second", 300, 300);  // its font takes slot 0 again
  two.Begin("STRING").Select(0).Text(0, 0, "x").End("STRING");
  ASSERT_EQ(Run({Page(one, "1.wmf"), Page(two, "2.wmf")}), tx::Level::Done);
  ASSERT_EQ(gen.strings.size(), 2u);
  EXPECT_EQ(gen.strings[0].LEFTTEXT, 300);
  EXPECT_EQ(gen.strings[0].COLOR, 0);
  EXPECT_EQ(gen.strings[1].FACE.str(), "Arial");
  EXPECT_TRUE(errors.raised.empty());
}
