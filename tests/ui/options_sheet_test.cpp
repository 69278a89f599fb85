#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/ui/opt_page_axis.h"
#include "app/ui/opt_page_editor.h"
#include "app/ui/opt_page_format.h"
#include "app/ui/opt_page_size.h"
#include "app/ui/options_sheet.h"
#include "model/document_file.h"
#include "model/main_doc.h"
#include "model/text.h"

using namespace tracemont;

namespace {

// The document as its archive stores it: any change of a stored value
// changes these bytes.
QByteArray Stored(const CMainDoc& doc) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("doc.tmr").toStdString();
  if (!WriteSnapshotFile(path, doc.Data()).ok) return {};
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

// Values that the boxes show with fewer digits than stored, flags stored
// as values other than 1, and texts with line ends a text box would change.
void MakeAwkward(CMainDoc& doc) {
  DocumentData& d = doc.Data();
  d.inches = 1;
  d.title = "Run 7\r\nsecond line";
  d.comment = "Fitted by hand\r\n";
  d.indents[2].flag = 5;
  d.indents[3].factor = 1.23456789;
  d.axisX.scale.b = 0.123456789;
  d.axisX.scale.k = 0.0123456789;
  d.axisX.arrow = 7;
  d.axisY.scale.type = CAxeScale::kLogarithmic;
  d.axisY.scale.b = 3.14159265;
  d.axisY.scale.base = 10.000001;
  d.axisY.scale.direction = -3;
  d.axisY.band = 1.333333;
  d.visu.font.italic = 255;
  d.editor.pictureStretched = 9;
  d.editor.pictureFile = "/data/graphs/scan 12.png";
  doc.ApplyPageSize(2541, 1103);  // 10.004 x 4.343 inch: not exact in "%4.4g"
  doc.SetModified(false);
}

void TypeInto(QLineEdit& field, const QString& text) {
  field.selectAll();
  QTest::keyClicks(&field, text);
}

}  // namespace

class OptionsSheetTest : public QObject {
  Q_OBJECT

 private slots:
  void sheetsHaveTheirCaptionsAndPagesInOrder() {
    CMainDoc doc;
    COptionsSheet options(doc, COptionsSheet::Mode::PlotOptions);
    QCOMPARE(options.windowTitle(), QString("Plot options"));
    QStringList titles;
    for (int i = 0; i < options.PageCount(); ++i) titles << options.Tabs().tabText(i);
    QCOMPARE(titles, QStringList({"Page", "Axie X", "Axie Y", "Format", "Editor"}));

    COptionsSheet setup(doc, COptionsSheet::Mode::PageSetup);
    QCOMPARE(setup.windowTitle(), QString("Page Setup"));
    QCOMPARE(setup.PageCount(), 3);
    QCOMPARE(setup.Tabs().tabText(2), QString("Axie Y"));
  }

  void okWithoutEditsWritesBackExactlyWhatItShowed() {
    CMainDoc doc;
    MakeAwkward(doc);
    const QByteArray before = Stored(doc);
    QVERIFY(!before.isEmpty());

    COptionsSheet sheet(doc, COptionsSheet::Mode::PlotOptions);
    sheet.accept();
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(Stored(doc), before);
    QVERIFY(!doc.CanUndo());
    QVERIFY(!doc.IsModified());
  }

  void editedValuesApplyAsOneUndoStep() {
    CMainDoc doc;
    const CAxeScale x0 = doc.Data().axisX.scale;
    COptionsSheet sheet(doc, COptionsSheet::Mode::PlotOptions);
    auto* axis = sheet.FindPage<COptPageAxis>();
    auto* size = sheet.FindPage<COptPageSize>();
    auto* format = sheet.FindPage<COptPageFormat>();
    auto* editor = sheet.FindPage<COptPageEditor>();
    QVERIFY(axis && size && format && editor);
    TypeInto(axis->StartField(), "2.5");
    TypeInto(axis->InOneField(), "0,5");  // a decimal comma is read too
    TypeInto(size->WidthField(), "20.04");
    format->TextSizeBox(1).setValue(80);
    editor->StepBox().setValue(40);
    sheet.accept();

    const DocumentData& d = doc.Data();
    QCOMPARE(d.axisX.scale.b, 2.5);
    QCOMPARE(d.axisX.scale.k, 0.5);
    QCOMPARE(d.pageWidth, 2004);
    QCOMPARE(d.visu.textSizes[1], 80);
    QCOMPARE(d.editor.drawingStep, 40);
    QVERIFY(doc.IsModified());
    // The new page width reached the layout: the X axis is longer now.
    QVERIFY(d.axisX.Length() > x0.hi - x0.lo);

    QVERIFY(doc.Undo());
    QCOMPARE(doc.Data().axisX.scale.b, x0.b);
    QCOMPARE(doc.Data().axisX.scale.k, x0.k);
    QCOMPARE(doc.Data().pageWidth, 1500);
    QCOMPARE(doc.Data().visu.textSizes[1], 60);
    QCOMPARE(doc.Data().editor.drawingStep, 10);
    QVERIFY(!doc.CanUndo());
  }

  void cancelChangesNothing() {
    CMainDoc doc;
    MakeAwkward(doc);
    const QByteArray before = Stored(doc);
    COptionsSheet sheet(doc, COptionsSheet::Mode::PlotOptions);
    TypeInto(sheet.FindPage<COptPageAxis>()->StartField(), "99");
    sheet.FindPage<COptPageSize>()->SetInches(false);
    sheet.FindPage<COptPageEditor>()->RestoreDefaultStep();
    sheet.reject();
    QCOMPARE(Stored(doc), before);
    QVERIFY(!doc.CanUndo());
  }

  void unitSwitchReshowsSizesWithoutChangingThem() {
    CMainDoc doc;  // 1500 x 1100 (0.1 mm), centimetres, k = 1 per cm
    COptionsSheet sheet(doc, COptionsSheet::Mode::PageSetup);
    auto* size = sheet.FindPage<COptPageSize>();
    auto* axis = sheet.FindPage<COptPageAxis>();
    QCOMPARE(size->WidthField().text(), QString("  15"));
    QCOMPARE(axis->InOneField().text(), QString("   1"));

    size->SetInches(true);
    QCOMPARE(size->WidthField().text(), QString("5.906"));
    QCOMPARE(size->HeightField().text(), QString("4.331"));
    QCOMPARE(axis->InOneField().text(), QString("2.54"));
    size->SetInches(false);
    QCOMPARE(size->WidthField().text(), QString("  15"));
    size->SetInches(true);

    sheet.accept();
    QCOMPARE(doc.Data().inches, 1);
    QCOMPARE(doc.Data().pageWidth, 1500);
    QCOMPARE(doc.Data().pageHeight, 1100);
    QCOMPARE(doc.Data().axisX.scale.k, 1.0);
  }

  void endFollowsStartAndInOneInTheShownUnit() {
    CMainDoc doc;
    doc.Data().inches = 1;
    const double length = doc.Data().axisX.Length();  // cm
    COptionsSheet sheet(doc, COptionsSheet::Mode::PageSetup);
    auto* axis = sheet.FindPage<COptPageAxis>();
    TypeInto(axis->StartField(), "10");
    TypeInto(axis->InOneField(), "5.08");  // per inch: 2 per cm
    QCOMPARE(axis->EndText(), QString::fromStdString(FormatG(10 + 2 * length)));
    TypeInto(axis->InOneField(), "abc");
    QVERIFY(axis->EndText().isEmpty());
    QVERIFY(!axis->InOneField().IsValid());
    QVERIFY(!sheet.ApplyAll(false));  // nothing applied while a field is wrong
    QVERIFY(!doc.CanUndo());
  }
};

QTEST_MAIN(OptionsSheetTest)
#include "options_sheet_test.moc"
