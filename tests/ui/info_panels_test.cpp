#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWizard>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include "acquire/object_panels.h"
#include "app/ui/info_panels.h"
#include "approx/func_params.h"
#include "model/main_doc.h"

using namespace tracemont;

class InfoPanelsTest : public QObject {
  Q_OBJECT

 private slots:
  void functionWidthIsStoredClampedAndShownAsStored() {
    struct Case {
      int typed;
      int shown;
    };
    CMainDoc doc;
    FuncParams p(12, 0.0);
    p[0] = method::kPolynomial;
    CPlotFunc* f = doc.NewFunction(p, {DotValue(0, 0), DotValue(0, 5), DotValue(10, 5), DotValue(10, 0)}, {});
    QVERIFY(f);
    CInfoPanels panels(doc, [] { return Rect{0, 0, 500, -400}; }, nullptr);
    QVERIFY(panels.FunctionPanel().Bind(f->id, {100, 100}));
    for (const Case c : {Case{0, 1}, Case{250, 100}, Case{30, 30}}) {
      panels.FunctionPanel().WidthField()->setValue(c.typed);
      QCOMPARE(f->lineWidth, LineWidthToPlot(c.shown));
      QCOMPARE(panels.FunctionPanel().WidthField()->value(), c.shown);
    }
    // Every edit of one binding is one undo step.
    QVERIFY(doc.Undo());
    QCOMPARE(doc.Functions().front()->lineWidth, 1);
  }

  void transformOnTheFunctionPanelReplacesTheFunctionByTheSeriesOfItsCurve() {
    CMainDoc doc;
    FuncParams p(12, 0.0);
    p[0] = method::kPolynomial;
    CPlotFunc* f = doc.NewFunction(p, {DotValue(0, 0), DotValue(0, 5), DotValue(10, 5), DotValue(10, 0)}, {});
    QVERIFY(f);
    CInfoPanels panels(doc, [] { return Rect{0, 0, 500, -400}; }, nullptr);
    panels.FunctionPanel().SetDrawingDefaults([] { return ReadDefaults{cmd::kRedPoints, 32844, 10}; });
    QVERIFY(panels.FunctionPanel().Bind(f->id, {100, 100}));
    // The wizard is modal: walk it to the end once it is up.
    bool walked = false;
    QTimer::singleShot(0, [&] {
      auto* wizard = qobject_cast<QWizard*>(QApplication::activeModalWidget());
      if (!wizard) return;
      wizard->next();
      wizard->next();
      walked = true;
      wizard->accept();
    });
    panels.FunctionPanel().ConvertToSeries();
    QVERIFY(walked);
    QVERIFY(doc.Functions().empty());
    QCOMPARE(doc.Series().size(), std::size_t(1));
    QCOMPARE(doc.Series().front()->name, std::string("Convert function to series of points"));
    QVERIFY(doc.Series().front()->PointCount() > 2);
    QVERIFY(!panels.FunctionPanel().isVisible());
  }

  void anAreaOfThreePointsDisablesApplyAndFunction() {
    CMainDoc doc;
    CPlotClip* area = doc.NewArea(cmd::kRedPoints, cmd::kIrregularArea);
    area->spacingCheck = 0;
    for (const Point p : {Point{100, -100}, Point{300, -100}, Point{300, -300}}) area->AddPoint(p);
    area->FinishEdit();
    CInfoPanels panels(doc, {}, nullptr);
    QVERIFY(panels.AreaPanel().Bind(area->id, {100, 100}));
    QVERIFY(!panels.AreaPanel().ApplyButton()->isEnabled());
    QVERIFY(!panels.AreaPanel().FunctionButton()->isEnabled());
  }

  void removingThreeSelectedRowsKeepsTheOtherPoints() {
    CMainDoc doc;
    std::vector<DotValue> records;
    for (int i = 0; i < 5; ++i) records.emplace_back(i, i, i);
    CPlotDot* s = doc.NewSeriesFromValues(records, {}, source::kRead, std::nullopt);
    CInfoPanels panels(doc, {}, nullptr);
    CDotsInfo& panel = panels.SeriesPanel();
    QVERIFY(panel.Bind(s->id, {100, 100}));
    QCOMPARE(panel.ValueList()->topLevelItemCount(), 5);
    for (const int row : {0, 2, 3}) panel.ValueList()->topLevelItem(row)->setSelected(true);
    panel.RemoveSelectedRows(false);
    QCOMPARE(s->PointCount(), 2);
    QCOMPARE(s->Values()[0].x, 1.0);
    QCOMPARE(s->Values()[1].x, 4.0);
    QCOMPARE(panel.ValueList()->topLevelItemCount(), 2);
  }

  void aPanelBindsOnlyObjectsOfItsClassAndHidesWhenItsObjectGoes() {
    CMainDoc doc;
    CPlotClip* area = doc.NewArea(cmd::kRedPoints, cmd::kRectArea);
    CInfoPanels panels(doc, {}, nullptr);
    QVERIFY(!panels.SeriesPanel().Bind(area->id, {0, 0}));
    QVERIFY(!panels.SeriesPanel().isVisible());
    QVERIFY(panels.AreaPanel().Bind(area->id, {0, 0}));
    QVERIFY(panels.AreaPanel().isVisible());
    doc.RemoveObject(area);
    QVERIFY(!panels.AreaPanel().isVisible());
    if (const QByteArray out = qgetenv("TM_PANEL_SHOT"); !out.isEmpty()) {
      CPlotDot* s = doc.NewSeries({200, -200}, {}, source::kDropped, std::string("Series 1"), true);
      panels.SeriesPanel().Bind(s->id, {0, 0});
      panels.SeriesPanel().grab().save(QString::fromUtf8(out));
    }
  }
};

QTEST_MAIN(InfoPanelsTest)
#include "info_panels_test.moc"
