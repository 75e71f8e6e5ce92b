#include "platform/storage/storage_table.h"

// What every table does alike, whichever way it keeps its rows: the open
// state and the checks of the arguments. Everything else is the backend's.
#include <memory>
#include <utility>

#include "platform/storage/file_table.h"
#include "platform/storage/memory_table.h"
#include "platform/storage/table_backend.h"

namespace tx {

using namespace storage;

struct StorageTable::Impl {
  explicit Impl(const RecordLayout& l) : layout(l) {}

  const RecordLayout& layout;
  DriverStatus status;
  std::unique_ptr<TableBackend> rows;
  FileTable* file = nullptr;  // the backend, when the rows are kept in a file
  bool open = false;

  int NotOpen() { return status.Fail(kNotOpen, "file is not open"); }
  int NoSuchKey() { return status.Fail(kOther, "no such key"); }
};

StorageTable::StorageTable(const RecordLayout& layout) : impl_(std::make_unique<Impl>(layout)) {
  Impl& m = *impl_;
  if (layout.inMemory) {
    m.rows = std::make_unique<MemoryTable>(layout, m.status);
  } else {
    auto file = std::make_unique<FileTable>(layout, m.status);
    m.file = file.get();
    m.rows = std::move(file);
  }
}

StorageTable::~StorageTable() = default;

FileTable* StorageTable::File() { return impl_->file; }

int StorageTable::Open(const std::string& name, bool writable) {
  Impl& m = *impl_;
  if (m.open) return m.status.Fail(kAlreadyOpen, "file is already open");
  m.rows->Rewind();
  m.rows->SetOrder(kPhysicalOrder);
  if (m.rows->Open(name, writable) != kOk) return m.status.error;
  m.open = true;
  return m.status.Ok();
}

int StorageTable::Create(const std::string& name) {
  Impl& m = *impl_;
  if (m.open) return m.status.Fail(kAlreadyOpen, "file is already open");
  return m.rows->Create(name);
}

int StorageTable::Close() {
  Impl& m = *impl_;
  if (!m.open) return m.NotOpen();
  m.open = false;
  return m.rows->Close();
}

bool StorageTable::IsOpen() const { return impl_->open; }
bool StorageTable::IsReadOnly() const { return impl_->rows->IsReadOnly(); }

int StorageTable::Send(std::string_view command) {
  Impl& m = *impl_;
  constexpr std::string_view recover = "Recover=";
  if (command.substr(0, recover.size()) == recover) {
    long seconds = 0;
    for (char c : command.substr(recover.size())) {
      if (c < '0' || c > '9' || seconds > 86400) return m.status.Fail(kOther, "bad Recover= value");
      seconds = seconds * 10 + (c - '0');
    }
    m.rows->SetLockWait(static_cast<int>(seconds * 1000));
    return m.status.Ok();
  }
  return m.status.Fail(kOther, "unknown driver command");
}

int StorageTable::Fetch(int key, void* record) {
  Impl& m = *impl_;
  if (!m.open) return m.NotOpen();
  if (key < 0 || static_cast<size_t>(key) >= m.layout.keys.size()) return m.NoSuchKey();
  return m.rows->Fetch(key, record);
}

int StorageTable::SetOrder(int key) {
  Impl& m = *impl_;
  if (key < kPhysicalOrder || key >= static_cast<int>(m.layout.keys.size())) return m.NoSuchKey();
  m.rows->SetOrder(key);
  return m.status.Ok();
}

int StorageTable::SetFrom(int key, const void* record) {
  Impl& m = *impl_;
  if (SetOrder(key) != kOk) return m.status.error;
  if (key != kPhysicalOrder) m.rows->SetFrom(key, record);
  return kOk;
}

int StorageTable::Next(void* record) {
  Impl& m = *impl_;
  return m.open ? m.rows->Walk(true, record) : m.NotOpen();
}

int StorageTable::Previous(void* record) {
  Impl& m = *impl_;
  return m.open ? m.rows->Walk(false, record) : m.NotOpen();
}

int StorageTable::Reget(void* record) {
  Impl& m = *impl_;
  return m.open ? m.rows->Reget(record) : m.NotOpen();
}

int StorageTable::Append(const void* record) {
  Impl& m = *impl_;
  return m.open ? m.rows->Append(record) : m.NotOpen();
}

int StorageTable::Put(const void* record) {
  Impl& m = *impl_;
  return m.open ? m.rows->Put(record) : m.NotOpen();
}

int StorageTable::Delete() {
  Impl& m = *impl_;
  return m.open ? m.rows->Delete() : m.NotOpen();
}

int StorageTable::ExistingUniqueKey(const void* record) {
  Impl& m = *impl_;
  return m.open ? m.rows->ExistingUniqueKey(record) : -1;
}

int StorageTable::RebuildKeys() { return impl_->rows->RebuildKeys(impl_->open); }

long StorageTable::Count() {
  Impl& m = *impl_;
  if (!m.open) return m.NotOpen(), -1;
  return m.rows->Count();
}

int StorageTable::Empty() {
  Impl& m = *impl_;
  return m.open ? m.rows->Empty() : m.NotOpen();
}

int StorageTable::BeginTransaction() {
  Impl& m = *impl_;
  return m.open ? m.rows->Begin() : m.NotOpen();
}

int StorageTable::Commit() {
  Impl& m = *impl_;
  return m.open ? m.rows->Commit() : m.NotOpen();
}

int StorageTable::Rollback() {
  Impl& m = *impl_;
  return m.open ? m.rows->Rollback() : m.NotOpen();
}

bool StorageTable::InTransaction() const { return impl_->open && impl_->rows->InTransaction(); }

uint64_t StorageTable::ContentVersion() { return impl_->open ? impl_->rows->ContentVersion() : 0; }

bool StorageTable::ReadCommitStamp(CommitStamp& stamp) { return impl_->open && impl_->rows->ReadCommitStamp(stamp); }

int StorageTable::Error() const { return impl_->status.error; }
const std::string& StorageTable::ErrorText() const { return impl_->status.text; }
const RecordLayout& StorageTable::Layout() const { return impl_->layout; }

}  // namespace tx
