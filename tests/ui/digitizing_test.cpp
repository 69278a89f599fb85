#include <QAction>
#include <QLabel>
#include <QPixmap>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "acquire/ui/digitizing.h"
#include "acquire/ui/dlg_digit.h"
#include "app/ui/main_frame.h"
#include "app/ui/plot_bar.h"
#include "model/colours.h"
#include "model/main_doc.h"
#include "platform/app_settings.h"
#include "platform/border_window.h"
#include "platform/picture_loader.h"
#include "render/page_painter.h"

using namespace tracemont;

class DigitizingTest : public QObject {
  Q_OBJECT

 private slots:
  void limitsDialogMarksOnlyEditedLimitsAsChanged() {
    DigitLimits limits;
    limits.xMin = 0.1;
    limits.xMax = 2.0 / 3.0;  // more digits than a box shows
    limits.step = 10;
    {
      CDlgDigit dialog(limits);
      dialog.accept();
      QVERIFY(!dialog.Limits().changed);
      QCOMPARE(dialog.Limits().xMax, 2.0 / 3.0);  // exact, not the shown text
      QCOMPARE(dialog.Limits().oldXMax, 2.0 / 3.0);
    }
    {
      CDlgDigit dialog(limits);
      auto* yMax = dialog.findChild<QLineEdit*>("YMax");
      QVERIFY(yMax);
      yMax->selectAll();
      QTest::keyClicks(yMax, "5");
      dialog.findChild<QSpinBox*>("Step")->setValue(30);
      dialog.accept();
      if (const QString grab = qEnvironmentVariable("TM_GRAB_DIR"); !grab.isEmpty())
        dialog.grab().save(QDir(grab).filePath("limits_dialog.png"));
      QVERIFY(dialog.Limits().changed);
      QCOMPARE(dialog.Limits().yMax, 5.0);
      QCOMPARE(dialog.Limits().oldYMax, 1.0);
      QCOMPARE(dialog.Limits().step, 30);
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    {
      CDlgDigit dialog(limits);
      auto* xMin = dialog.findChild<QLineEdit*>("XMin");
      xMin->selectAll();
      QTest::keyClicks(xMin, "abc");
      QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
      });
      dialog.accept();  // refused: not a number
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
      auto* step = dialog.findChild<QSpinBox*>("Step");
      QCOMPARE(step->maximum(), DigitLimits::kMaxStep);  // may be typed
      step->setValue(49);
      step->stepBy(5);
      QCOMPARE(step->value(), 50);  // the arrows stop at 50
    }
  }

  void pictureDigitizingTracesTheShownPictureInsideTheSelectedArea() {
    QTemporaryDir dir;
    PixelBuffer picture = PixelBuffer::Filled(200, 100);
    for (int x = 10; x < 190; ++x) picture.Set(x, 50, Rgb(255, 0, 0));
    const QString file = dir.filePath("curve.png");
    QVERIFY(ToImage(picture).save(file));

    CMainDoc doc;
    doc.Data().editor.pictureFile = file.toStdString();
    doc.Data().editor.pictureShown = 1;
    doc.Data().editor.pictureStretched = 1;
    CPlotClip* area = doc.NewAreaAt({0, 0}, cmd::kRedPoints, cmd::kRectArea);
    area->SetCorner({300, -400}, true);
    QVERIFY(!CanDigitizePicture(doc));
    doc.ToggleAreaSelection(*area);
    doc.RecountSelectedAreas();
    QVERIFY(CanDigitizePicture(doc));

    CPlotDot* series = DigitizePicture(doc, {cmd::kRedPoints, cmd::kRoundPoints, 10}, 96, 96, nullptr);
    QVERIFY(series);
    QCOMPARE(series->name, std::string("curve.png"));
    QCOMPARE(series->source, source::kDigitized);
    // Stretched over the page, row 50 of 100 is the page's middle (one
    // picture row is 4.3 units high).
    const int middle = PageRectOf(doc.Data()).bottom / 2;
    for (const Point p : series->Outline()) {
      QVERIFY2(std::abs(p.y - middle) <= 6, std::to_string(p.y).c_str());
      QVERIFY(p.x <= 300);
    }

    doc.Data().editor.pictureShown = 0;
    QVERIFY(!CanDigitizePicture(doc));
    QVERIFY(!BackgroundPicture::Instance().For(doc.Data().editor));
    doc.Data().editor.pictureShown = 1;
    doc.Data().editor.pictureFile = dir.filePath("drawing.wmf").toStdString();
    QVERIFY(!BackgroundPicture::Instance().For(doc.Data().editor));

    // The same file name read again after the file changed (a reopened
    // document, a picture made after it was first missed) shows the new one.
    const QString later = dir.filePath("later.png");
    doc.Data().editor.pictureFile = later.toStdString();
    QVERIFY(!BackgroundPicture::Instance().For(doc.Data().editor));
    QVERIFY(ToImage(PixelBuffer::Filled(40, 30)).save(later));
    const QtPicture* first = BackgroundPicture::Instance().For(doc.Data().editor);
    QVERIFY(first);
    QCOMPARE(first->PixelSize().cx, 40);
    QVERIFY(ToImage(PixelBuffer::Filled(80, 30)).save(later));
    QCOMPARE(BackgroundPicture::Instance().For(doc.Data().editor)->PixelSize().cx, 80);
  }

  void jpegCompressionNoiseDoesNotMoveTheTracedLine() {
    QTemporaryDir dir;
    PixelBuffer picture = PixelBuffer::Filled(300, 200);
    for (int x = 0; x < 300; x += 30)  // light grid
      for (int y = 0; y < 200; ++y) picture.Set(x, y, Rgb(220, 220, 220));
    const auto line = [](int x) { return 160 - x / 3; };
    for (int x = 10; x < 290; ++x) picture.Set(x, line(x), Rgb(0, 0, 255));
    const QString file = dir.filePath("line.jpg");
    QVERIFY(ToImage(picture).save(file, "JPG", 75));
    const PixelBuffer read = ToPixelBuffer(LoadPictureFile(file.toStdString()));
    QCOMPARE(read.width, 300);
    const auto values = DigitizeImage(read, cmd::kBluePoints, {{{0, 0}, {300, 0}, {300, 200}, {0, 200}}},
                                      0, 300, 0, 200, 10, 96);
    QVERIFY(values.size() > 100);
    for (const DotValue& v : values) {
      const double column = v.x, row = 200 - v.y;  // back to pixels
      QVERIFY2(std::abs(row - (160 - column / 3)) <= 1.5 + 1.0 / 3, (std::to_string(column) + " " + std::to_string(row)).c_str());
    }
  }

  void pictureCommandRunsThroughTheLimitsDialogOnlyWhenItCanWork() {
    QTemporaryDir dir;
    PixelBuffer picture = PixelBuffer::Filled(200, 100);
    for (int x = 10; x < 190; ++x) picture.Set(x, 50, Rgb(0, 0, 0));
    const QString file = dir.filePath("scan.bmp");
    QVERIFY(ToImage(picture).save(file));
    AppSettings settings(dir.filePath("settings.ini"));
    CMainDoc doc;
    doc.Data().editor.pictureFile = file.toStdString();
    CMainFrame frame(doc, settings, QCoreApplication::applicationDirPath());
    frame.resize(1000, 700);
    frame.show();
    // A colour chosen before any border window exists tells no other window.
    frame.PlotBar()->SelectColour(cmd::kBluePoints);
    frame.PlotBar()->SelectColour(cmd::kBlackPoints);
    QAction* fromPicture = frame.Action(32816);
    QVERIFY(!fromPicture->isEnabled());
    CPlotClip* area = doc.NewAreaAt({0, 0}, cmd::kRedPoints, cmd::kRectArea);
    area->SetCorner({500, -400}, true);
    doc.ToggleAreaSelection(*area);
    doc.RecountSelectedAreas();
    QVERIFY(!fromPicture->isEnabled());  // the picture is not shown yet
    frame.Action(32884)->trigger();
    QVERIFY(fromPicture->isEnabled());
    QVERIFY(frame.Action(32817)->isEnabled());

    for (const bool accept : {false, true}) {
      bool dialogSeen = false;
      QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CDlgDigit*>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialogSeen = true;
        accept ? dialog->accept() : dialog->reject();
      });
      fromPicture->trigger();
      QVERIFY(dialogSeen);
      QCOMPARE(doc.Series().size(), std::size_t(accept ? 1 : 0));
    }
    QCOMPARE(doc.Series().front()->name, std::string("scan.bmp"));
    const QString grab = qEnvironmentVariable("TM_GRAB_DIR");
    if (!grab.isEmpty()) frame.grab().save(QDir(grab).filePath("digitized.png"));
  }

  void screenDigitizingTracesThePickedColourUnderTheBorderWindow() {
    // A graph on the screen: a red line on white, 200 pixels wide.
    QLabel graph;
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 50; x < 250; ++x) image.setPixel(x, 120, qRgb(255, 0, 0));
    graph.setPixmap(QPixmap::fromImage(image));
    graph.setWindowFlag(Qt::FramelessWindowHint);
    graph.move(100, 100);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    QWidget view;
    BorderWindow& border = OpenBorderWindow(view, cmd::kRedPoints, [] {});
    border.setGeometry(QRect(graph.mapToGlobal(QPoint(0, 0)), graph.size())
                           .adjusted(-BorderWindow::kBorder, -BorderWindow::kStrip, BorderWindow::kBorder,
                                     BorderWindow::kBorder));
    QVERIFY(QTest::qWaitForWindowExposed(&border));
    QTest::qWait(50);
    border.StartPicking();
    if (!border.IsPicking()) QSKIP("this platform cannot read the screen");
    border.PickAt({100, 120});
    if (border.PickedColour() != Rgb(255, 0, 0)) QSKIP("this platform does not show the window below");

    CMainDoc doc;
    CPlotDot* series =
        DigitizeScreen(doc, {cmd::kBlackPoints, cmd::kRoundPoints, 20}, border.FramedRect(), *border.PickedColour(), nullptr);
    QVERIFY(series);
    QCOMPARE(series->name, std::string("Screen"));
    // The axes' ranges over the frame: the line's row 120 of 200 from the top.
    const CPlaneAxe& y = doc.Data().axisY;
    const double yMin = y.scale.ToValue(0.0), yMax = y.scale.ToValue(y.Length());
    for (const DotValue& v : series->Values())
      QVERIFY(std::abs(v.y - MapLinear(120, 0, 200, yMax, yMin)) <= std::abs(yMax - yMin) / 100);
  }

  void borderWindowFramesTheRectangleAndPicksAFrozenPixel() {
    QWidget view;
    view.resize(400, 300);
    BorderWindow& border = OpenBorderWindow(view, cmd::kBluePoints, [] {});
    QCOMPARE(&border, FindBorderWindow(view));
    QCOMPARE(border.FramedRect().size(), QSize(400, 300));
    if (const QString grab = qEnvironmentVariable("TM_GRAB_DIR"); !grab.isEmpty())
      border.grab().save(QDir(grab).filePath("border_window.png"));
    QVERIFY(!border.PickedColour());
    // Outside the pick mode a pixel cannot be picked.
    border.PickAt({5, 5});
    QVERIFY(!border.PickedColour());
    QCOMPARE(LineColourOfCommand(cmd::kBrownPoints), Rgb(165, 42, 42));
  }
};

QTEST_MAIN(DigitizingTest)
#include "digitizing_test.moc"
