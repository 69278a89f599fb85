#include "app/ui/commentary_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QGuiApplication>
#include <QSpinBox>
#include <QVBoxLayout>

#include "acquire/canvas.h"
#include "app/ui/colour_button.h"
#include "model/main_doc.h"

namespace tracemont {

CCommentaryPanel::CCommentaryPanel(CMainDoc& document, CCanvas& canvas, std::function<void(const Rect&)> repaint,
                                   QWidget* parent)
    : QDialog(parent), doc_(document), canvas_(canvas), repaint_(std::move(repaint)) {
  setWindowTitle(tr("Commentary"));
  setModal(false);
  text_ = new QPlainTextEdit(this);
  text_->setMinimumHeight(80);
  size_ = new QSpinBox(this);
  size_->setRange(0, 100);
  angle_ = new QSpinBox(this);
  angle_->setRange(0, 360);
  textColour_ = new ColourButton(tr("Color"), this);
  backColour_ = new ColourButton(tr("Background"), this);
  background_ = new QCheckBox(tr("Bg"), this);
  shadow_ = new QCheckBox(tr("Shadow"), this);
  drawText_ = new QCheckBox(tr("Draw text"), this);
  visible_ = new QCheckBox(tr("Visible"), this);

  auto* indent = new QGroupBox(tr("Indent:"), this);
  auto* indentLayout = new QGridLayout(indent);
  auto* group = new QButtonGroup(this);
  // Upper left, upper right, centre, lower right, lower left, placed as they lie.
  const std::array<QPoint, 5> cells{QPoint(0, 0), QPoint(0, 2), QPoint(1, 1), QPoint(2, 2), QPoint(2, 0)};
  for (int i = 0; i < 5; ++i) {
    positions_[static_cast<std::size_t>(i)] = new QRadioButton(indent);
    group->addButton(positions_[static_cast<std::size_t>(i)], i);
    indentLayout->addWidget(positions_[static_cast<std::size_t>(i)], cells[static_cast<std::size_t>(i)].x(),
                            cells[static_cast<std::size_t>(i)].y());
  }

  auto* values = new QGridLayout;
  values->addWidget(new QLabel(tr("Size"), this), 0, 0);
  values->addWidget(size_, 0, 1);
  values->addWidget(new QLabel(tr("0.1 mm"), this), 0, 2);
  values->addWidget(new QLabel(tr("Orientation"), this), 1, 0);
  values->addWidget(angle_, 1, 1);
  values->addWidget(new QLabel(tr("grad"), this), 1, 2);
  values->addWidget(new QLabel(tr("Color"), this), 2, 0);
  values->addWidget(textColour_, 2, 1);
  values->addWidget(background_, 3, 0);
  values->addWidget(backColour_, 3, 1);
  values->addWidget(shadow_, 4, 0);
  values->addWidget(visible_, 4, 1);
  values->addWidget(drawText_, 5, 0);

  auto* middle = new QHBoxLayout;
  middle->addLayout(values);
  middle->addWidget(indent);

  auto* buttons = new QHBoxLayout;
  const auto button = [&](const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  QPushButton* input = button(tr("Input"));
  QPushButton* remove = button(tr("Remove"));
  QPushButton* font = button(tr("Font"));
  drawNow_ = button(tr("Draw it now"));
  QPushButton* close = button(tr("Close"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addLayout(middle);
  layout->addLayout(buttons);

  const auto live = [this] { LiveChange(); };
  connect(size_, &QSpinBox::valueChanged, this, live);
  connect(angle_, &QSpinBox::valueChanged, this, live);
  connect(visible_, &QCheckBox::clicked, this, live);
  connect(background_, &QCheckBox::clicked, this, live);
  connect(shadow_, &QCheckBox::clicked, this, live);
  connect(textColour_, &ColourButton::ColourPicked, this, live);
  connect(backColour_, &ColourButton::ColourPicked, this, live);
  connect(group, &QButtonGroup::idClicked, this, [this](int) {
    angle_->setEnabled(positions_[2]->isChecked());
    LiveChange();
  });
  connect(drawText_, &QCheckBox::clicked, this, [this](bool on) {
    CPlotText* text = Current();
    drawNow_->setEnabled(on);
    if (!text) return;
    changed_ = false;
    BeginChange();
    text->drawText = on ? 1 : 0;
    LiveChange();
  });
  connect(input, &QPushButton::clicked, this, [this] { Input(); });
  connect(remove, &QPushButton::clicked, this, [this] { Remove(); });
  connect(font, &QPushButton::clicked, this, [this] { ChooseFont(); });
  connect(drawNow_, &QPushButton::clicked, this, [this] { DrawItNow(); });
  connect(close, &QPushButton::clicked, this, [this] { ClosePanel(); });
  initialised_ = true;
}

CPlotText* CCommentaryPanel::Current() const { return doc_.CurrentCommentary(); }

void CCommentaryPanel::Load(CPlotText& commentary, QPoint screen) {
  doc_.SetCurrentCommentary(&commentary);
  if (commentary.text.empty()) commentary.SetText("TEST");
  loading_ = true;
  QString text = QString::fromStdString(commentary.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text_->setPlainText(text);
  visible_->setChecked(commentary.visible != 0);
  size_->setValue(commentary.textSize);
  angle_->setValue(commentary.angle);
  textColour_->SetColour(commentary.textColour);
  backColour_->SetColour(commentary.backgroundColour);
  const int position = std::clamp(static_cast<int>(commentary.position), 0, 4);
  positions_[static_cast<std::size_t>(position)]->setChecked(true);
  angle_->setEnabled(position == CPlotText::kCentred);
  background_->setChecked(commentary.background != 0);
  shadow_->setChecked(commentary.shadow != 0);
  drawText_->setChecked(commentary.drawText == 1);
  drawNow_->setEnabled(commentary.drawText == 1);
  loading_ = false;
  changed_ = false;
  redraw_ = commentary.Bounds();
  Redraw();
  if (!placed_) {
    adjustSize();
    QRect frame(screen - QPoint(width() / 2, height() / 2), size());
    // Centred on the pointer, but whole on its screen.
    if (const QScreen* s = QGuiApplication::screenAt(screen)) {
      const QRect room = s->availableGeometry();
      frame.moveLeft(std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - frame.width())));
      frame.moveTop(std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - frame.height())));
    }
    move(frame.topLeft());
    placed_ = true;
  }
  show();
  raise();
  activateWindow();
  text_->setFocus();
  // Typing replaces the placeholder text at once.
  text_->selectAll();
}

void CCommentaryPanel::Apply(CPlotText& text) {
  text.visible = visible_->isChecked() ? 1 : 0;
  text.SetTextSize(size_->value());
  text.SetAngle(angle_->value());
  text.textColour = textColour_->GetColour();
  text.backgroundColour = backColour_->GetColour();
  for (int i = 0; i < 5; ++i)
    if (positions_[static_cast<std::size_t>(i)]->isChecked()) text.SetPosition(i);
  text.background = background_->isChecked() ? 1 : 0;
  text.shadow = shadow_->isChecked() ? 1 : 0;
  text.FinishEdit();
}

void CCommentaryPanel::Gather(const CPlotText& text) {
  const CharMetrics m = text.Metrics();
  const Rect r = text.Bounds().Inflated(2 * m.width, 2 * m.height);
  redraw_ = redraw_ ? redraw_->United(r) : r;
}

void CCommentaryPanel::Redraw() {
  if (CPlotText* text = Current()) Gather(*text);
  canvas_.EndPathDrawing();
  if (redraw_ && repaint_) repaint_(*redraw_);
  redraw_.reset();
  if (CPlotText* text = Current()) redraw_ = text->Bounds();
}

void CCommentaryPanel::BeginChange() {
  if (changed_) return;
  doc_.Checkpoint();
  changed_ = true;
}

void CCommentaryPanel::LiveChange() {
  CPlotText* text = Current();
  if (loading_ || !initialised_ || !text || text->text.empty()) return;
  BeginChange();
  Apply(*text);
  doc_.SetModified(true);
  Redraw();
}

void CCommentaryPanel::SetText(CPlotText& text) {
  QString typed = text_->toPlainText();
  typed.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  typed.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  Gather(text);
  text.SetText(typed.toStdString());
  Gather(text);
}

void CCommentaryPanel::Input() {
  CPlotText* text = Current();
  if (!text) return;
  if (text_->toPlainText().isEmpty()) {
    Remove();
    return;
  }
  // The snapshot comes first so that undo takes the typed text back.
  doc_.Checkpoint();
  changed_ = true;
  Apply(*text);
  SetText(*text);
  doc_.SetModified(true);
  Redraw();
}

void CCommentaryPanel::Remove() {
  CPlotText* text = Current();
  canvas_.EndPathDrawing();
  hide();
  if (!text) return;
  Gather(*text);
  if (text->visible) {
    doc_.RemoveObject(text);
    doc_.Changed();
  }
  if (redraw_ && repaint_) repaint_(*redraw_);
  redraw_.reset();
}

void CCommentaryPanel::DrawItNow() {
  CPlotText* text = Current();
  if (!text) return;
  BeginChange();
  Apply(*text);
  SetText(*text);
  doc_.SetModified(true);
  Redraw();
  if (!text->text.empty())
    if (const auto old = canvas_.StartPathDrawing(); old && repaint_) repaint_(*old);
  setCursor(canvas_.PathDrawing() ? QCursor(Qt::CrossCursor) : QCursor(Qt::ArrowCursor));
}

void CCommentaryPanel::ClosePanel() {
  canvas_.EndPathDrawing();
  setCursor(QCursor(Qt::ArrowCursor));
  hide();
}

void CCommentaryPanel::ChooseFont() {
  CPlotText* text = Current();
  if (!text) return;
  QFont current(QString::fromStdString(text->font.face));
  // Qt and the stored font share the 100..900 weight scale.
  current.setWeight(static_cast<QFont::Weight>(std::clamp(text->font.weight, 100, 900)));
  current.setItalic(text->font.italic != 0);
  current.setUnderline(text->font.underline != 0);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, current, this, tr("Font"));
  if (!ok) return;
  BeginChange();
  FontDescription& f = text->font;
  f.face = chosen.family().toStdString();
  f.weight = chosen.weight();
  f.italic = chosen.italic() ? 1 : 0;
  f.underline = chosen.underline() ? 1 : 0;
  f.height = TenthMmToPlot(text->textSize);
  f.width = 0;
  f.escapement = f.orientation = text->position == CPlotText::kCentred ? text->angle * 10 : 0;
  f.strikeOut = 0;
  f.charSet = 204;
  f.outPrecision = 0;
  f.clipPrecision = 16;
  f.quality = 2;
  f.pitchAndFamily = 18;
  text->Layout();
  LiveChange();
}

}  // namespace tracemont
