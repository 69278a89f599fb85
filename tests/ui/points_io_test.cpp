#include <QtTest>

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "app/ui/points_editor.h"
#include "app/ui/points_export_dialogs.h"
#include "app/ui/points_table.h"
#include "app/ui/read_pages.h"
#include "model/main_doc.h"

using namespace tracemont;

namespace {

CPlotDot* AddSeries(CMainDoc& doc, const std::vector<DotValue>& values) {
  return doc.NewSeriesFromValues(values, SeriesStyle{}, source::kRead, std::string("s"));
}

// Moves the wizard on by one page, as the Next button does.
void Next(QWizard& wizard) { wizard.next(); }

}  // namespace

class PointsIoTest : public QObject {
  Q_OBJECT

 private slots:
  void tableMarksBadAndOutOfRangeCellsOnlyWhileTheChecksAreOn() {
    CPointsTableModel model(3);
    model.SetRows({{"1.5", "abc", ""}, {"12", "2", "x"}});
    model.SetRanges({{0, 10, 1}});
    model.SetCheckRanges(true);
    struct Case {
      int row, column;
      bool red, yellow;
    } cases[] = {{0, 1, false, false}, {0, 2, true, false}, {0, 3, false, false},
                 {1, 1, false, true},  {1, 3, true, false}};
    for (const Case& c : cases) {
      QCOMPARE(model.IsNumberError(c.row, c.column), c.red);
      QCOMPARE(model.IsOutOfRange(c.row, c.column), c.yellow);
    }
    QCOMPARE(model.data(model.index(0, 2), Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));
    model.SetCheckNumbers(false);
    model.SetCheckRanges(false);
    QVERIFY(!model.data(model.index(0, 2), Qt::BackgroundRole).isValid());
    QVERIFY(!model.data(model.index(1, 1), Qt::BackgroundRole).isValid());
  }

  void tableNumbersRowsAndKeepsOneEmptyRowAfterDeletingAll() {
    CTableList table(3);
    int asked = 0;
    table.SetConfirm([&](const QString& text) {
      ++asked;
      return text.startsWith("2 lines were selected.");
    });
    table.Model().SetRows({{"1", "2", "3"}, {"4", "5", "6"}});
    QCOMPARE(table.PasteText("7\t8,5\t9\r\n"), 1);
    QCOMPARE(table.Model().data(table.Model().index(2, 0), Qt::DisplayRole).toString(), QString("3"));
    QCOMPARE(table.Model().RowFields(2), (std::vector<std::string>{"7", "8.5", "9"}));
    table.selectRow(0);
    QCOMPARE(table.PasteText("0 0 0"), 1);  // before the selected row
    QCOMPARE(table.Model().RowFields(0).front(), std::string("0"));
    QCOMPARE(table.Model().RowFields(1).front(), std::string("1"));

    table.selectAll();
    QCOMPARE(table.DeleteSelected(), 0);  // 4 rows: the confirmation says no
    table.clearSelection();
    table.selectionModel()->select(table.Model().index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table.selectionModel()->select(table.Model().index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(table.DeleteSelected(), 2);
    QCOMPARE(table.Model().rowCount(), 2);
    table.SetConfirm([](const QString&) { return true; });
    table.selectAll();
    table.DeleteSelected();
    QCOMPARE(table.Model().rowCount(), 1);
    QCOMPARE(table.Model().RowFields(0), (std::vector<std::string>{"", "", ""}));
    QCOMPARE(table.Model().data(table.Model().index(0, 0), Qt::DisplayRole).toString(), QString("1"));
    QVERIFY(asked >= 2);
  }

  void copiedRowsPasteBackWithDecimalPoints() {
    CTableList from(3);
    from.Model().SetRows({{"1.5", "2", ""}});
    from.selectAll();
    QCOMPARE(from.CopySelected(1), 1);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("1,5\t2\t\r\n"));
    CTableList to(3);
    QCOMPARE(to.Paste(), 1);
    QCOMPARE(to.Model().RowFields(0), (std::vector<std::string>{"1.5", "2", ""}));
  }

  void wizardOnATypedTableMakesAScaledSeriesInRange() {
    CMainDoc doc;
    CReadPages wizard(doc, ClipboardSource("X\tY\n1\t10\n2\t20\n3\t30\n").value(), {cmd::kRedPoints, 0, 10});
    wizard.show();
    QCOMPARE(wizard.firstLine->value(), 2);
    QVERIFY(!wizard.Table().Model().ReadOnly());
    wizard.Table().Model().setData(wizard.Table().Model().index(3, 2), "40", Qt::EditRole);
    Next(wizard);
    QCOMPARE(wizard.currentId(), 1);
    QCOMPARE(wizard.Collected().size(), std::size_t(3));
    QCOMPARE(wizard.range[1]->text(), QString("   3"));
    QCOMPARE(wizard.range[3]->text(), QString("  40"));
    wizard.fromRange->setChecked(true);
    wizard.range[0]->setText("2");
    wizard.multiplyX->setText("-3");  // taken as 0
    wizard.multiplyY->setText("2");
    wizard.recalc->setChecked(true);
    Next(wizard);
    QCOMPARE(wizard.currentId(), 2);
    QCOMPARE(wizard.Kept().size(), std::size_t(2));
    QCOMPARE(wizard.finalAxis[3]->text(), QString("  80"));
    wizard.aspect->setText("25");
    wizard.accept();
    CPlotDot* series = wizard.Outcome().series;
    QVERIFY(series);
    QCOMPARE(series->source, source::kRead);
    QCOMPARE(series->name, std::string("Data from Clipboard"));
    QCOMPARE(series->aspect, 10.0);
    QCOMPARE(series->ColourCommand(), cmd::kRedPoints);
    QCOMPARE(series->Values().size(), std::size_t(2));
    QCOMPARE(series->Values()[1].x, 0.0);
    QCOMPARE(series->Values()[1].y, 80.0);
  }

  void textDialogPreviewsAtMost500PointsAndWritesAll() {
    CMainDoc doc;
    std::vector<DotValue> values;
    for (int i = 0; i < 600; ++i) values.emplace_back(i, i);
    AddSeries(doc, values);
    QTemporaryDir dir;
    const QString path = dir.filePath("p.txt");
    CPointsTextDialog dialog(doc, cmd::kBlackPoints, path);
    QCOMPARE(dialog.PreviewText().count('\n'), 502);  // names, units, 500 points
    QVERIFY(dialog.Write().ok);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count('\n'), 602);
  }

  void copyPointsTextLeavesTheClipboardAloneWithoutPoints() {
    CMainDoc doc;
    QGuiApplication::clipboard()->setText("keep");
    QCOMPARE(CopyPointsText(doc, 0, nullptr, true, false), 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("keep"));
    CPlotDot* series = AddSeries(doc, {{1.5, 2, 1}});
    series->SelectPoint(0);
    QCOMPARE(CopyPointsText(doc, 0, nullptr, true, false), 1);
    QVERIFY(QGuiApplication::clipboard()->text().endsWith(" 1,500\t 2,000\t1\r\n"));
  }

  void editorKeepsFourDigitsOnOkAndChangesNothingOnCancel() {
    CMainDoc doc;
    CPlotDot* series = AddSeries(doc, {{3.14159, 1, 0}, {12, 2, 5}, {4, 4, 4}});
    {
      CPointsEditor editor(series, 0, 10, 0, 10);
      CPointsTableModel& model = editor.Table().Model();
      QCOMPARE(model.rowCount(), 3);
      QCOMPARE(model.data(model.index(2, 0), Qt::DisplayRole).toString(), QString("3"));
      QVERIFY(model.IsOutOfRange(1, 1));  // X = 12 beyond 0..10
      editor.rangeCheck->setChecked(false);
      QVERIFY(!model.IsOutOfRange(1, 1));
      model.setData(model.index(2, 1), "", Qt::EditRole);
      editor.reject();
    }
    QCOMPARE(series->Values().size(), std::size_t(3));
    QCOMPARE(series->Values()[0].x, 3.14159);
    {
      CPointsEditor editor(series, 0, 10, 0, 10);
      CPointsTableModel& model = editor.Table().Model();
      model.setData(model.index(2, 1), "", Qt::EditRole);  // X empty: (0, 4, 0), Z needs all three cells
      editor.accept();
    }
    QCOMPARE(series->Values().size(), std::size_t(3));
    QCOMPARE(series->Values()[0].x, 3.142);
    QCOMPARE(series->Values()[1].x, 12.0);
    QCOMPARE(series->Values()[2].x, 0.0);
    QCOMPARE(series->Values()[2].z, 0.0);
  }
};

QTEST_MAIN(PointsIoTest)
#include "points_io_test.moc"
