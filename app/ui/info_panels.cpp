#include "app/ui/info_panels.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "acquire/object_panels.h"
#include "app/ui/points_editor.h"
#include "app/ui/colour_button.h"
#include "approx/func_params.h"
#include "approx/ui/func_pages.h"
#include "model/main_doc.h"
#include "model/points_export.h"
#include "model/text.h"

namespace tracemont {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The object of a list with the id, visible or not.
template <class T>
T* ById(const PlotList<T>& list, std::uint32_t id) {
  for (const auto& o : list)
    if (o->id == id) return o.get();
  return nullptr;
}

QComboBox* ColourList(QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (const int id : {cmd::kBlackPoints, cmd::kBluePoints, cmd::kGreenPoints, cmd::kRedPoints, cmd::kBrownPoints,
                       cmd::kGrayPoints})
    box->addItem(Q(ColourNameOfCommand(id)), id);
  return box;
}

void Choose(QComboBox* box, int data) {
  const int i = box->findData(data);
  if (i >= 0) box->setCurrentIndex(i);
}

QTreeWidget* NewValueList(QWidget* parent, const QStringList& headers) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setHeaderLabels(headers);
  list->setUniformRowHeights(true);
  list->header()->setSectionResizeMode(QHeaderView::Stretch);
  list->setMinimumHeight(140);
  return list;
}

QPushButton* Button(const QString& text, QBoxLayout* row) {
  auto* b = new QPushButton(text);
  row->addWidget(b);
  return b;
}

void CopyToClipboard(const CMainDoc& doc, const std::vector<DotValue>& points) {
  int count = 0;
  const std::string text = PointsClipboardText(doc.Data(), &points, PointFilter{}, count);
  if (count > 0) QApplication::clipboard()->setText(Q(text));
}

}  // namespace

// --- CPlotDialog ------------------------------------------------------------------

CPlotDialog::CPlotDialog(CMainDoc& document, QWidget* parent) : QDialog(parent), doc_(document) {
  setModal(false);
}

bool CPlotDialog::Bind(std::uint32_t id, QPoint screen) {
  id_ = id;
  changed_ = false;
  if (!Object()) {
    Unbind();
    return false;
  }
  Refresh();
  if (!placed_) {
    adjustSize();
    QRect frame = geometry();
    frame.moveTopLeft(screen + QPoint(12, 12));
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
  return true;
}

void CPlotDialog::Unbind() {
  id_ = 0;
  hide();
}

void CPlotDialog::Refresh() {
  if (id_ == 0) return;
  if (!Object()) {
    Unbind();
    return;
  }
  filling_ = true;
  Fill();
  filling_ = false;
}

void CPlotDialog::BeginChange() {
  if (changed_) return;
  doc_.Checkpoint();
  changed_ = true;
}

bool CPlotDialog::Ask(const QString& text) {
  return QMessageBox::question(this, windowTitle(), text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
         QMessageBox::Ok;
}

void CPlotDialog::RemoveObject() {
  if (CPlot* object = Object()) {
    doc_.RemoveObject(object);
    doc_.Changed();
  }
  Unbind();
}

// --- CDotsInfo ----------------------------------------------------------------------

CDotsInfo::CDotsInfo(CMainDoc& document, QWidget* parent) : CPlotDialog(document, parent) {
  setWindowTitle(tr("Information on points series"));
  auto* form = new QFormLayout;
  colour_ = ColourList(this);
  shape_ = new QComboBox(this);
  shape_->addItem(tr("Round"), cmd::kRoundPoints);
  shape_->addItem(tr("Cross"), cmd::kCrossPoints);
  shape_->addItem(tr("Triangle"), cmd::kTrianglePoints);
  aspect_ = new QLineEdit(this);
  size_ = new QSpinBox(this);
  size_->setRange(0, 100);
  connect_ = new QCheckBox(tr("Connection line"), this);
  width_ = new QSpinBox(this);
  width_->setRange(0, 100);
  name_ = new QLineEdit(this);
  visible_ = new QCheckBox(tr("Visible"), this);
  form->addRow(tr("Colour"), colour_);
  form->addRow(tr("Marker"), shape_);
  form->addRow(tr("Aspect ratio (Y/X)"), aspect_);
  form->addRow(tr("Radius ( X ), 0.1 mm"), size_);
  auto* line = new QHBoxLayout;
  line->addWidget(connect_);
  line->addWidget(width_);
  form->addRow(line);
  form->addRow(tr("Name"), name_);
  form->addRow(visible_);
  values_ = NewValueList(this, {tr("No"), "X", "Y", "Z"});
  values_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  values_->header()->setSectionsClickable(true);

  auto* buttons = new QHBoxLayout;
  QPushButton* apply = Button(tr("Apply"), buttons);
  QPushButton* remove = Button(tr("Remove"), buttons);
  QPushButton* copy = Button(tr("Copy points"), buttons);
  QPushButton* removePoints = Button(tr("Remove points"), buttons);
  auto* more = new QHBoxLayout;
  // Wired when the transformation is available from here.
  Button(tr("Transform..."), more)->setEnabled(false);
  QPushButton* function = Button(tr("Function..."), more);
  connect(function, &QPushButton::clicked, this, [this] {
    const CPlotDot* s = Series();
    if (!s) return;
    std::vector<DotValue> points;
    for (int i = 0;; ++i) {
      const auto v = s->GetValue(i);
      if (!v) break;
      points.emplace_back(v->x, v->y, v->z);
    }
    const int colour = s->ColourCommand();
    RunApproximationWizard(doc_, points, {}, colour, colour, {}, this);
  });
  QPushButton* editor = Button(tr("Editor..."), more);
  QPushButton* close = Button(tr("Close"), more);
  connect(editor, &QPushButton::clicked, this, [this] {
    CPlotDot* series = Series();
    if (!series) return;
    const DocumentData& data = doc_.Data();
    CPointsEditor dialog(series, data.axisX.scale.b, data.axisX.scale.ToValue(data.axisX.Length()),
                         data.axisY.scale.b, data.axisY.scale.ToValue(data.axisY.Length()), this);
    dialog.beforeChange = [this] { doc_.Checkpoint(); };
    if (dialog.exec() == QDialog::Accepted) {
      doc_.Changed();
      Refresh();
    }
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(values_);
  layout->addLayout(buttons);
  layout->addLayout(more);

  const auto changed = [this] { WriteBack(); };
  connect(colour_, &QComboBox::currentIndexChanged, this, changed);
  connect(shape_, &QComboBox::currentIndexChanged, this, changed);
  connect(aspect_, &QLineEdit::editingFinished, this, changed);
  connect(size_, &QSpinBox::valueChanged, this, changed);
  connect(connect_, &QCheckBox::toggled, this, changed);
  connect(width_, &QSpinBox::valueChanged, this, changed);
  connect(visible_, &QCheckBox::toggled, this, changed);
  connect(apply, &QPushButton::clicked, this, [this] {
    CPlotDot* s = Series();
    if (!s) return;
    doc_.Checkpoint();
    s->name = name_->text().toStdString();
    WriteBack();
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (Series() && Ask(tr("All points series will be removed."))) RemoveObject();
  });
  connect(copy, &QPushButton::clicked, this, [this] {
    CPlotDot* s = Series();
    if (!s) return;
    std::vector<DotValue> points;
    for (QTreeWidgetItem* item : values_->selectedItems())
      if (const auto v = s->GetValue(values_->indexOfTopLevelItem(item))) points.push_back(*v);
    CopyToClipboard(doc_, points);
  });
  connect(removePoints, &QPushButton::clicked, this, [this] { RemoveSelectedRows(); });
  connect(close, &QPushButton::clicked, this, [this] { Unbind(); });
  connect(values_->header(), &QHeaderView::sectionClicked, this, [this](int column) {
    CPlotDot* s = Series();
    if (!s || column < 1 || column > 3) return;
    BeginChange();
    if (s->SortBy(column - 1)) {
      FillValues();
      doc_.ObjectChanged(*s);
    }
  });
}

CPlotDot* CDotsInfo::Series() const { return BoundId() ? ById(doc_.Series(), BoundId()) : nullptr; }
CPlot* CDotsInfo::Object() const { return Series(); }

void CDotsInfo::Fill() {
  const CPlotDot* s = Series();
  const SeriesFields f = ReadSeriesFields(*s);
  Choose(colour_, f.colour);
  Choose(shape_, f.shape);
  aspect_->setText(Q(FormatG(f.aspect)).trimmed());
  size_->setValue(f.size);
  connect_->setChecked(f.connect);
  width_->setValue(f.connectWidth);
  name_->setText(Q(f.name));
  visible_->setChecked(f.visible);
  FillValues();
}

void CDotsInfo::FillValues() {
  const CPlotDot* s = Series();
  values_->clear();
  if (!s) return;
  QList<QTreeWidgetItem*> rows;
  std::array<std::string, 4> texts;
  for (int i = 0; s->GetValueTexts(i, texts); ++i)
    rows << new QTreeWidgetItem(QStringList{Q(texts[0]), Q(texts[1]), Q(texts[2]), Q(texts[3])});
  values_->addTopLevelItems(rows);
}

void CDotsInfo::WriteBack() {
  CPlotDot* s = Series();
  if (filling_ || !s) return;
  BeginChange();
  SeriesFields f = ReadSeriesFields(*s);
  f.colour = colour_->currentData().toInt();
  f.shape = shape_->currentData().toInt();
  bool ok = false;
  const double aspect = aspect_->text().toDouble(&ok);
  if (ok) f.aspect = aspect;
  f.size = size_->value();
  f.connect = connect_->isChecked();
  f.connectWidth = width_->value();
  f.visible = visible_->isChecked();
  WriteSeriesFields(doc_, *s, f);
  // Show what was stored (a width of 0 becomes 1).
  filling_ = true;
  width_->setValue(ReadSeriesFields(*s).connectWidth);
  aspect_->setText(Q(FormatG(s->aspect)).trimmed());
  filling_ = false;
}

void CDotsInfo::RemoveSelectedRows(bool ask) {
  CPlotDot* s = Series();
  if (!s) return;
  std::vector<int> rows;
  for (QTreeWidgetItem* item : values_->selectedItems()) rows.push_back(values_->indexOfTopLevelItem(item));
  if (rows.empty()) return;
  if (ask && !Ask(Q(StrFormat("%d points were selected.\nAll points will be removed.", static_cast<int>(rows.size())))))
    return;
  RemoveSeriesRows(doc_, *s, rows);
  Refresh();
}

// --- CClipInfo ----------------------------------------------------------------------

CClipInfo::CClipInfo(CMainDoc& document, QWidget* parent) : CPlotDialog(document, parent) {
  setWindowTitle(tr("Information on selected area"));
  auto* form = new QFormLayout;
  colour_ = ColourList(this);
  count_ = new QLabel(this);
  correlation_ = new QLabel(this);
  area_ = new QLabel(this);
  unit_ = new QLabel(this);
  fill_ = new QCheckBox(tr("Color fill area"), this);
  name_ = new QLineEdit(this);
  visible_ = new QCheckBox(tr("Visible"), this);
  form->addRow(tr("Colour"), colour_);
  form->addRow(tr("Number of points"), count_);
  form->addRow(tr("Correlation"), correlation_);
  auto* areaRow = new QHBoxLayout;
  areaRow->addWidget(area_);
  areaRow->addWidget(unit_);
  form->addRow(tr("Area"), areaRow);
  form->addRow(fill_);
  form->addRow(tr("Name"), name_);
  form->addRow(visible_);
  values_ = NewValueList(this, {"", "X", "Y", "Z"});

  auto* buttons = new QHBoxLayout;
  apply_ = Button(tr("Apply"), buttons);
  QPushButton* remove = Button(tr("Remove"), buttons);
  copy_ = Button(tr("Copy points"), buttons);
  QPushButton* removePoints = Button(tr("Remove points"), buttons);
  auto* more = new QHBoxLayout;
  Button(tr("Transform..."), more)->setEnabled(false);
  function_ = Button(tr("Function..."), more);
  QPushButton* close = Button(tr("Close"), more);
  connect(function_, &QPushButton::clicked, this, [this] {
    const CPlotClip* a = Area();
    if (!a) return;
    const std::vector<DotValue> inside = SummariseArea(doc_, *a).inside;
    const int colour = a->ColourCommand();
    RunApproximationWizard(doc_, inside, RangeOfPoints(inside), colour, colour, {}, this);
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(values_);
  layout->addLayout(buttons);
  layout->addLayout(more);

  const auto changed = [this] { WriteBack(); };
  connect(colour_, &QComboBox::currentIndexChanged, this, changed);
  connect(fill_, &QCheckBox::toggled, this, changed);
  connect(visible_, &QCheckBox::toggled, this, changed);
  connect(apply_, &QPushButton::clicked, this, [this] {
    CPlotClip* a = Area();
    if (!a) return;
    doc_.Checkpoint();
    a->name = name_->text().toStdString();
    WriteBack();
  });
  connect(remove, &QPushButton::clicked, this, [this] { RemoveObject(); });
  connect(copy_, &QPushButton::clicked, this, [this] {
    if (const CPlotClip* a = Area()) CopyToClipboard(doc_, SummariseArea(doc_, *a).inside);
  });
  connect(removePoints, &QPushButton::clicked, this, [this] {
    if (CPlotClip* a = Area()) {
      doc_.RemovePointsInArea(*a, 0);
      Refresh();
    }
  });
  connect(close, &QPushButton::clicked, this, [this] { Unbind(); });
}

CPlotClip* CClipInfo::Area() const { return BoundId() ? ById(doc_.Areas(), BoundId()) : nullptr; }
CPlot* CClipInfo::Object() const { return Area(); }

void CClipInfo::Fill() {
  const CPlotClip* a = Area();
  const AreaSummary s = SummariseArea(doc_, *a);
  Choose(colour_, a->ColourCommand());
  count_->setText(Q(StrFormat("%d", s.pointsInside)));
  correlation_->setText(Q(FormatG(s.correlation)));
  area_->setText(Q(s.areaText));
  unit_->setText(Q(s.unitText));
  fill_->setChecked(a->fill != 0);
  name_->setText(Q(a->name));
  visible_->setChecked(a->visible != 0);
  values_->clear();
  for (const auto& row : s.rows)
    values_->addTopLevelItem(new QTreeWidgetItem(QStringList{Q(row[0]), Q(row[1]), Q(row[2]), Q(row[3])}));
  apply_->setEnabled(s.applyEnabled);
  copy_->setEnabled(s.copyEnabled);
  function_->setEnabled(s.functionEnabled);
}

void CClipInfo::WriteBack() {
  CPlotClip* a = Area();
  if (filling_ || !a) return;
  BeginChange();
  a->SetColourCommand(colour_->currentData().toInt());
  a->fill = fill_->isChecked() ? 1 : 0;
  a->visible = visible_->isChecked() ? 1 : 0;
  doc_.ObjectChanged(*a);
  doc_.RecountSelectedAreas();
}

// --- CFuncInfo ----------------------------------------------------------------------

CFuncInfo::CFuncInfo(CMainDoc& document, std::function<Rect()> visibleArea, QWidget* parent)
    : CPlotDialog(document, parent), visibleArea_(std::move(visibleArea)) {
  setWindowTitle(tr("Information on selected function"));
  auto* form = new QFormLayout;
  colour_ = new ColourButton(tr("Line color"), this);
  width_ = new QSpinBox(this);
  width_->setRange(0, 1000);
  corridor_ = new QCheckBox(tr("Lines of standart deviation"), this);
  centres_ = new QCheckBox(tr("Lines on centers of steps"), this);
  rangeName_ = new QLabel(this);
  min_ = new QLineEdit(this);
  max_ = new QLineEdit(this);
  deviation_ = new QLabel(this);
  formula_ = new QLineEdit(this);
  visible_ = new QCheckBox(tr("Visible"), this);
  form->addRow(tr("Line color"), colour_);
  form->addRow(tr("Width, 0.1 mm"), width_);
  form->addRow(corridor_);
  form->addRow(centres_);
  auto* range = new QHBoxLayout;
  range->addWidget(rangeName_);
  range->addWidget(new QLabel(tr("Min"), this));
  range->addWidget(min_);
  range->addWidget(new QLabel(tr("Max"), this));
  range->addWidget(max_);
  form->addRow(range);
  form->addRow(tr("Deviation"), deviation_);
  form->addRow(formula_);
  form->addRow(visible_);

  auto* buttons = new QHBoxLayout;
  QPushButton* apply = Button(tr("Apply"), buttons);
  QPushButton* remove = Button(tr("Remove"), buttons);
  QPushButton* full = Button(tr("Full window"), buttons);
  QPushButton* formula = Button(tr("Formula"), buttons);
  auto* more = new QHBoxLayout;
  QPushButton* transform = Button(tr("Transform..."), more);
  QPushButton* close = Button(tr("Close"), more);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->addLayout(more);

  connect(transform, &QPushButton::clicked, this, [this] { ConvertToSeries(); });
  const auto changed = [this] { WriteBack(); };
  connect(colour_, &ColourButton::ColourPicked, this, changed);
  connect(width_, &QSpinBox::valueChanged, this, changed);
  connect(corridor_, &QCheckBox::toggled, this, changed);
  connect(centres_, &QCheckBox::toggled, this, changed);
  connect(visible_, &QCheckBox::toggled, this, changed);
  connect(apply, &QPushButton::clicked, this, [this] {
    CPlotFunc* f = Function();
    if (!f) return;
    bool okMin = false;
    bool okMax = false;
    const double lo = min_->text().toDouble(&okMin);
    const double hi = max_->text().toDouble(&okMax);
    if (!okMin || !okMax) {
      QMessageBox::warning(this, windowTitle(), tr("Min and Max must be numbers."));
      return;
    }
    ApplyArgumentRange(doc_, *f, lo, hi);
    Refresh();
  });
  connect(remove, &QPushButton::clicked, this, [this] { RemoveObject(); });
  connect(full, &QPushButton::clicked, this, [this] {
    const CPlotFunc* f = Function();
    if (!f || !visibleArea_) return;
    const Rect shown = visibleArea_().Normalized();
    const DocumentData& d = doc_.Data();
    const bool alongY = DirectionOf(f->params) == 1;
    const double a = alongY ? d.axisY.scale.FromPlot(shown.bottom) : d.axisX.scale.FromPlot(shown.left);
    const double b = alongY ? d.axisY.scale.FromPlot(shown.top) : d.axisX.scale.FromPlot(shown.right);
    min_->setText(Q(FormatG(std::min(a, b))).trimmed());
    max_->setText(Q(FormatG(std::max(a, b))).trimmed());
  });
  connect(formula, &QPushButton::clicked, this, [this] {
    const CPlotFunc* f = Function();
    std::vector<std::string> rows;
    if (f && DescribeFunction(f->params, rows, 1) > 0) formula_->setText(Q(rows.front()));
  });
  connect(close, &QPushButton::clicked, this, [this] { Unbind(); });
}

void CFuncInfo::ConvertToSeries() {
  const CPlotFunc* f = Function();
  if (!f) return;
  const ReadDefaults defaults = drawingDefaults_ ? drawingDefaults_() : ReadDefaults{};
  std::optional<ReadSource> source = FunctionSource(*f, defaults.radius);
  if (!source) return;
  const std::uint32_t id = f->id;
  ReadDefaults chosen;
  if (!RunReadPages(doc_, std::move(*source), defaults, this, &chosen)) return;
  emit SeriesMade(chosen.colourCommand, chosen.shapeCommand, chosen.radius);
  // The series replaces the function; the wizard may have replaced the
  // object list (undo snapshots), so the function is looked up again.
  if (CPlotFunc* still = ById(doc_.Functions(), id)) {
    doc_.RemoveObject(still);
    doc_.Changed();
  }
  Unbind();
}

CPlotFunc* CFuncInfo::Function() const { return BoundId() ? ById(doc_.Functions(), BoundId()) : nullptr; }
CPlot* CFuncInfo::Object() const { return Function(); }

void CFuncInfo::Fill() {
  const CPlotFunc* f = Function();
  const FunctionFields fields = ReadFunctionFields(*f);
  colour_->SetColour(fields.colour);
  width_->setValue(fields.width);
  corridor_->setChecked(fields.corridor);
  centres_->setChecked(fields.samplerOption != 0);
  const FunctionChecks checks = ChecksForMethod(MethodOf(f->params));
  corridor_->setEnabled(checks.corridor);
  centres_->setEnabled(checks.centres);
  const ArgumentRange r = ArgumentRangeOf(*f);
  rangeName_->setText(Q(r.name));
  min_->setText(Q(FormatG(r.min)).trimmed());
  max_->setText(Q(FormatG(r.max)).trimmed());
  std::vector<std::string> rows;
  deviation_->setText(DescribeFunction(f->params, rows, 1) > 1 ? Q(rows[1]) : QString());
  formula_->setText(Q(f->name));
  visible_->setChecked(fields.visible);
}

void CFuncInfo::WriteBack() {
  CPlotFunc* f = Function();
  if (filling_ || !f) return;
  BeginChange();
  FunctionFields fields = ReadFunctionFields(*f);
  fields.colour = colour_->GetColour();
  fields.width = width_->value();
  fields.corridor = corridor_->isChecked();
  fields.samplerOption = centres_->isChecked() ? 1 : 0;
  fields.visible = visible_->isChecked();
  WriteFunctionFields(doc_, *f, fields);
  filling_ = true;
  width_->setValue(ClampLineWidth(fields.width));
  filling_ = false;
}

// --- CInfoPanels --------------------------------------------------------------------

CInfoPanels::CInfoPanels(CMainDoc& document, std::function<Rect()> visibleArea, QWidget* parent)
    : doc_(document),
      series_(new CDotsInfo(document, parent)),
      area_(new CClipInfo(document, parent)),
      function_(new CFuncInfo(document, std::move(visibleArea), parent)) {
  doc_.AddObserver(*this);
}

CInfoPanels::~CInfoPanels() {
  doc_.RemoveObserver(*this);
  // With a parent widget the panels go with it; without one they are ours.
  for (QDialog* panel : std::initializer_list<QDialog*>{series_, area_, function_})
    if (panel->parent() == nullptr) delete panel;
}

void CInfoPanels::Open(PanelKind kind, std::uint32_t id, QPoint screen) {
  switch (kind) {
    case PanelKind::kSeries: series_->Bind(id, screen); break;
    case PanelKind::kArea: area_->Bind(id, screen); break;
    case PanelKind::kFunction:
    case PanelKind::kEllipse: function_->Bind(id, screen); break;
  }
}

void CInfoPanels::RefreshAll() {
  for (CPlotDialog* panel : std::initializer_list<CPlotDialog*>{series_, area_, function_})
    if (panel->isVisible()) panel->Refresh();
}

}  // namespace tracemont
