// The program's settings in the user's settings store, under the maker
// "Velmora" and the application "Tracemont": the main window's placement
// ("Settings"/"WindowPos") and the list of recently opened files.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <optional>

#include "app/window_placement.h"

namespace tracemont {

class AppSettings {
 public:
  static constexpr int kMaxRecentFiles = 10;

  // The user's store (QSettings with the maker and application names).
  AppSettings();
  // A store in an explicit INI file, for tests.
  explicit AppSettings(const QString& iniPath);

  // Nothing when the value is absent or not ten numbers.
  std::optional<WindowPlacement> WindowPos() const;
  void SetWindowPos(const WindowPlacement& placement);

  // Most recent first, at most 10, without duplicates.
  QStringList RecentFiles() const;
  // Puts `path` first (moving it up when already listed).
  void AddRecentFile(const QString& path);
  void RemoveRecentFile(const QString& path);

 private:
  void WriteRecentFiles(const QStringList& files);
  mutable QSettings settings_;
};

}  // namespace tracemont
