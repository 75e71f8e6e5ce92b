#pragma once
// The history of shown messages and the window that lists it.
#include <string>
#include <vector>

namespace tx {

class WindowToolkit;

struct HistoryEntry {
  std::string text;  // at most 1024 characters
  int level = 0;
  std::string category;
};

// Bit values of `buttons` in the order they take the window's button slots:
// highest bit first, at most eight.
std::vector<unsigned> HistoryButtonSlots(unsigned buttons);

// Control numbers of the history window: the list, then the eight button slots.
constexpr int kHistoryList = 1;
constexpr int kHistoryFirstSlot = 2;
constexpr int kHistorySlots = 8;

// Shows `entries` in a list with the columns "Message" and "Category" under
// `caption`, with the buttons of `buttons`; returns the button pressed, or
// `defaultButton` when the window is closed without one.
unsigned ShowHistoryWindow(WindowToolkit& toolkit, const std::vector<HistoryEntry>& entries,
                           const std::string& caption, unsigned buttons, unsigned defaultButton);

}  // namespace tx
