#include "platform/app_settings.h"

#include <QFileInfo>

namespace tracemont {
namespace {

constexpr const char* kWindowPos = "Settings/WindowPos";
constexpr const char* kRecentGroup = "Recent File List";

}  // namespace

AppSettings::AppSettings() : settings_(QStringLiteral("Velmora"), QStringLiteral("Tracemont")) {}

AppSettings::AppSettings(const QString& iniPath) : settings_(iniPath, QSettings::IniFormat) {}

std::optional<WindowPlacement> AppSettings::WindowPos() const {
  const QVariant value = settings_.value(kWindowPos);
  if (!value.isValid()) return std::nullopt;
  return ParsePlacement(value.toString().toStdString());
}

void AppSettings::SetWindowPos(const WindowPlacement& placement) {
  settings_.setValue(kWindowPos, QString::fromStdString(FormatPlacement(placement)));
}

QStringList AppSettings::RecentFiles() const {
  QStringList files;
  settings_.beginGroup(kRecentGroup);
  for (int i = 1; i <= kMaxRecentFiles; ++i) {
    const QString file = settings_.value(QStringLiteral("File%1").arg(i)).toString();
    if (!file.isEmpty() && !files.contains(file)) files.append(file);
  }
  settings_.endGroup();
  return files;
}

void AppSettings::WriteRecentFiles(const QStringList& files) {
  settings_.beginGroup(kRecentGroup);
  for (int i = 1; i <= kMaxRecentFiles; ++i) {
    const QString key = QStringLiteral("File%1").arg(i);
    if (i <= files.size())
      settings_.setValue(key, files[i - 1]);
    else
      settings_.remove(key);
  }
  settings_.endGroup();
}

void AppSettings::AddRecentFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > kMaxRecentFiles) files.removeLast();
  WriteRecentFiles(files);
}

void AppSettings::RemoveRecentFile(const QString& path) {
  QStringList files = RecentFiles();
  files.removeAll(QFileInfo(path).absoluteFilePath());
  WriteRecentFiles(files);
}

}  // namespace tracemont
