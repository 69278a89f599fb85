// tracemont-cli render FILE.tmr OUT.(png|svg|pdf) [--dpi N]: the page as it
// prints, into a picture file. Needs no display.
#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "cli/command.h"
#include "cli/document_input.h"
#include "cli/qt/gui_application.h"
#include "model/document_file.h"
#include "platform/page_output.h"

namespace tracemont::cli {
namespace {

int RunRender(const std::vector<std::string>& args, CommandIo& io) {
  std::vector<std::string> files;
  int dpi = 150;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dpi") {
      const auto value = i + 1 < args.size() ? ParseNumber(args[i + 1]) : std::nullopt;
      if (!value || *value < 10 || *value > 2400) {
        io.err << "tracemont-cli render: --dpi needs a number from 10 to 2400\n";
        return 2;
      }
      dpi = static_cast<int>(*value);
      ++i;
    } else if (args[i].rfind("--", 0) == 0) {
      io.err << "tracemont-cli render: unknown option '" << args[i] << "'\n";
      return 2;
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) {
    io.err << "usage: tracemont-cli render FILE.tmr OUT.(png|svg|pdf) [--dpi N]\n";
    return 2;
  }
  DocumentData document;
  if (!ReadDocument(files[0], document, io)) return 2;
  const auto app = MakeGuiApplication();
  const QString error = RenderPageFile(document, QString::fromStdString(files[1]), dpi);
  if (!error.isEmpty()) {
    io.err << "tracemont-cli render: " << error.toStdString() << "\n";
    return 2;
  }
  io.out << files[1] << "\n";
  return 0;
}

const CommandRegistration kRender{
    {"render", "render FILE.tmr OUT.(png|svg|pdf) [--dpi N]  paint the page into a picture file", RunRender}};

}  // namespace
}  // namespace tracemont::cli
