#include "services/messages_history.h"

#include "platform/toolkit/toolkit.h"

namespace tx {

std::vector<unsigned> HistoryButtonSlots(unsigned buttons) {
  std::vector<unsigned> slots;
  for (int bit = 7; bit >= 0; --bit) {
    unsigned value = 1u << bit;
    if (buttons & value) slots.push_back(value);
  }
  return slots;
}

unsigned ShowHistoryWindow(WindowToolkit& toolkit, const std::vector<HistoryEntry>& entries,
                           const std::string& caption, unsigned buttons, unsigned defaultButton) {
  WindowLayout layout;
  layout.title = caption;
  layout.fontName = "Tahoma";
  layout.width = 320;
  layout.height = 160;
  layout.resizable = true;

  ControlLayout list;
  list.number = kHistoryList;
  list.kind = ControlKind::List;
  list.x = 4;
  list.y = 4;
  list.width = 312;
  list.height = 130;
  list.columns = {"Message", "Category"};
  layout.controls.push_back(list);

  // Eight slots along the bottom, right to left; unused ones stay hidden.
  std::vector<unsigned> slots = HistoryButtonSlots(buttons);
  for (int i = 0; i < kHistorySlots; ++i) {
    ControlLayout b;
    b.number = kHistoryFirstSlot + i;
    b.kind = ControlKind::Button;
    b.x = 276 - 40 * i;
    b.y = 140;
    b.width = 38;
    b.height = 14;
    b.hidden = true;
    if (i < static_cast<int>(slots.size())) {
      b.text = ButtonLabel(slots[i]);
      b.hidden = false;
      b.defaultButton = slots[i] == defaultButton;
    }
    layout.controls.push_back(b);
  }

  WindowId w = toolkit.OpenWindow(layout);
  std::vector<std::string> rows;
  rows.reserve(entries.size());
  for (const HistoryEntry& e : entries) rows.push_back(e.text + "\t" + e.category);
  toolkit.SetListRows(w, kHistoryList, std::move(rows));
  toolkit.SetControlSelection(w, kHistoryList, static_cast<int>(entries.size()));

  unsigned pressed = defaultButton;
  Event event;
  while (toolkit.NextEvent(w, event)) {
    if (event.kind == EventKind::Accepted) {
      int slot = event.control - kHistoryFirstSlot;
      if (slot >= 0 && slot < static_cast<int>(slots.size())) {
        pressed = slots[slot];
        toolkit.CloseWindow(w);
      }
    } else if (event.kind == EventKind::CloseRequested) {
      toolkit.CloseWindow(w);
    }
  }
  return pressed;
}

}  // namespace tx
