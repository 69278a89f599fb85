#include <QTemporaryDir>
#include <QtTest>

#include "platform/app_settings.h"

using tracemont::AppSettings;
using tracemont::WindowPlacement;

class AppSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void windowPlacementRoundTripsAndBadValuesAreIgnored() {
    QTemporaryDir dir;
    const QString ini = dir.filePath("settings.ini");
    {
      AppSettings settings(ini);
      QVERIFY(!settings.WindowPos().has_value());
      settings.SetWindowPos({2, 3, -1, -1, -8, -8, 10, 20, 810, 620});
    }
    AppSettings again(ini);
    QVERIFY(again.WindowPos().has_value());
    QCOMPARE(again.WindowPos()->showCommand, 3u);
    QCOMPARE(again.WindowPos()->right, 810);

    QSettings raw(ini, QSettings::IniFormat);
    raw.setValue("Settings/WindowPos", "2,3,0,0");
    raw.sync();
    QVERIFY(!AppSettings(ini).WindowPos().has_value());
  }

  void recentFilesKeepTheLastTenMostRecentFirst() {
    QTemporaryDir dir;
    AppSettings settings(dir.filePath("settings.ini"));
    for (int i = 0; i < 12; ++i) settings.AddRecentFile(dir.filePath(QString("plot%1.tmr").arg(i)));
    QStringList files = settings.RecentFiles();
    QCOMPARE(files.size(), 10);
    QVERIFY(files.first().endsWith("plot11.tmr"));
    QVERIFY(files.last().endsWith("plot2.tmr"));
    settings.AddRecentFile(dir.filePath("plot5.tmr"));
    files = settings.RecentFiles();
    QCOMPARE(files.size(), 10);
    QVERIFY(files.first().endsWith("plot5.tmr"));
    settings.RemoveRecentFile(dir.filePath("plot5.tmr"));
    QCOMPARE(settings.RecentFiles().size(), 9);
  }
};

QTEST_GUILESS_MAIN(AppSettingsTest)
#include "app_settings_test.moc"
