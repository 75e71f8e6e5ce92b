#include "services/messages.h"

#include <algorithm>

#include "services/message_ids.h"

namespace tx {

namespace {

struct Builtin {
  uint16_t id;
  uint8_t level;
  const char* title;
  const char* text;
};

const Builtin kBuiltin[] = {
    {Msg::RecordNotRead, MessageLevel::Notice, "Record Retrieval Error",
     "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to previous window."},
    {Msg::AccessDenied, MessageLevel::Notice, "Access Denied",
     "Could not get write access to %File so trying read-only."},
    {Msg::RecordAdded, MessageLevel::Question, "Record Added",
     "This record has been added to the file. Do you want to add another record?"},
    {Msg::RecordNotInserted, MessageLevel::Notice, "Record Insert Error",
     "An error was experienced during the creation of a record.|File: %File|Error: %ErrorText."},
    {Msg::AddNewRecord, MessageLevel::Notice, "Add New Record?",
     "Record match not found, do you wish to add a new one?"},
    {Msg::FileNotClosed, MessageLevel::Notice, "File Access Error",
     "File %File could not be closed.  Error: %ErrorText."},
    {Msg::RecordChangedElsewhere, MessageLevel::Notice, "Record Was Not Updated",
     "This record was changed by another station."},
    {Msg::RecordChangedElsewhereShown, MessageLevel::Notice, "Record Was Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or Ctrl+H to recall your changes."},
    {Msg::RecordChangedOrDeletedElsewhere, MessageLevel::Notice, "Record Retrieval Error",
     "This record was changed or deleted by another station.|Error: (%ErrorText) attempting to access a record from the %File file."},
    {Msg::ConfirmCancel, MessageLevel::Question, "Changes will be lost!",
     "Are you sure you want to cancel?"},
    {Msg::ConfirmDelete, MessageLevel::Question, "Confirm Delete",
     "Are you sure you want to delete the highlighted record?"},
    {Msg::FileNotCreated, MessageLevel::Fatal, "File Creation Error",
     "Error: (%ErrorText) creating %File."},
    {Msg::RecordNotDeleted, MessageLevel::Notice, "Record was not deleted",
     "An error (%ErrorText) was experienced when deleting a record from the %File file."},
    {Msg::DeleteNotAllowed, MessageLevel::Notice, "Invalid Request",
     "This form cannot be used to delete a record"},
    {Msg::DuplicateKey, MessageLevel::Notice, "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key: %Message"},
    {Msg::ValueNotInFile, MessageLevel::Notice, "Field contents error",
     "The value of %Field must be found in the %Message file."},
    {Msg::ValueNotInList, MessageLevel::Notice, "Value Error",
     "The value of %Field must be in the list : %Message."},
    {Msg::ValueOutOfRange, MessageLevel::Notice, "Range Error",
     "The value of %Field must be in range %Message."},
    {Msg::ValueTooHigh, MessageLevel::Notice, "Range Error",
     "The value of %Field must be lower than %Message."},
    {Msg::ValueTooLow, MessageLevel::Notice, "Range Error",
     "The value of %Field must be higher than %Message."},
    {Msg::FileNotLoaded, MessageLevel::Notice, "File Load Error",
     "%File File Load Error.  Error: %ErrorText."},
    {Msg::PageRecordNotRead, MessageLevel::Fatal, "WMF Parser Error",
     "Get next record from file %File failed."},
    {Msg::InsertNotAllowed, MessageLevel::Notice, "Invalid Request",
     "This form cannot be used to insert a record"},
    {Msg::TransactionNotFramed, MessageLevel::Notice, "Transaction cancelled",
     "Error: (%ErrorText) attempting to frame the transaction on %File."},
    {Msg::NoRecords, MessageLevel::Notice, "No Records",
     "There are no records available to process."},
    {Msg::FileNotOpened, MessageLevel::Fatal, "File Access Error",
     "File %File could not be opened.  Error: %ErrorText."},
    {Msg::ProcedureNotDefined, MessageLevel::Notice, "Procedure not defined",
     "The Procedure %Message has not been defined."},
    {Msg::RecordNotUpdated, MessageLevel::Notice, "Record was not updated",
     "An error (%ErrorText) was experienced when making changes to the %File file."},
    {Msg::KeysNotBuilt, MessageLevel::Fatal, "Key was not built",
     "Error: (%ErrorText) repairing key for %File."},
    {Msg::KeysInvalid, MessageLevel::Notice, "Invalid Key",
     "%File key file is invalid. Key must be rebuilt."},
    {Msg::RecordHeld, MessageLevel::Notice, "Record not read",
     "A record held by another station was encountered reading from the %File file."},
    {Msg::DeleteReferenced, MessageLevel::Notice, "Referential Integrity Delete Error",
     "This record is referenced from the file %File. This record cannot be deleted while these references exist."},
    {Msg::UpdateReferenced, MessageLevel::Notice, "Referential Integrity Update Error",
     "This record is referenced from the file %File. Linking field(s) have been restricted from change and have been reset to original values."},
    {Msg::AutoIncrementFailed, MessageLevel::Question, "Auto Increment Error",
     "Attempts to automatically number this record have failed.|File: %File|Key: %Key|Error: %ErrorText.|Try Again?"},
    {Msg::RetryDelete, MessageLevel::Question, "Record Delete Error",
     "An error was experienced deleting this record. Do you want to try to delete it again?"},
    {Msg::RetryUpdate, MessageLevel::Question, "Record Update Error",
     "An error was experienced changing this record. Do you want to try to save again?"},
    {Msg::SaveRecord, MessageLevel::Question, "Save Record",
     "Do you want to save the changes to this record?"},
    {Msg::BeginningOfFile, MessageLevel::Question, "Beginning of File Error",
     "The beginning of the file %File was encountered. Do you want to start again from the end of the file?"},
    {Msg::EndOfFile, MessageLevel::Question, "End of File Error",
     "The end of the file %File was encountered. Do you want to start again from the beginning?"},
    {Msg::UpdateNotAllowed, MessageLevel::Notice, "Invalid Request",
     "This form cannot be used to update a record"},
    {Msg::FileNotOpenYet, MessageLevel::Usage, "File Usage Error",
     "Attempt to use file (%File) before it was opened"},
    {Msg::ViewNotOpened, MessageLevel::Notice, "View Open Error",
     "Error: (%ErrorText) attempting to open the current VIEW. Filter and Range Limits ignored."},
    {Msg::QueryColumnUnsupported, MessageLevel::Notice, "Unsupported QBE Column",
     "The saved QBE column, %Field is not supported. It will be dropped from the query."},
    {Msg::SmtpError, MessageLevel::Notice, "SMTP Error",
     "The following SMTP Error occurred: %Message "},
    {Msg::NntpError, MessageLevel::Notice, "NNTP Error",
     "%Message "},
    {Msg::WinsockError, MessageLevel::Notice, "Winsock Error",
     "%Message "},
    {Msg::PageRecordNotQueued, MessageLevel::Fatal, "WMF Parser Error",
     "Adding record to queue failed. Parsing %File."},
    {Msg::NotAPageFile, MessageLevel::Fatal, "WMF Parser Error",
     "The File %File is not a valid WMF file."},
    {Msg::InvalidControl, MessageLevel::Fatal, "WMF Parser Error",
     "Invalid %Field control found. Parsing %File."},
    {Msg::ControlIdNotFound, MessageLevel::Fatal, "WMF Parser Error",
     "Cannot find %Field id. Parsing %File."},
    {Msg::PoorlyFormedComment, MessageLevel::Notice, "Report Writer Error",
     "Poorly Formed Comment String \"%Message\" at Position %Field."},
    {Msg::UnknownProperty, MessageLevel::Notice, "Report Writer Error",
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
