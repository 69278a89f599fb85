#include "model/editor_settings.h"

namespace tracemont {
namespace {

std::string& Folder() {
  static std::string folder;
  return folder;
}

}  // namespace

void SetProgramFolder(std::string folder) { Folder() = std::move(folder); }

const std::string& ProgramFolder() { return Folder(); }

std::string DefaultPictureFile() {
  const std::string& folder = Folder();
  if (folder.empty()) return "Demo.bmp";
  return folder.back() == '/' ? folder + "Demo.bmp" : folder + "/Demo.bmp";
}

}  // namespace tracemont
