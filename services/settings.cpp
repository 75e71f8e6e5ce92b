#include "services/settings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "services/settings_ini.h"

#include <sys/stat.h>

namespace tx {

struct SettingsManager::Cache {
  std::string path;
  struct stat st {};
  bool exists = false;
  IniFile ini;
};

namespace {

constexpr size_t kFileNameSize = 260;
constexpr size_t kValueSize = 1024;
constexpr size_t kFieldValueSize = 1000;
constexpr size_t kRecordValueSize = 5000;
// A damaged count must not make us read (and keep) millions of empty records.
constexpr long kMaxRecords = 10000;
const char kSectorsSection[] = "__Dont_Touch_Me__";
const char kSectorsEntry[] = "Sectors";
const char kUnknown[] = "---Unknown---";

// A whole decimal number, or POSITION_ABSENT for anything else.
int32_t ParsePosition(const std::string& text) {
  if (text.empty()) return POSITION_ABSENT;
  int32_t n = 0;
  const char* begin = text.data();
  const char* end = begin + text.size();
  auto [ptr, ec] = std::from_chars(begin, end, n);
  if (ec != std::errc() || ptr != end) return POSITION_ABSENT;
  return n;
}

}  // namespace

SettingsManager::SettingsManager() = default;
SettingsManager::~SettingsManager() = default;

namespace {
bool SameStat(const struct stat& a, const struct stat& b) {
  return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}
}  // namespace

const IniFile& SettingsManager::Load(const std::string& path) {
  struct stat st {};
  bool exists = ::stat(path.c_str(), &st) == 0;
  if (cache_ && cache_->path == path && cache_->exists == exists && (!exists || SameStat(cache_->st, st)))
    return cache_->ini;
  if (!cache_) cache_ = std::make_unique<Cache>();
  cache_->path = path;
  cache_->exists = exists;
  cache_->st = st;
  cache_->ini = IniFile::Load(path);
  return cache_->ini;
}

bool SettingsManager::Save(const std::string& path, const IniFile& ini) {
  bool ok = ini.Save(path);
  cache_.reset();
  return ok;
}

void SettingsManager::Init(std::string_view fileName, int store, uint32_t rootKey) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  fileName_ = std::string(fileName.substr(0, kFileNameSize));
  store_ = store;
  rootKey_ = rootKey == 0 ? 0x80000000u : rootKey;
  sectors_ = std::make_unique<std::vector<SettingsSector>>();
  FetchQueue(kSectorsSection, kSectorsEntry, *sectors_, &SettingsSector::field1, &SettingsSector::field2,
             &SettingsSector::field3);
}

void SettingsManager::Kill() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!sectors_) return;
  UpdateQueue(kSectorsSection, kSectorsEntry, *sectors_, &SettingsSector::field1, &SettingsSector::field2,
              &SettingsSector::field3);
  sectors_.reset();
}

std::string SettingsManager::IniPath() const {
  std::string path = fileName_;
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

std::string SettingsManager::RootName(uint32_t rootKey) {
  switch (rootKey) {
    case 0x80000000u: return "HKEY_CLASSES_ROOT";
    case 0x80000001u: return "HKEY_CURRENT_USER";
    case 0x80000002u: return "HKEY_LOCAL_MACHINE";
    case 0x80000003u: return "HKEY_USERS";
    case 0x80000005u: return "HKEY_CURRENT_CONFIG";
    default: {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%08X", rootKey);
      return hex;
    }
  }
}

std::string SettingsManager::RegistryFile() {
  namespace fs = std::filesystem;
  fs::path base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg && fs::path(xdg).is_absolute()) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    base = fs::path(home) / ".config";
  }
  return (base / "tonalyx" / "registry.ini").string();
}

std::string SettingsManager::RegistryKeyPath(std::string_view section) const {
  if (fileName_.empty()) return std::string(section);
  return fileName_ + "\\" + std::string(section);
}

std::string SettingsManager::RegistrySection(std::string_view section) const {
  return RootName(rootKey_) + "\\" + RegistryKeyPath(section);
}

std::string SettingsManager::GetValue(std::string_view section, std::string_view entry,
                                      std::string_view defaultValue) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  std::string value;
  switch (store_) {
    case STORE_INI: {
      std::optional<std::string> v = Load(IniPath()).Get(section, entry);
      value = v ? *v : std::string(defaultValue);
      break;
    }
    case STORE_REGISTRY: {
      std::string file = RegistryFile();
      std::optional<std::string> v;
      if (!file.empty()) v = Load(file).Get(RegistrySection(section), entry);
      value = v && !v->empty() ? *v : std::string(defaultValue);
      break;
    }
    default:
      break;
  }
  if (value.size() > kValueSize) value.resize(kValueSize);
  return value;
}

void SettingsManager::SetValue(std::string_view section, std::string_view entry, std::string_view value) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  switch (store_) {
    case STORE_INI: {
      IniFile ini = Load(IniPath());
      ini.Set(section, entry, value);
      Save(IniPath(), ini);
      break;
    }
    case STORE_REGISTRY: {
      if (value.empty()) {
        DeleteValue(section, entry);
        break;
      }
      std::string file = RegistryFile();
      if (file.empty()) break;
      std::error_code ec;
      std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
      IniFile reg = Load(file);
      reg.Set(RegistrySection(section), entry, value);
      Save(file, reg);
      break;
    }
    default:
      break;
  }
}

void SettingsManager::DeleteValue(std::string_view section, std::string_view entry) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  std::string path;
  std::string sec(section);
  if (store_ == STORE_INI) {
    path = IniPath();
  } else if (store_ == STORE_REGISTRY) {
    path = RegistryFile();
    sec = RegistrySection(section);
  }
  if (path.empty()) return;
  IniFile ini = Load(path);
  if (ini.Remove(sec, entry)) Save(path, ini);
}

std::string SettingsManager::Fetch(std::string_view section, std::string_view entry, std::string_view defaultValue) {
  return GetValue(section, entry, defaultValue);
}

std::string SettingsManager::TryFetch(std::string_view section, std::string_view entry) {
  return GetValue(section, entry, kUnknown);
}

std::string SettingsManager::FetchField(std::string_view section, std::string_view entry, int n) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  std::string value = GetValue(section, entry, "");
  if (value.size() > kFieldValueSize) value.resize(kFieldValueSize);
  size_t start = 0;
  for (int k = 1; k < n; ++k) {
    size_t comma = value.find(',', start);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  size_t end = value.find(',', start);
  return value.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void SettingsManager::Update(std::string_view section, std::string_view entry, std::string_view value) {
  SetValue(section, entry, value);
}

void SettingsManager::Update(std::string_view section, std::string_view entry, long value) {
  SetValue(section, entry, std::to_string(value));
}

std::vector<std::vector<std::string>> SettingsManager::FetchRecords(std::string_view section,
                                                                    std::string_view entry, int fields) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  std::vector<std::vector<std::string>> records;
  long count = ParsePosition(GetValue(section, entry, ""));
  if (count == POSITION_ABSENT || count < 0) count = 0;
  if (count > kMaxRecords) count = kMaxRecords;
  std::string base(entry);
  for (long i = 1; i <= count; ++i) {
    std::string name = base + "_" + std::to_string(i);
    std::vector<std::string> values;
    for (int f = 1; f <= fields; ++f) values.push_back(FetchField(section, name, f));
    records.push_back(std::move(values));
  }
  return records;
}

void SettingsManager::UpdateRecords(std::string_view section, std::string_view entry,
                                    const std::vector<std::vector<std::string>>& records) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  Update(section, entry, static_cast<long>(records.size()));
  std::string base(entry);
  for (size_t i = 0; i < records.size(); ++i) {
    std::string value;
    for (size_t f = 0; f < records[i].size(); ++f) {
      if (f > 0) value += ",";
      value += records[i][f];
    }
    if (value.size() > kRecordValueSize) value.resize(kRecordValueSize);
    Update(section, base + "_" + std::to_string(i + 1), value);
  }
}

void SettingsManager::FetchWindow(std::string_view section, WindowId window, WindowToolkit& toolkit) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  std::string maximize = GetValue(section, "Maximize", "");
  if (maximize != "Yes" && maximize != "No") return;
  bool minimize = GetValue(section, "Minimize", "") == "Yes";
  int32_t x = ParsePosition(GetValue(section, "XPos", ""));
  int32_t y = ParsePosition(GetValue(section, "YPos", ""));
  int32_t width = ParsePosition(GetValue(section, "Width", ""));
  int32_t height = ParsePosition(GetValue(section, "Height", ""));

  WindowGeometry g = toolkit.Geometry(window);
  if (maximize == "No") g.maximized = false;
  // An absent coordinate leaves the window where the program put it.
  if (x != POSITION_ABSENT) g.x = x;
  if (y != POSITION_ABSENT) g.y = y;
  if (toolkit.Resizable(window)) {
    if (width != POSITION_ABSENT && width > 0) g.width = width;
    if (height != POSITION_ABSENT && height > 0) g.height = height;
  }
  if (maximize == "Yes") g.maximized = true;
  g.minimized = minimize;
  toolkit.SetGeometry(window, g);
}

void SettingsManager::UpdateWindow(std::string_view section, WindowId window, WindowToolkit& toolkit) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  WindowGeometry g = toolkit.Geometry(window);
  int32_t x = POSITION_ABSENT, y = POSITION_ABSENT, width = POSITION_ABSENT, height = POSITION_ABSENT;
  if (!g.maximized && !g.minimized) {
    x = g.x;
    y = g.y;
    if (toolkit.Resizable(window)) {
      width = g.width;
      height = g.height;
    }
  }
  SetValue(section, "Maximize", g.maximized ? "Yes" : "No");
  SetValue(section, "Minimize", g.minimized ? "Yes" : "No");
  const std::pair<const char*, int32_t> numbers[] = {{"XPos", x}, {"YPos", y}, {"Width", width}, {"Height", height}};
  for (const auto& [name, value] : numbers) {
    if (value == POSITION_ABSENT)
      DeleteValue(section, name);
    else
      SetValue(section, name, std::to_string(value));
  }
}

SettingsManager& GlobalSettings() {
  static SettingsManager manager;
  return manager;
}

}  // namespace tx
