#pragma once
// Button bits of message boxes, questions and button sets. A question returns
// the bit value of the button pressed.
namespace tx {

enum Button : unsigned {
  BUTTON_OK = 1, BUTTON_YES = 2, BUTTON_NO = 4, BUTTON_ABORT = 8,
  BUTTON_RETRY = 16, BUTTON_IGNORE = 32, BUTTON_CANCEL = 64, BUTTON_HELP = 128
};

// Label of one button bit ("O&k", "&Yes", ...); empty for anything else.
const char* ButtonLabel(unsigned bit);

}  // namespace tx
