// The desktop program: the main window on the document, or a print run
// from the command line.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/ui/main_frame.h"
#include "approx/plugin_host.h"
#include "model/editor_settings.h"
#include "model/main_doc.h"
#include "platform/app_settings.h"
#include "platform/page_output.h"

using namespace tracemont;

namespace {

int Fail(const QString& message) {
  std::fprintf(stderr, "tracemont: %s\n", qPrintable(message));
  return 2;
}

// --print and --print-to: open, print, quit; no window.
int PrintRun(CMainDoc& document, const QString& file, const QString& target) {
  const FileResult opened = document.Open(file.toStdString());
  if (!opened.ok) return Fail(QString::fromStdString(opened.message));
  if (target.endsWith(".pdf", Qt::CaseInsensitive)) {
    const QString error = RenderPageFile(document.Data(), target, 600);
    return error.isEmpty() ? 0 : Fail(error);
  }
  QPrinter printer(QPrinter::HighResolution);
  if (!target.isEmpty()) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(target);
    if (info.isNull()) return Fail(QStringLiteral("no printer named '%1'").arg(target));
    printer.setPrinterName(target);
  } else if (QPrinterInfo::defaultPrinter().isNull()) {
    return Fail(QStringLiteral("no default printer; use --print-to PRINTER or FILE.pdf"));
  }
  PrintPage(document.Data(), printer);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Velmora");
  QApplication::setApplicationName("Tracemont");
  QApplication::setApplicationVersion(TM_VERSION);
  const QString folder = QCoreApplication::applicationDirPath();
  SetProgramFolder(folder.toStdString());
  InstallPluginHost(folder.toStdString());

  QCommandLineParser parser;
  parser.setApplicationDescription("Tracemont: graphs into numbers, numbers into fitted curves.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("file", "A .tmr document to open.", "[file]");
  const QCommandLineOption print("print", "Print FILE on the default printer and quit.");
  const QCommandLineOption printTo("print-to", "Print FILE on PRINTER, or into PRINTER when it names a .pdf file, and quit.",
                                   "PRINTER|FILE.pdf");
  const QCommandLineOption screenshot("screenshot", "Show the window, save a picture of it to PNG and quit (for tests).",
                                      "PNG");
  parser.addOption(print);
  parser.addOption(printTo);
  parser.addOption(screenshot);
  if (!parser.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "tracemont: %s\n\n%s", qPrintable(parser.errorText()), qPrintable(parser.helpText()));
    return 2;
  }
  if (parser.isSet("help")) parser.showHelp(0);
  if (parser.isSet("version")) parser.showVersion();
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    std::fprintf(stderr, "tracemont: one file at a time\n\n%s", qPrintable(parser.helpText()));
    return 2;
  }

  CMainDoc document;
  if (parser.isSet(print) || parser.isSet(printTo)) {
    if (files.isEmpty()) return Fail("--print and --print-to need a FILE");
    return PrintRun(document, files.first(), parser.value(printTo));
  }

  AppSettings settings;
  CMainFrame frame(document, settings, folder);
  frame.ShowWithSavedPlacement();
  if (!files.isEmpty()) frame.OpenFile(files.first());

  if (parser.isSet(screenshot)) {
    const QString out = parser.value(screenshot);
    QTimer::singleShot(1500, &frame, [&frame, out] {
      QScreen* screen = frame.screen();
      const QPixmap shot = screen ? screen->grabWindow(frame.winId()) : frame.grab();
      const bool saved = (shot.isNull() ? frame.grab() : shot).save(out, "PNG");
      QCoreApplication::exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
