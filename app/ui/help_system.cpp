#include "app/ui/help_system.h"

#include <QCursor>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <QWidget>
#include <QWizard>

namespace tracemont {

// The help window: a browser over the HTML pages with Back, Forward and
// Contents buttons. Top-level, so that it stays usable beside the plot, and
// it does not keep the program running once the main window is closed.
class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(const QString& htmlFolder) : index_(QUrl::fromLocalFile(htmlFolder + "/index.html")) {
    setWindowTitle(QStringLiteral("Tracemont Help"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* back = new QPushButton(QStringLiteral("Back"));
    auto* forward = new QPushButton(QStringLiteral("Forward"));
    auto* contents = new QPushButton(QStringLiteral("Contents"));
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addWidget(contents);
    bar->addStretch();
    layout->addLayout(bar);
    browser_ = new QTextBrowser;
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({htmlFolder});
    layout->addWidget(browser_);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] { browser_->setSource(index_); });
    resize(760, 620);
  }

  void Open(const QUrl& page) { browser_->setSource(page); }
  QUrl Page() const { return browser_->source(); }

 private:
  QUrl index_;
  QTextBrowser* browser_ = nullptr;
};

namespace {
HelpSystem* current = nullptr;  // process-wide by design: one help per program
}  // namespace

HelpSystem::HelpSystem(QString programFolder, QWidget* mainWindow)
    : folder_(QDir::cleanPath(programFolder)),
      mainWindow_(mainWindow),
      language_((folder_ + "/lang.lng").toStdString()),
      popups_(std::string()) {
  popups_.Repoint((folder_ + "/StrRes/HelpEnglish.lng").toStdString());
  current = this;
}

HelpSystem::~HelpSystem() {
  if (current == this) current = nullptr;
}

HelpSystem* HelpSystem::Current() { return current; }

void ShowDialogHelp(int dialogId) {
  if (HelpSystem* help = HelpSystem::Current()) help->ShowDialogHelp(dialogId);
}

void AddDialogHelp(QDialogButtonBox& buttons, int dialogId) {
  buttons.addButton(QDialogButtonBox::Help);
  QObject::connect(&buttons, &QDialogButtonBox::helpRequested, &buttons, [dialogId] { ShowDialogHelp(dialogId); });
}

void AddDialogHelp(QWizard& wizard, std::function<int()> dialogOfPage) {
  wizard.setOption(QWizard::HaveHelpButton, true);
  QObject::connect(&wizard, &QWizard::helpRequested, &wizard,
                   [dialogOfPage = std::move(dialogOfPage)] { ShowDialogHelp(dialogOfPage()); });
}

QString HelpSystem::TopicFile(int topicId) const {
  const QString name = topicId == 0 ? QStringLiteral("index.html") : QStringLiteral("topic-%1.html").arg(topicId);
  return folder_ + "/HTML/" + name;
}

bool HelpSystem::ShowTopic(int topicId) {
  QString file = TopicFile(topicId);
  if (!QFileInfo::exists(file)) file = TopicFile(0);
  if (!QFileInfo::exists(file)) return false;
  if (!window_) {
    window_ = std::make_unique<HelpWindow>(folder_ + "/HTML");
    if (mainWindow_) window_->move(mainWindow_->geometry().topLeft() + QPoint(40, 40));
  }
  window_->Open(QUrl::fromLocalFile(file));
  window_->show();
  window_->raise();
  window_->activateWindow();
  return true;
}

QUrl HelpSystem::ShownPage() const { return window_ ? window_->Page() : QUrl(); }

QString HelpSystem::PopupText(std::uint32_t id, std::span<const HelpPair> table) const {
  const auto textId = HelpTextId(table, id);
  if (!textId) return {};
  return QString::fromStdString(popups_.String(*textId)).trimmed();
}

bool HelpSystem::ShowPopup(QWidget* owner, QPoint globalPos, std::uint32_t id,
                           std::span<const HelpPair> table) const {
  const QString text = PopupText(id, table);
  if (text.isEmpty()) return false;
  QWhatsThis::showText(globalPos, text, owner);
  return true;
}

bool HelpSystem::ShowCommandHelp(QWidget* owner, int commandId) const {
  return ShowPopup(owner, QCursor::pos(), static_cast<std::uint32_t>(commandId), CommandHelpTable());
}

QString HelpSystem::WhatsThisText(int commandId) const {
  return PopupText(static_cast<std::uint32_t>(commandId), CommandHelpTable());
}

}  // namespace tracemont
