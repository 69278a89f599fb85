#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "app/ui/help_system.h"

using namespace tracemont;

namespace {

void WriteFile(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

// The program's own data folder in the source tree.
QString SourceDataFolder() { return QStringLiteral(TM_SOURCE_DIR "/data"); }

}  // namespace

class HelpSystemTest : public QObject {
  Q_OBJECT

 private slots:
  void popupTextsFollowTheTableLookupRules() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("StrRes/HelpEnglish.lng"),
              "[Strings]\n11102=Click an object to see its values.\n11500=First line|second line\n");
    WriteFile(dir.filePath("lang.lng"), "[Main]\nlang=Deutsch\n");
    const HelpSystem help(dir.path());
    QCOMPARE(QString::fromStdString(help.Language()), QString("Deutsch"));

    // Two commands sharing a text show the same pop-up.
    QCOMPARE(help.WhatsThisText(32814), QString("Click an object to see its values."));
    QCOMPARE(help.WhatsThisText(32815), help.WhatsThisText(32814));
    QCOMPARE(help.WhatsThisText(33300), QString("First line\nsecond line"));

    // Nothing, silently: an id not in the table, a text missing from the
    // file, a row with text id 0, a row after the end of the table.
    QVERIFY(help.WhatsThisText(4242).isEmpty());
    QVERIFY(!help.ShowPopup(nullptr, {10, 10}, 4242, CommandHelpTable()));
    QVERIFY(help.WhatsThisText(57600).isEmpty());
    const HelpPair table[] = {{7, 0}, {0, 0}, {8, 11102}};
    QVERIFY(help.PopupText(7, table).isEmpty());
    QVERIFY(help.PopupText(8, table).isEmpty());
  }

  void topicsOpenTheirPageOrTheIndexAndMissingHelpIsSilent() {
    QTemporaryDir dir;
    HelpSystem help(dir.path());
    QVERIFY(help.TopicFile(0).endsWith("/HTML/index.html"));
    QVERIFY(help.TopicFile(182).endsWith("/HTML/topic-182.html"));
    QVERIFY(!help.ShowTopic(182));  // no pages at all
    QVERIFY(help.ShownPage().isEmpty());
    QCOMPARE(QString::fromStdString(help.Language()), QString("???"));

    WriteFile(dir.filePath("HTML/index.html"), "<html><body>Contents</body></html>");
    WriteFile(dir.filePath("HTML/topic-182.html"), "<html><body>Plot options</body></html>");
    QVERIFY(help.ShowDialogHelp(188));  // "Axie X" page: plot options topic
    QVERIFY(help.ShownPage().toLocalFile().endsWith("topic-182.html"));
    QVERIFY(help.ShowTopic(999));  // no such page: the index
    QVERIFY(help.ShownPage().toLocalFile().endsWith("index.html"));
  }

  void aDialogsHelpButtonOpensItsTopicThroughTheProgramsHelp() {
    ShowDialogHelp(164);  // no help system yet: nothing happens
    QTemporaryDir dir;
    WriteFile(dir.filePath("HTML/index.html"), "<html><body>Contents</body></html>");
    WriteFile(dir.filePath("HTML/topic-146.html"), "<html><body>Points in and out</body></html>");
    {
      HelpSystem help(dir.path());
      QCOMPARE(HelpSystem::Current(), &help);
      QDialogButtonBox buttons(QDialogButtonBox::Ok);
      AddDialogHelp(buttons, 145);
      buttons.button(QDialogButtonBox::Help)->click();
      QVERIFY(help.ShownPage().toLocalFile().endsWith("topic-146.html"));
    }
    QCOMPARE(HelpSystem::Current(), nullptr);
    ShowDialogHelp(164);
  }

  void shippedHelpCoversEveryCommandAndDialogTopic() {
    const HelpSystem help(SourceDataFolder());
    for (const HelpPair& row : CommandHelpTable()) {
      if (row.id == 0) break;
      QVERIFY2(!help.WhatsThisText(static_cast<int>(row.id)).isEmpty(), qPrintable(QString::number(row.id)));
    }
    for (int dialog = 100; dialog < 300; ++dialog) {
      const QString page = help.TopicFile(HelpTopicForDialog(dialog));
      QVERIFY2(QFileInfo::exists(page), qPrintable(page));
    }
  }
};

QTEST_MAIN(HelpSystemTest)
#include "help_system_test.moc"
