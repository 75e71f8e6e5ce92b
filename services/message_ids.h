#pragma once
// The numbers of the built-in messages (messages.cpp holds their levels,
// titles and texts), named by what they say, and the levels a message entry
// can have.
#include <cstdint>

namespace tx {

namespace Msg {
enum : uint16_t {
  RecordNotRead = 1,  // "Record Retrieval Error"
  AccessDenied = 2,
  RecordAdded = 3,
  RecordNotInserted = 4,
  AddNewRecord = 5,
  FileNotClosed = 6,
  RecordChangedElsewhere = 7,
  RecordChangedElsewhereShown = 8,
  RecordChangedOrDeletedElsewhere = 9,
  ConfirmCancel = 10,
  ConfirmDelete = 11,
  FileNotCreated = 12,
  RecordNotDeleted = 13,
  DeleteNotAllowed = 14,
  DuplicateKey = 15,
  ValueNotInFile = 16,
  ValueNotInList = 17,
  ValueOutOfRange = 18,
  ValueTooHigh = 19,
  ValueTooLow = 20,
  FileNotLoaded = 21,
  PageRecordNotRead = 22,  // "Get next record from file %File failed."
  InsertNotAllowed = 23,
  TransactionNotFramed = 24,
  NoRecords = 25,
  FileNotOpened = 26,
  ProcedureNotDefined = 27,
  RecordNotUpdated = 28,
  KeysNotBuilt = 29,
  KeysInvalid = 30,
  RecordHeld = 31,
  DeleteReferenced = 33,
  UpdateReferenced = 34,
  AutoIncrementFailed = 35,
  RetryDelete = 36,
  RetryUpdate = 37,
  SaveRecord = 38,
  BeginningOfFile = 39,
  EndOfFile = 40,
  UpdateNotAllowed = 41,
  FileNotOpenYet = 42,  // "File Usage Error"
  ViewNotOpened = 43,
  QueryColumnUnsupported = 44,
  SmtpError = 45,
  NntpError = 46,
  WinsockError = 47,
  PageRecordNotQueued = 48,
  NotAPageFile = 49,  // "The File %File is not a valid WMF file."
  InvalidControl = 50,
  ControlIdNotFound = 51,
  PoorlyFormedComment = 52,
  UnknownProperty = 53,
};
}  // namespace Msg

// A message entry's level: what raising it does.
namespace MessageLevel {
enum : uint8_t {
  Silent = 0,    // nothing shown; Raise gives Level::Done
  Question = 1,  // Yes/No: Level::Done for Yes, else Level::Cancelled
  Usage = 2,     // handled as Fatal
  Fatal = 3,     // shown, then the program ends
  Confirm = 4,   // as Question
  Notice = 5,    // shown with Ok; Raise gives Level::NotDone
};
}  // namespace MessageLevel

}  // namespace tx
