#include "app/ui/options_sheet.h"

#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "app/help_texts.h"
#include "app/ui/opt_page_axis.h"
#include "app/ui/opt_page_editor.h"
#include "app/ui/opt_page_format.h"
#include "app/ui/opt_page_size.h"

namespace tracemont {

COptionsSheet::COptionsSheet(CMainDoc& doc, Mode mode, QWidget* parent) : QDialog(parent), doc_(doc) {
  setWindowTitle(mode == Mode::PlotOptions ? QStringLiteral("Plot options") : QStringLiteral("Page Setup"));
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget;
  layout->addWidget(tabs_);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
  layout->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
  connect(buttons_, &QDialogButtonBox::helpRequested, this, &COptionsSheet::ShowHelp);
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, &COptionsSheet::ShowHelp);
  SetHelpHandler({});

  const DocumentData& data = doc_.Data();
  auto sizePage = std::make_unique<COptPageSize>(data);
  connect(sizePage.get(), &COptPageSize::UnitChanged, this, &COptionsSheet::BroadcastUnit);
  AddPage(std::move(sizePage), QStringLiteral("Page"));
  AddPage(std::make_unique<COptPageAxis>(data, 0), QStringLiteral("Axie X"));
  AddPage(std::make_unique<COptPageAxis>(data, 1), QStringLiteral("Axie Y"));
  if (mode == Mode::PlotOptions) {
    AddPage(std::make_unique<COptPageFormat>(data), QStringLiteral("Format"));
    AddPage(std::make_unique<COptPageEditor>(data), QStringLiteral("Editor"));
  }
}

void COptionsSheet::AddPage(std::unique_ptr<OptionsPage> page, const QString& title) {
  if (!page) return;
  tabs_->addTab(page.release(), title);  // the tab widget parents and owns the page
}

void COptionsSheet::SetHelpHandler(HelpHandler handler) {
  help_ = std::move(handler);
  buttons_->button(QDialogButtonBox::Help)->setEnabled(static_cast<bool>(help_));
}

OptionsPage* COptionsSheet::Page(int index) const { return qobject_cast<OptionsPage*>(tabs_->widget(index)); }

void COptionsSheet::ShowHelp() {
  const OptionsPage* page = Page(tabs_->currentIndex());
  if (help_ && page) help_(HelpTopicForDialog(page->DialogId()));
}

void COptionsSheet::BroadcastUnit(bool inches) {
  for (int i = 0; i < PageCount(); ++i)
    if (OptionsPage* page = Page(i)) page->ShowUnit(inches);
}

bool COptionsSheet::ApplyAll(bool report) {
  for (int i = 0; i < PageCount(); ++i) {
    const OptionsPage* page = Page(i);
    if (!page) continue;
    if (const auto problem = page->Validate()) {
      tabs_->setCurrentIndex(i);
      problem->field->setFocus();
      if (report) QMessageBox::warning(this, windowTitle(), problem->message);
      return false;
    }
  }

  DocumentData& data = doc_.Data();
  OptionsPage::Impact impact = OptionsPage::Impact::None;
  for (int i = 0; i < PageCount(); ++i)
    if (const OptionsPage* page = Page(i)) impact = std::max(impact, page->Pending(data));
  if (impact == OptionsPage::Impact::None) return true;

  // One undo step for the whole sheet. A snapshot that cannot be written
  // costs the undo step, not the user's edits.
  doc_.Checkpoint();
  for (int i = 0; i < PageCount(); ++i)
    if (const OptionsPage* page = Page(i)) page->Apply(data);

  switch (impact) {
    case OptionsPage::Impact::PageSize:
      doc_.ApplyPageSize(data.pageWidth, data.pageHeight);
      break;
    case OptionsPage::Impact::Outlines: {
      // Lays the page out again (bands and positions may have changed) and
      // recomputes every object's outline.
      const CAxeScale x = data.axisX.scale;
      const CAxeScale y = data.axisY.scale;
      doc_.SetAxisScales(x, y);
      break;
    }
    case OptionsPage::Impact::Redraw:
      doc_.Changed();
      break;
    case OptionsPage::Impact::None:
      break;
  }
  return true;
}

void COptionsSheet::accept() {
  if (ApplyAll()) QDialog::accept();
}

}  // namespace tracemont
