#pragma once
// The settings manager: text values by section and entry, kept in an INI file
// (store 0), in a registry replacement (store 1) or nowhere (store 2). Numbers
// are stored as decimal text. No operation reports an error: anything missing
// reads as the default and a failed write is silent.
//
// Store 1 keeps what the program would put in the registry in an INI-format
// file, "$XDG_CONFIG_HOME/tonalyx/registry.ini" (or "~/.config/tonalyx/
// registry.ini"): the registry key "<root>\<file name>\<section>" is the
// section name, with the root as "HKEY_CURRENT_USER" and so on, and the value
// name is the entry.
#include <charconv>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/fixed_string.h"
#include "platform/toolkit/toolkit.h"

namespace tx {

enum SettingsStore : int { STORE_INI = 0, STORE_REGISTRY = 1, STORE_NONE = 2 };

// One record of the bookkeeping list kept under "__Dont_Touch_Me__".
struct SettingsSector {
  FixedString<100> field1, field2, field3;
};

// A position field that is absent holds this marker, distinct from 0.
constexpr int32_t POSITION_ABSENT = INT32_MIN;  // 0x80000000

class SettingsManager {
 public:
  SettingsManager();
  virtual ~SettingsManager();
  SettingsManager(const SettingsManager&) = delete;
  SettingsManager& operator=(const SettingsManager&) = delete;

  // File name (cut to 260 characters; "\" separators accepted), store kind,
  // registry root (0 for 0x80000000). Loads the bookkeeping list.
  void Init(std::string_view fileName, int store = STORE_INI, uint32_t rootKey = 0);
  // Writes the bookkeeping list back and frees it.
  void Kill();

  virtual std::string GetValue(std::string_view section, std::string_view entry, std::string_view defaultValue);
  virtual void SetValue(std::string_view section, std::string_view entry, std::string_view value);
  virtual void UpdateHook() {}
  virtual void DeleteValue(std::string_view section, std::string_view entry);
  // Start-up calls this before Kill.
  virtual void BeforeKill() {}

  std::string Fetch(std::string_view section, std::string_view entry, std::string_view defaultValue = {});
  // "---Unknown---" when the entry is missing.
  std::string TryFetch(std::string_view section, std::string_view entry);
  // The n-th comma-separated field of the value, from 1; past the last field,
  // the text after the last comma.
  std::string FetchField(std::string_view section, std::string_view entry, int n);
  void Update(std::string_view section, std::string_view entry, std::string_view value);
  void Update(std::string_view section, std::string_view entry, long value);

  // A list stored as its record count under `entry` and one entry "entry_i"
  // per record holding its fields joined by ",". FetchQueue appends.
  template <class Rec, class... F>
  void FetchQueue(std::string_view section, std::string_view entry, std::vector<Rec>& list, F Rec::*... fields);
  template <class Rec, class... F>
  void UpdateQueue(std::string_view section, std::string_view entry, const std::vector<Rec>& list,
                   F Rec::*... fields);

  // The same on plain rows of up to four texts.
  std::vector<std::vector<std::string>> FetchRecords(std::string_view section, std::string_view entry, int fields);
  void UpdateRecords(std::string_view section, std::string_view entry,
                     const std::vector<std::vector<std::string>>& records);

  // Restores or records a window's position and state under `section`.
  void FetchWindow(std::string_view section, WindowId window, WindowToolkit& toolkit = Toolkit());
  void UpdateWindow(std::string_view section, WindowId window, WindowToolkit& toolkit = Toolkit());

  const std::string& FileName() const { return fileName_; }
  int Store() const { return store_; }
  uint32_t RootKey() const { return rootKey_; }
  // The registry key a section lives under with store 1, root not included.
  std::string RegistryKeyPath(std::string_view section) const;
  // "HKEY_CURRENT_USER" and so on; the hexadecimal number for other roots.
  static std::string RootName(uint32_t rootKey);
  // Where store 1 keeps its values; empty when there is no home to put it in.
  static std::string RegistryFile();

  std::vector<SettingsSector>* Sectors() { return sectors_.get(); }

 protected:
  std::recursive_mutex lock_;

 private:
  std::string IniPath() const;
  std::string RegistrySection(std::string_view section) const;
  // The file as last read, reused while it is unchanged on disk, so that a
  // list of many entries does not read the file once per entry.
  struct Cache;
  const class IniFile& Load(const std::string& path);
  bool Save(const std::string& path, const class IniFile& ini);
  std::unique_ptr<Cache> cache_;

  std::string fileName_;
  int store_ = STORE_NONE;
  uint32_t rootKey_ = 0x80000000u;
  std::unique_ptr<std::vector<SettingsSector>> sectors_;
};

// The process-wide manager; start-up initialises it with ".\\Corvane.INI".
// Until then it keeps nothing (store 2).
SettingsManager& GlobalSettings();

namespace settings_detail {

inline std::string FieldText(const std::string& v) { return v; }
template <size_t N>
std::string FieldText(const FixedString<N>& v) { return v.str(); }
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
std::string FieldText(T v) { return std::to_string(v); }

inline void SetField(std::string& f, const std::string& v) { f = v; }
template <size_t N>
void SetField(FixedString<N>& f, const std::string& v) { f = v; }
template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
void SetField(T& f, const std::string& v) {
  T n{};
  std::from_chars(v.data(), v.data() + v.size(), n);
  f = n;
}

}  // namespace settings_detail

template <class Rec, class... F>
void SettingsManager::FetchQueue(std::string_view section, std::string_view entry, std::vector<Rec>& list,
                                 F Rec::*... fields) {
  static_assert(sizeof...(fields) >= 1 && sizeof...(fields) <= 4, "one to four fields");
  std::lock_guard<std::recursive_mutex> guard(lock_);
  for (const std::vector<std::string>& values : FetchRecords(section, entry, sizeof...(fields))) {
    Rec r{};
    size_t k = 0;
    ((settings_detail::SetField(r.*fields, values[k++])), ...);
    list.push_back(std::move(r));
  }
}

template <class Rec, class... F>
void SettingsManager::UpdateQueue(std::string_view section, std::string_view entry, const std::vector<Rec>& list,
                                  F Rec::*... fields) {
  static_assert(sizeof...(fields) >= 1 && sizeof...(fields) <= 4, "one to four fields");
  std::vector<std::vector<std::string>> records;
  records.reserve(list.size());
  for (const Rec& r : list) records.push_back({settings_detail::FieldText(r.*fields)...});
  UpdateRecords(section, entry, records);
}

}  // namespace tx
