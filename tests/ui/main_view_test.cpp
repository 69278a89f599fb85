#include <QMenu>
#include <QTimer>
#include <QtTest>

#include "app/ui/canvas_cursors.h"
#include "app/ui/main_view.h"
#include "model/main_doc.h"

using namespace tracemont;

class MainViewTest : public QObject {
  Q_OBJECT

 private:
  struct Fixture {
    CMainDoc doc;
    DrawingSettings settings;
    CMainView view{doc};
    Fixture() {
      view.SetSettingsSource([this] { return settings; });
      view.resize(700, 560);
      view.show();
    }
    QPoint At(Point plot) const { return view.ToViewport(plot); }
    void Drag(const std::vector<Point>& path, Qt::KeyboardModifiers modifiers = {}) {
      QWidget* port = view.viewport();
      QTest::mousePress(port, Qt::LeftButton, modifiers, At(path.front()));
      for (std::size_t i = 1; i < path.size(); ++i) {
        QMouseEvent move(QEvent::MouseMove, At(path[i]), port->mapToGlobal(At(path[i])), Qt::NoButton,
                         Qt::LeftButton, modifiers);
        QApplication::sendEvent(port, &move);
      }
      QTest::mouseRelease(port, Qt::LeftButton, modifiers, At(path.back()));
    }
  };

 private slots:
  void theContextMenuDisablesWhatTheFrameCannotCarryOut() {
    Fixture f;
    // A series with a selected point, so that the point commands are on.
    CPlotDot* s = f.doc.NewSeriesFromValues({DotValue(1, 1), DotValue(2, 2)}, {cmd::kRedPoints}, source::kRead,
                                            std::nullopt);
    s->SelectPoint(0);
    f.settings.colour = cmd::kRedPoints;
    f.view.SetCommandAvailability([](int id) { return id != 33300 && id != 32796; });
    QMap<QString, bool> enabled;
    QTimer::singleShot(0, [&] {
      QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (const QAction* action : menu->actions())
        if (!action->isSeparator()) enabled[action->text()] = action->isEnabled();
      menu->close();
    });
    QTest::mousePress(f.view.viewport(), Qt::RightButton, {}, QPoint(40, 500));
    QVERIFY(!enabled.isEmpty());
    QCOMPARE(enabled.value("Copy all selected points"), true);
    QCOMPARE(enabled.value("Transformation through all selected points"), false);
    QCOMPARE(enabled.value("Build function on formula"), false);
    QCOMPARE(enabled.value("Function through all selected points"), false);  // no area selected
  }

  void mouseGesturesOnTheViewDrawSeriesAndAreasUndoably() {
    Fixture f;
    f.settings.tool = tool::kDropPoints;
    f.settings.colour = cmd::kBluePoints;
    std::vector<Point> path;
    for (int x = 150; x <= 300; x += 15) path.push_back({x, -150 - (x - 150) / 3});
    f.Drag(path);
    QCOMPARE(f.doc.Series().size(), std::size_t{1});
    QVERIFY(f.doc.Series().front()->PointCount() >= 8);
    QCOMPARE(f.doc.Series().front()->ColourCommand(), cmd::kBluePoints);

    f.settings.tool = tool::kRectArea;
    f.view.Canvas().ToolChanged();
    f.Drag({{140, -140}, {250, -200}, {320, -260}});
    QCOMPARE(f.doc.Areas().size(), std::size_t{1});
    QVERIFY(f.doc.Areas().front()->Bounds().Normalized().Contains({300, -240}));
    QCOMPARE(f.view.viewport()->cursor().shape(), Qt::BitmapCursor);

    if (const QByteArray out = qgetenv("TM_VIEW_SHOT"); !out.isEmpty()) f.view.grab().save(QString::fromUtf8(out));

    QVERIFY(f.doc.Undo());
    QVERIFY(f.doc.Areas().empty());
    QVERIFY(f.doc.Undo());
    QVERIFY(f.doc.Series().empty());
  }

  void theMagnifierShowsItsCursorWhileArmed() {
    Fixture f;
    f.view.Canvas().MagnifierCommand();
    QTest::mouseMove(f.view.viewport(), f.At({200, -200}));
    const QCursor cursor = f.view.viewport()->cursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), CanvasCursorPicture(CanvasCursor::kMagnifier).hotSpot());
    f.view.Canvas().MagnifierCommand();
    QTest::mouseMove(f.view.viewport(), f.At({210, -200}));
    QCOMPARE(f.view.viewport()->cursor().shape(), Qt::ArrowCursor);
  }
};

QTEST_MAIN(MainViewTest)
#include "main_view_test.moc"
