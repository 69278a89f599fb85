#include <QtTest>

#include "app/ui/scales_window.h"
#include "model/main_doc.h"

using namespace tracemont;

namespace {

// X: linear, 2 value units per cm, tick step 1.5 cm. Y: logarithmic, base
// 10, tick step 0.5 cm, starting at 1.
void SetUpAxes(CMainDoc& doc) {
  CPlaneAxe& x = doc.Data().axisX;
  x.scale.k = 2.0;
  x.scale.b = 0.0;
  x.tickStep = 1.5;
  CPlaneAxe& y = doc.Data().axisY;
  y.scale.type = CAxeScale::kLogarithmic;
  y.scale.base = 10.0;
  y.scale.b = 1.0;
  y.tickStep = 0.5;
  doc.ChangedWithOutlines();
}

}  // namespace

class ScalesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void arrowKeysShiftByOneTickStepEachAsOneUndoStep() {
    struct Case {
      Qt::Key key;
      double xStart;  // X start after the key
      double yStart;  // Y start after the key
    };
    const double tenthRoot = std::sqrt(10.0);  // base^(tick step)
    const Case cases[] = {
        {Qt::Key_Left, 3.0, 1.0},
        {Qt::Key_Up, 0.0, 1.0 / tenthRoot},
        {Qt::Key_Right, -3.0, 1.0},
        {Qt::Key_Down, 0.0, tenthRoot},
    };
    for (const Case& c : cases) {
      CMainDoc doc;
      SetUpAxes(doc);
      CScalesWindow window(doc);
      window.show();
      QTest::keyClick(&window.XSlider(), c.key);  // whatever has the focus
      QCOMPARE(doc.Data().axisX.scale.b, c.xStart);
      QVERIFY(qFuzzyCompare(doc.Data().axisY.scale.b, c.yStart));
      QVERIFY(doc.Undo());
      QCOMPARE(doc.Data().axisX.scale.b, 0.0);
      QCOMPARE(doc.Data().axisY.scale.b, 1.0);
      QVERIFY(!doc.CanUndo());
    }
  }

  void slidersZoomFromTheCapturedScaleKeepingTheMiddle() {
    CMainDoc doc;
    SetUpAxes(doc);
    CScalesWindow window(doc);
    window.show();
    const CPlaneAxe& x = doc.Data().axisX;
    const double middle = x.Length() / 2;
    const double valueAtMiddle = x.scale.ToValue(middle);

    window.XSlider().setValue(12);
    QCOMPARE(x.scale.k, 4.0);
    QVERIFY(qFuzzyCompare(x.scale.ToValue(middle), valueAtMiddle));
    window.XSlider().setValue(5);  // relative to the captured 2, not to 4
    QCOMPARE(x.scale.k, 1.0);
    QVERIFY(qFuzzyCompare(x.scale.ToValue(middle), valueAtMiddle));

    window.YSlider().setValue(12);
    QCOMPARE(doc.Data().axisY.scale.base, 12.0);
    QCOMPARE(doc.Data().axisY.scale.type, int(CAxeScale::kLogarithmic));
    window.YSlider().setValue(5);
    QCOMPARE(doc.Data().axisY.scale.base, 5.5);  // (10 - 1) x 0.5 + 1

    int undoSteps = 0;
    while (doc.Undo()) ++undoSteps;
    QCOMPARE(undoSteps, 4);
    QCOMPARE(doc.Data().axisX.scale.k, 2.0);
    QCOMPARE(doc.Data().axisY.scale.base, 10.0);
  }

  void restorePutsBackTheScalesCapturedWhenShown() {
    CMainDoc doc;
    SetUpAxes(doc);
    CScalesWindow window(doc);
    window.show();
    QTest::keyClick(&window, Qt::Key_Left);
    QTest::keyClick(&window, Qt::Key_Down);
    window.XSlider().setValue(15);
    window.YSlider().setValue(3);
    window.Restore();
    QCOMPARE(doc.Data().axisX.scale.k, 2.0);
    QCOMPARE(doc.Data().axisX.scale.b, 0.0);
    QCOMPARE(doc.Data().axisY.scale.base, 10.0);
    QCOMPARE(doc.Data().axisY.scale.b, 1.0);
    QCOMPARE(window.XSlider().value(), 10);
    QCOMPARE(window.YSlider().value(), 10);

    // Shown again later: the scales of that moment are the new reference.
    window.hide();
    doc.Data().axisX.scale.k = 3.0;
    window.show();
    QCOMPARE(window.XSlider().value(), 10);
    window.XSlider().setValue(12);
    QCOMPARE(doc.Data().axisX.scale.k, 6.0);
    window.Restore();
    QCOMPARE(doc.Data().axisX.scale.k, 3.0);
  }
};

QTEST_MAIN(ScalesWindowTest)
#include "scales_window_test.moc"
