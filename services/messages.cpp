#include "services/messages.h"

#include <algorithm>

namespace tx {

namespace {

struct Builtin {
  uint16_t id;
  uint8_t level;
  const char* title;
  const char* text;
};

// Levels: 0 silent, 1 and 4 question, 5 notice, 3 (and 2) fatal.
const Builtin kBuiltin[] = {
    {1, 5, "Record Retrieval Error",
     "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to previous window."},
    {2, 5, "Access Denied",
     "Could not get write access to %File so trying read-only."},
    {3, 1, "Record Added",
     "This record has been added to the file. Do you want to add another record?"},
    {4, 5, "Record Insert Error",
     "An error was experienced during the creation of a record.|File: %File|Error: %ErrorText."},
    {5, 5, "Add New Record?",
     "Record match not found, do you wish to add a new one?"},
    {6, 5, "File Access Error",
     "File %File could not be closed.  Error: %ErrorText."},
    {7, 5, "Record Was Not Updated",
     "This record was changed by another station."},
    {8, 5, "Record Was Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or Ctrl+H to recall your changes."},
    {9, 5, "Record Retrieval Error",
     "This record was changed or deleted by another station.|Error: (%ErrorText) attempting to access a record from the %File file."},
    {10, 1, "Changes will be lost!",
     "Are you sure you want to cancel?"},
    {11, 1, "Confirm Delete",
     "Are you sure you want to delete the highlighted record?"},
    {12, 3, "File Creation Error",
     "Error: (%ErrorText) creating %File."},
    {13, 5, "Record was not deleted",
     "An error (%ErrorText) was experienced when deleting a record from the %File file."},
    {14, 5, "Invalid Request",
     "This form cannot be used to delete a record"},
    {15, 5, "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key: %Message"},
    {16, 5, "Field contents error",
     "The value of %Field must be found in the %Message file."},
    {17, 5, "Value Error",
     "The value of %Field must be in the list : %Message."},
    {18, 5, "Range Error",
     "The value of %Field must be in range %Message."},
    {19, 5, "Range Error",
     "The value of %Field must be lower than %Message."},
    {20, 5, "Range Error",
     "The value of %Field must be higher than %Message."},
    {21, 5, "File Load Error",
     "%File File Load Error.  Error: %ErrorText."},
    {22, 3, "WMF Parser Error",
     "Get next record from file %File failed."},
    {23, 5, "Invalid Request",
     "This form cannot be used to insert a record"},
    {24, 5, "Transaction cancelled",
     "Error: (%ErrorText) attempting to frame the transaction on %File."},
    {25, 5, "No Records",
     "There are no records available to process."},
    {26, 3, "File Access Error",
     "File %File could not be opened.  Error: %ErrorText."},
    {27, 5, "Procedure not defined",
     "The Procedure %Message has not been defined."},
    {28, 5, "Record was not updated",
     "An error (%ErrorText) was experienced when making changes to the %File file."},
    {29, 3, "Key was not built",
     "Error: (%ErrorText) repairing key for %File."},
    {30, 5, "Invalid Key",
     "%File key file is invalid. Key must be rebuilt."},
    {31, 5, "Record not read",
     "A record held by another station was encountered reading from the %File file."},
    {33, 5, "Referential Integrity Delete Error",
     "This record is referenced from the file %File. This record cannot be deleted while these references exist."},
    {34, 5, "Referential Integrity Update Error",
     "This record is referenced from the file %File. Linking field(s) have been restricted from change and have been reset to original values."},
    {35, 1, "Auto Increment Error",
     "Attempts to automatically number this record have failed.|File: %File|Key: %Key|Error: %ErrorText.|Try Again?"},
    {36, 1, "Record Delete Error",
     "An error was experienced deleting this record. Do you want to try to delete it again?"},
    {37, 1, "Record Update Error",
     "An error was experienced changing this record. Do you want to try to save again?"},
    {38, 1, "Save Record",
     "Do you want to save the changes to this record?"},
    {39, 1, "Beginning of File Error",
     "The beginning of the file %File was encountered. Do you want to start again from the end of the file?"},
    {40, 1, "End of File Error",
     "The end of the file %File was encountered. Do you want to start again from the beginning?"},
    {41, 5, "Invalid Request",
     "This form cannot be used to update a record"},
    {42, 2, "File Usage Error",
     "Attempt to use file (%File) before it was opened"},
    {43, 5, "View Open Error",
     "Error: (%ErrorText) attempting to open the current VIEW. Filter and Range Limits ignored."},
    {44, 5, "Unsupported QBE Column",
     "The saved QBE column, %Field is not supported. It will be dropped from the query."},
    {45, 5, "SMTP Error",
     "The following SMTP Error occurred: %Message "},
    {46, 5, "NNTP Error",
     "%Message "},
    {47, 5, "Winsock Error",
     "%Message "},
    {48, 3, "WMF Parser Error",
     "Adding record to queue failed. Parsing %File."},
    {49, 3, "WMF Parser Error",
     "The File %File is not a valid WMF file."},
    {50, 3, "WMF Parser Error",
     "Invalid %Field control found. Parsing %File."},
    {51, 3, "WMF Parser Error",
     "Cannot find %Field id. Parsing %File."},
    {52, 5, "Report Writer Error",
     "Poorly Formed Comment String \"%Message\" at Position %Field."},
    {53, 5, "Report Writer Error",
     "Unknown Property %Message."},
};

void PutString(std::vector<uint8_t>& out, std::string_view s) {
  size_t n = std::min<size_t>(s.size(), 255);
  out.push_back(static_cast<uint8_t>(n));
  out.insert(out.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace

std::vector<MessageEntry> UnpackMessages(const uint8_t* block, size_t length, bool* complete) {
  std::vector<MessageEntry> entries;
  if (complete) *complete = false;
  if (!block || length < 2) return entries;
  size_t count = block[0] | (block[1] << 8);
  size_t pos = 2;
  // Every length is checked against what the block holds before it is used.
  auto readString = [&](std::string& s) {
    if (pos >= length) return false;
    size_t n = block[pos++];
    if (n > length - pos) return false;
    s.assign(reinterpret_cast<const char*>(block + pos), n);
    pos += n;
    return true;
  };
  for (size_t i = 0; i < count; ++i) {
    if (length - pos < 3) return entries;
    MessageEntry e;
    e.id = static_cast<uint16_t>(block[pos] | (block[pos + 1] << 8));
    e.FATALITY = block[pos + 2];
    pos += 3;
    if (!readString(e.TITLE) || !readString(e.MESSAGE)) return entries;
    entries.push_back(std::move(e));
  }
  if (complete) *complete = true;
  return entries;
}

std::vector<uint8_t> PackMessages(const std::vector<MessageEntry>& entries) {
  std::vector<uint8_t> out;
  size_t count = std::min<size_t>(entries.size(), 0xFFFF);
  out.push_back(static_cast<uint8_t>(count & 0xFF));
  out.push_back(static_cast<uint8_t>(count >> 8));
  for (size_t i = 0; i < count; ++i) {
    const MessageEntry& e = entries[i];
    out.push_back(static_cast<uint8_t>(e.id & 0xFF));
    out.push_back(static_cast<uint8_t>(e.id >> 8));
    out.push_back(e.FATALITY);
    PutString(out, e.TITLE);
    PutString(out, e.MESSAGE);
  }
  return out;
}

const std::vector<uint8_t>& BuiltinMessageBlock() {
  static const std::vector<uint8_t> block = [] {
    std::vector<MessageEntry> entries;
    for (const Builtin& b : kBuiltin) entries.push_back({b.id, b.level, b.title, b.text, {}});
    return PackMessages(entries);
  }();
  return block;
}

}  // namespace tx
