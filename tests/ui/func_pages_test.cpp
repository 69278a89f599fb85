// The fitting wizard driven through its pages on known points, as a user
// clicks it: the kinds, Recalc and its table, Preview, plug-ins, Finish and
// Cancel. Set TM_GRAB_DIR to keep a picture of every page shown.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/ui/main_frame.h"
#include "app/ui/number_field.h"
#include "approx/plugin_host.h"
#include "approx/ui/func_pages.h"
#include "approx/ui/method_pictures.h"
#include "model/main_doc.h"
#include "model/plot_objects.h"
#include "platform/app_settings.h"

using namespace tracemont;

namespace {

std::vector<DotValue> Line() {  // y = 1.5 + 2x
  std::vector<DotValue> points;
  for (int i = 0; i < 12; ++i) points.emplace_back(i, 1.5 + 2.0 * i);
  return points;
}

std::vector<DotValue> Circle() {
  std::vector<DotValue> points;
  for (int i = 0; i < 40; ++i) {
    const double t = 2 * M_PI * i / 40;
    points.emplace_back(5 + 3 * std::cos(t), 5 + 3 * std::sin(t));
  }
  return points;
}

// One wizard on a fresh document, with messages and clipboard recorded.
struct Session {
  CMainDoc doc;
  CApproxDriver driver;
  std::vector<std::string> messages;
  std::string clipboard;
  CFuncPages wizard{driver, {}, nullptr};
  int grabbed = 0;
  QString name;

  explicit Session(QString caseName, const std::vector<DotValue>& points = Line())
      : driver(&doc, points, {}, 0, 32853), name(std::move(caseName)) {
    driver.showMessage = [this](const std::string& t) { messages.push_back(t); };
    driver.putClipboard = [this](const std::string& t) { clipboard = t; };
    wizard.show();
    Grab();
  }
  void Grab() {
    const QString dir = qEnvironmentVariable("TM_GRAB_DIR");
    if (!dir.isEmpty())
      wizard.grab().save(QDir(dir).filePath(QString("%1_%2.png").arg(name).arg(grabbed++)));
  }
  void Next() {
    wizard.next();
    Grab();
  }
  template <class T>
  T* Find(const QString& objectName) {
    return wizard.currentPage()->findChild<T*>(objectName);
  }
  void Click(const QString& text) {
    for (auto* b : wizard.currentPage()->findChildren<QAbstractButton*>())
      if (b->text() == text && b->isVisibleTo(wizard.currentPage())) {
        b->click();
        return;
      }
    QFAIL(qPrintable("no button " + text));
  }
  QStringList Columns() {
    QTreeWidget* t = Find<QTreeWidget>("CoefficientTable");
    QStringList titles;
    for (int i = 0; i < t->columnCount(); ++i) titles << t->headerItem()->text(i);
    return titles;
  }
  void Finish() {
    wizard.button(QWizard::FinishButton)->click();
    driver.Finish();
  }
};

}  // namespace

class FuncPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void pagesShowTitlesAndDirectionTexts();
  void regressionRecalcFillsTableAndFinishMakesOneFunction();
  void everyKindFitsFromThePages_data();
  void everyKindFitsFromThePages();
  void bestChoosesTheExponentialForm();
  void pieceLinearShowsStepColumnsAndPointsNumber();
  void nonLinearRecalcRoundsAndPreviewDrawsTypedParameters();
  void formulaButtonsAppendTheirPieces();
  void userDefinedWithGradus();
  void userDefinedWithoutPluginShowsMessage();
  void cancelAfterRecalcsLeavesNothing();
  void copyAndFormulaButtonsFollowTheLastRecalc();
  void picturesHaveTheirSize();
  void functionCommandsNeedASelectedArea();
};

void FuncPagesTest::pagesShowTitlesAndDirectionTexts() {
  Session s("direction");
  QCOMPARE(s.wizard.currentPage()->title(), QString("Approximation line (step 1 of 5)"));
  QCOMPARE(s.Find<NumberField>("XMax")->Value(), 11.0);
  QCOMPARE(s.Find<NumberField>("YMin")->Value(), 1.5);
  s.Find<QRadioButton>("XofY")->click();
  s.Next();
  QCOMPARE(s.wizard.currentPage()->title(), QString("Approximation line (step 2 of 5)"));
  QCOMPARE(s.Find<QGroupBox>("KindGroup")->title(), QString("Choose function X = f( Y ) :"));
  s.Next();
  s.Next();
  QCOMPARE(s.Find<QLineEdit>("FormulaText")->text(),
           QString("Polynomial      X(Y) = a0 + a1*Y + a2*Y^2 + ..."));
  s.Next();
  QCOMPARE(s.wizard.currentPage()->title(), QString("Approximation line (step 5 of 5)"));
  QVERIFY(!s.Find<QPushButton>("FormulaButton")->isEnabled());
}

void FuncPagesTest::regressionRecalcFillsTableAndFinishMakesOneFunction() {
  Session s("regression");
  s.Next();
  s.Next();
  s.Next();
  s.Click("Recalc");
  s.Grab();
  QCOMPARE(s.Columns(), QStringList({"n", "An"}));
  QCOMPARE(s.Find<QTreeWidget>("CoefficientTable")->topLevelItemCount(), 2);
  QCOMPARE(s.clipboard, std::string("n\tAn\r\n0\t 1,5\r\n1\t   2\r\n"));
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
  // A changed degree without Recalc: Finish keeps the Recalc vector.
  s.Find<QSpinBox>("Degree")->setValue(3);
  s.Next();
  QVERIFY(s.Find<QPushButton>("FormulaButton")->isEnabled());
  s.Find<QSpinBox>("Width")->setValue(0);
  s.Finish();
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
  const CPlotFunc& f = *s.doc.Functions().front();
  QCOMPARE(StoredInt(f.params[2]), 1);
  QCOMPARE(f.lineWidth, 1);
  QVERIFY(s.messages.empty());
}

void FuncPagesTest::everyKindFitsFromThePages_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<int>("method");
  QTest::addColumn<bool>("closedCurve");
  QTest::newRow("logistic") << "Logistic function" << method::kLogistic1 << false;
  QTest::newRow("fourier") << "Fourier" << method::kFourier << false;
  QTest::newRow("neural") << "Neural network" << method::kNeural1 << false;
  QTest::newRow("spline") << "Closed spline" << method::kClosedSpline << true;
  QTest::newRow("sections") << "Sections" << method::kSections << false;
}

void FuncPagesTest::everyKindFitsFromThePages() {
  QFETCH(QString, kind);
  QFETCH(int, method);
  QFETCH(bool, closedCurve);
  Session s(QString(QTest::currentDataTag()), closedCurve ? Circle() : Line());
  s.Next();
  s.Click(kind);
  s.Next();
  s.Next();
  s.Click("Recalc");
  s.Grab();
  if (method == method::kNeural1 && !s.messages.empty()) {
    // A network that does not converge says so and leaves no preview.
    QVERIFY(s.messages[0].rfind("The number of iterations had appeared poor", 0) == 0);
    QVERIFY(s.doc.Functions().empty());
    return;
  }
  QVERIFY(s.messages.empty());
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
  QCOMPARE(MethodOf(s.doc.Functions().front()->params), method);
  s.Next();
  s.Finish();
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
}

void FuncPagesTest::bestChoosesTheExponentialForm() {
  CMainDoc doc;
  std::vector<DotValue> points;
  for (int i = 1; i <= 10; ++i) points.emplace_back(i, std::exp(0.3 * i));
  CApproxDriver driver(&doc, points, {}, 0, 32853);
  std::vector<int> topics;
  CFuncPages wizard(driver, [&](int topic) { topics.push_back(topic); }, nullptr);
  wizard.show();
  wizard.next();
  wizard.next();
  wizard.button(QWizard::HelpButton)->click();
  QCOMPARE(topics, std::vector<int>{159});  // every page opens the wizard's topic
  for (auto* b : wizard.currentPage()->findChildren<QRadioButton*>())
    if (b->text() == "Best") b->click();
  wizard.next();
  wizard.currentPage()->findChild<QPushButton*>("Recalc")->click();
  QCOMPARE(doc.Functions().size(), std::size_t(1));
  QCOMPARE(MethodOf(doc.Functions().front()->params), method::kExponential);
  wizard.reject();
  QVERIFY(doc.Functions().empty());
}

void FuncPagesTest::pieceLinearShowsStepColumnsAndPointsNumber() {
  Session s("piecelinear");
  s.Next();
  s.Click("Piece linear");
  QCOMPARE(s.wizard.currentPage()->findChild<QLabel*>("Picture")->property("pictureId").toInt(),
           picture::kPieceLinear);
  s.Next();
  QCOMPARE(s.Find<QLineEdit>("Description")->text(), QString("Piece linear"));
  s.Next();
  QCOMPARE(s.Find<QLineEdit>("PointsNumber")->text(), QString("12"));
  QSpinBox* steps = s.Find<QSpinBox>("Steps");
  QVERIFY(steps->isVisibleTo(s.wizard.currentPage()));
  // 20 steps may be typed, but the arrows stop at the number of points.
  QCOMPARE(steps->value(), 20);
  steps->stepBy(1);
  QCOMPARE(steps->value(), 12);
  steps->setValue(20);
  QVERIFY(!s.Find<QSpinBox>("Degree")->isVisibleTo(s.wizard.currentPage()));
  s.Click("Recalc");
  s.Grab();
  QCOMPARE(s.Columns(), QStringList({"X from", "X to", "Y"}));
  QCOMPARE(s.Find<QTreeWidget>("CoefficientTable")->topLevelItemCount(), 12);
  s.Next();
  s.Finish();
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
  QCOMPARE(MethodOf(s.doc.Functions().front()->params), method::kPieceLinear);
}

void FuncPagesTest::nonLinearRecalcRoundsAndPreviewDrawsTypedParameters() {
  Session s("nonlinear");
  s.Next();
  s.Click("Non-linear");
  s.Next();
  QVERIFY(!s.Find<QLineEdit>("Description")->isVisibleTo(s.wizard.currentPage()));
  s.Find<NumberField>("FormulaParam_a")->SetValue(1.0);
  s.Next();
  QVERIFY(!s.Find<QLineEdit>("PointsNumber")->isVisibleTo(s.wizard.currentPage()));
  QCOMPARE(s.Find<NumberField>("IterationParam_0")->Value(), 1.0);
  // While it iterates, "Error of calculus" counts the iterations.
  QStringList shown;
  QObject::connect(s.Find<QLineEdit>("ErrorOfCalculus"), &QLineEdit::textChanged,
                   [&](const QString& text) { shown << text; });
  s.Click("Recalc");
  QVERIFY(!shown.filter(QRegularExpression("^\\d+/500$")).isEmpty());
  s.Grab();
  QVERIFY(std::abs(s.Find<NumberField>("IterationParam_0")->Value() - 1.5) < 0.011);
  QVERIFY(std::abs(s.Find<NumberField>("IterationParam_1")->Value() - 2.0) < 0.011);
  QCOMPARE(s.clipboard, s.driver.fields.formulaText);
  const std::string formulaText = s.driver.fields.formulaText;

  s.wizard.back();
  s.Find<NumberField>("FormulaParam_a")->SetValue(7.0);
  s.Find<NumberField>("FormulaParam_b")->SetValue(0.0);
  s.Click("Preview");
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
  QVERIFY(std::abs(EvalFunction(s.doc.Functions().front()->params, 3.0) - 7.0) < 1e-9);
  QCOMPARE(s.driver.fields.formulaText, formulaText);
  s.wizard.reject();
  QVERIFY(s.doc.Functions().empty());
}

void FuncPagesTest::formulaButtonsAppendTheirPieces() {
  Session s("buttons");
  s.Next();
  s.Click("Non-linear");
  s.Next();
  auto* formula = s.Find<QLineEdit>("Formula");
  const std::vector<std::pair<QString, QString>> cases{
      {"+", "+ "},  {"u^v", "^ "},  {"u^2", "^2 "}, {"pi", "pi "},
      {"sqr", "sqrt(u) "}, {"log", "log(u) "}, {"tan", "tan(u) "},
      {"Add", "abs(u) "},  // the first entry of "Functions:"
      {"a", " a "},       {"d", " d "}};
  for (const auto& [button, piece] : cases) {
    const QString before = formula->text();
    s.Click(button);
    QCOMPARE(formula->text(), before + piece);
    QCOMPARE(formula->cursorPosition(), formula->text().size());
  }
  s.wizard.reject();
}

void FuncPagesTest::userDefinedWithGradus() {
  InstallPluginHost(QCoreApplication::applicationDirPath().toStdString());
  Session s("gradus");
  s.Next();
  s.Click("User defined function");
  s.Next();
  QListWidget* list = s.Find<QListWidget>("PluginList");
  QVERIFY(list->isVisibleTo(s.wizard.currentPage()));
  QVERIFY(list->count() >= 1);
  s.Next();
  s.Click("Recalc");
  s.Grab();
  QVERIFY(s.messages.empty());
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
  QCOMPARE(MethodOf(s.doc.Functions().front()->params), method::kPlugin);
  s.wizard.reject();
  InstallPluginHost("");
}

void FuncPagesTest::userDefinedWithoutPluginShowsMessage() {
  QTemporaryDir empty;
  InstallPluginHost(empty.path().toStdString());
  Session s("noplugin");
  s.Next();
  s.Click("User defined function");
  s.Next();
  QVERIFY(!s.Find<QListWidget>("PluginList")->isVisibleTo(s.wizard.currentPage()));
  s.Next();
  s.Click("Recalc");
  QCOMPARE(s.messages.size(), std::size_t(1));
  QVERIFY(s.messages[0].rfind("User defined function is absent.", 0) == 0);
  QVERIFY(s.doc.Functions().empty());
  InstallPluginHost("");

  // The table was hidden on the way in (no formula text); once another kind
  // fills it, its columns share the table's real width.
  s.wizard.back();
  s.wizard.back();
  s.Click("Piece linear");
  s.Next();
  s.Next();
  s.Click("Recalc");
  s.Grab();
  QTreeWidget* table = s.Find<QTreeWidget>("CoefficientTable");
  QVERIFY(table->isVisible());
  for (int column = 0; column < 3; ++column)
    QVERIFY2(table->columnWidth(column) > table->width() / 4, qPrintable(QString::number(column)));
}

void FuncPagesTest::cancelAfterRecalcsLeavesNothing() {
  Session s("cancel");
  s.Next();
  s.Next();
  s.Next();
  for (int degree : {1, 2, 3}) {
    s.Find<QSpinBox>("Degree")->setValue(degree);
    s.Click("Recalc");
  }
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
  s.wizard.reject();
  QVERIFY(s.doc.Functions().empty());
  QVERIFY(!s.doc.IsModified());
}

void FuncPagesTest::copyAndFormulaButtonsFollowTheLastRecalc() {
  Session s("copy");
  s.Next();
  s.Next();
  s.Next();
  // The copy button recalculates, then the formula text replaces the table.
  s.Find<QToolButton>("CopyFormula")->click();
  QCOMPARE(s.doc.Functions().size(), std::size_t(1));
  QCOMPARE(s.clipboard, s.driver.fields.formulaText);
  QVERIFY(s.clipboard.find("1.5") != std::string::npos);  // the point is kept
  s.Next();
  auto* name = s.Find<QLineEdit>("Name");
  QCOMPARE(name->text().toStdString(), s.driver.fields.formulaText);
  name->setText("typed");
  s.Click("Formula");
  QCOMPARE(name->text().toStdString(), s.driver.fields.formulaText);
  // Back to step 4 forgets the computation: Formula waits for a new Recalc.
  s.wizard.back();
  QVERIFY(!s.driver.Computed());
  s.Next();
  QVERIFY(!s.Find<QPushButton>("FormulaButton")->isEnabled());
  s.wizard.reject();
  QVERIFY(s.doc.Functions().empty());
}

void FuncPagesTest::picturesHaveTheirSize() {
  for (int id : {301, 302, 303, 304, 305, 319, 320, 321, 322}) {
    const QPixmap p = MethodPicture(id);
    QCOMPARE(p.size(), QSize(128, 168));
    const QString dir = qEnvironmentVariable("TM_GRAB_DIR");
    if (!dir.isEmpty()) p.save(QDir(dir).filePath(QString("picture_%1.png").arg(id)));
  }
}

void FuncPagesTest::functionCommandsNeedASelectedArea() {
  QTemporaryDir dir;
  AppSettings settings(dir.filePath("settings.ini"));
  CMainDoc doc;
  doc.NewSeriesFromValues(Line(), SeriesStyle{}, 2, std::nullopt);
  CMainFrame frame(doc, settings, QCoreApplication::applicationDirPath());
  frame.resize(1000, 700);
  frame.show();
  QVERIFY(!frame.Action(32875)->isEnabled());
  QVERIFY(!frame.Action(32874)->isEnabled());
  QCOMPARE(frame.Action(32875)->statusTip(),
           QString("Build aproximation function on all selected points"));
  QCOMPARE(frame.Action(32874)->toolTip(), QString("Function on Colored Points"));
  // "Approximation..." sits in the Points menu; the colour-filtered fit is
  // for the view's context menu only.
  QStringList menusWithFit, menusWithColouredFit;
  for (QAction* entry : frame.menuBar()->actions()) {
    const QMenu* menu = entry->menu();
    if (!menu) continue;
    if (menu->actions().contains(frame.Action(32875))) menusWithFit << menu->title();
    if (menu->actions().contains(frame.Action(32874))) menusWithColouredFit << menu->title();
  }
  QCOMPARE(menusWithFit, QStringList{"&Points"});
  QVERIFY(menusWithColouredFit.isEmpty());

  CPlotClip* area = doc.NewArea(32853, 32781);
  const std::vector<DotValue> corners{{-1, -1}, {-1, 30}, {12, 30}, {12, -1}};
  for (std::size_t i = 0; i < corners.size(); ++i) area->AddValue(corners[i], i + 1 == corners.size());
  doc.ToggleAreaSelection(*area);
  doc.RecountSelectedAreas();
  QVERIFY(frame.Action(32875)->isEnabled());

  bool walked = false;
  QTimer::singleShot(0, [&] {
    auto* wizard = dynamic_cast<CFuncPages*>(QApplication::activeModalWidget());
    if (!wizard) return;
    QCOMPARE(wizard->Driver().fields.points, 12);
    for (int i = 0; i < 4; ++i) wizard->next();
    walked = true;
    wizard->button(QWizard::FinishButton)->click();
  });
  frame.Action(32875)->trigger();
  QVERIFY(walked);
  QCOMPARE(doc.Functions().size(), std::size_t(1));
  const QString grab = qEnvironmentVariable("TM_GRAB_DIR");
  if (!grab.isEmpty()) frame.grab().save(QDir(grab).filePath("frame.png"));

  // A selected area without points: the message, no wizard.
  doc.ToggleAreaSelection(*area);
  CPlotClip* empty = doc.NewArea(32853, 32781);
  const std::vector<DotValue> far{{100, 100}, {100, 200}, {200, 200}, {200, 100}};
  for (std::size_t i = 0; i < far.size(); ++i) empty->AddValue(far[i], i + 1 == far.size());
  doc.ToggleAreaSelection(*empty);
  doc.RecountSelectedAreas();
  QString message;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      message = box->text();
      box->close();
    }
  });
  frame.Action(32875)->trigger();
  QCOMPARE(message, QString("There are no points in areas selected"));
  QCOMPARE(doc.Functions().size(), std::size_t(1));
}

QTEST_MAIN(FuncPagesTest)
#include "func_pages_test.moc"
