#pragma once
// The page the PDF writer benchmarks write through the report generator
// interface: 10 boxes, 10 lines and 40 text lines, and a generator that
// shows no dialogs.
#include <string>
#include <string_view>

#include "pdf/pdf_generator.h"

namespace txbench {

class QuietGenerator : public tx::PDFGenerator {
 protected:
  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskSaveName(std::string_view, std::string_view, std::string&) override { return false; }
};

inline std::string LineText(int page, int row) {
  return "Parameter " + std::to_string(row) + " of block " + std::to_string(page) + "   value 12.5 dB   X/Y";
}

inline void EmitSamplePage(tx::PDFGenerator& g, int page) {
  g.BeginPage("page", 0, 0, 8500, 11000);
  for (int i = 0; i < 10; ++i) {
    tx::RectFormat box;
    box.POS = {500 + i * 1000, 500, 1300 + i * 1000, 8000};
    box.STYLE.BACKGROUNDCOLOR = i % 2 ? -1 : 0xEEEEEE;
    box.STYLE.BORDERCOLOR = 0;
    box.STYLE.BORDERWIDTH = 8;
    g.EmitBox("", box);
    tx::LineFormat line;
    line.POS = {1400 + i * 1000, 500, 1400 + i * 1000, 8000};
    line.COLOR = 0x808080;
    line.WIDTH = 8;
    g.EmitLine("", line);
  }
  for (int row = 0; row < 40; ++row) {
    tx::TextFormat f;
    f.LEFTTEXT = 600;
    f.TOPTEXT = 600 + row * 250;
    f.BACKGROUNDCOLOR = -1;
    f.FACE = "Helvetica";
    f.SIZE = 10;
    f.STYLE = 400;
    g.EmitString("", LineText(page, row), f);
  }
  g.FinishPage();
}

}  // namespace txbench
