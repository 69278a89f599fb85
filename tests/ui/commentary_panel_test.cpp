#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include "acquire/canvas.h"
#include "app/ui/commentary_panel.h"
#include "model/main_doc.h"

using namespace tracemont;

class CommentaryPanelTest : public QObject {
  Q_OBJECT

 private:
  struct Fixture {
    CMainDoc doc;
    CanvasHost host;
    CCanvas canvas{doc, host};
    std::vector<Rect> repaints;
    CCommentaryPanel panel{doc, canvas, [this](const Rect& r) { repaints.push_back(r); }, nullptr};
    CPlotText* text = doc.NewCommentary({200, -200}, Rgb(255, 0, 0));
    Fixture() { panel.Load(*text, {300, 300}); }
  };

 private slots:
  void anEmptyCommentaryIsShownWithTheTextTest() {
    Fixture f;
    QCOMPARE(f.text->text, std::string("TEST"));
    QCOMPARE(f.panel.TextBox()->toPlainText(), QString("TEST"));
    QVERIFY(f.panel.isVisible());
  }

  void onlyTheCentredPositionEnablesTheOrientation() {
    Fixture f;
    for (int i = 0; i < 5; ++i) {
      f.panel.PositionButton(i)->click();
      QCOMPARE(f.text->position, i);
      QCOMPARE(f.panel.AngleBox()->isEnabled(), i == CPlotText::kCentred);
    }
  }

  void liveChangesAreWrittenAndUndoneAsOneStep() {
    Fixture f;
    f.panel.SizeBox()->setValue(80);
    f.panel.PositionButton(2)->click();
    f.panel.AngleBox()->setValue(45);
    QCOMPARE(f.text->textSize, 80);
    QCOMPARE(f.text->angle, 45);
    QVERIFY(!f.repaints.empty());
    QVERIFY(f.doc.Undo());
    QCOMPARE(f.doc.Commentaries().front()->textSize, 50);
  }

  void inputSetsTheTypedTextAndAnEmptyTextRemovesTheCommentary() {
    Fixture f;
    f.panel.TextBox()->setPlainText("two\nlines");
    f.panel.Input();
    QCOMPARE(f.text->text, std::string("two\r\nlines"));
    QVERIFY(f.doc.Undo());
    QCOMPARE(f.doc.Commentaries().front()->text, std::string("TEST"));

    f.panel.Load(*f.doc.Commentaries().front(), {0, 0});
    f.panel.TextBox()->clear();
    f.panel.Input();
    QVERIFY(f.doc.Commentaries().empty());
    QVERIFY(!f.panel.isVisible());
  }

  void drawItNowArmsPathDrawingOnlyInDrawTextModeAndUntickingKeepsThePath() {
    Fixture f;
    QVERIFY(!f.panel.DrawItNowButton()->isEnabled());
    f.panel.DrawTextBox()->click();
    QVERIFY(f.panel.DrawItNowButton()->isEnabled());
    QCOMPARE(f.text->drawText, 1);
    f.panel.DrawItNow();
    QVERIFY(f.canvas.PathDrawing());
    f.text->AddPoint({100, -300});
    f.text->AddPoint({150, -300});
    const int points = f.text->PointCount();
    f.panel.DrawTextBox()->click();
    QVERIFY(!f.panel.DrawItNowButton()->isEnabled());
    QVERIFY(!f.canvas.PathDrawing());
    QCOMPARE(f.text->drawText, 0);
    QCOMPARE(f.text->PointCount(), points);
    if (const QByteArray out = qgetenv("TM_PANEL_SHOT"); !out.isEmpty()) f.panel.grab().save(QString::fromUtf8(out));
  }
};

QTEST_MAIN(CommentaryPanelTest)
#include "commentary_panel_test.moc"
