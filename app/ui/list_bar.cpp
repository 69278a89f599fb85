#include "app/ui/list_bar.h"

#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/command_table.h"
#include "app/ui/points_editor.h"
#include "model/main_doc.h"
#include "platform/qpainter_surface.h"

namespace tracemont {
namespace {

constexpr int kIdRole = Qt::UserRole + 1;
const char* const kCaptions[4] = {"Points", "Areas", "Functions", "Comments"};

CPlot* FindObject(CMainDoc& doc, CListBar::Kind kind, std::uint32_t id) {
  switch (kind) {
    case CListBar::Kind::Series: return doc.FindById(doc.Series(), id);
    case CListBar::Kind::Areas: return doc.FindById(doc.Areas(), id);
    case CListBar::Kind::Functions: return doc.FindById(doc.Functions(), id);
    case CListBar::Kind::Commentaries: return doc.FindById(doc.Commentaries(), id);
  }
  return nullptr;
}

// Paints each entry with the object's own label drawing, in grey text.
class LabelDelegate : public QStyledItemDelegate {
 public:
  LabelDelegate(CMainDoc& doc, const CListBar::Kind& kind, QObject* parent)
      : QStyledItemDelegate(parent), doc_(doc), kind_(kind) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem plain = option;
    plain.text.clear();
    QStyledItemDelegate::paint(painter, plain, index);
    CPlot* object = FindObject(doc_, kind_, index.data(kIdRole).toUInt());
    if (!object) return;
    painter->save();
    const int ppi = std::max(1, painter->device()->logicalDpiX());
    const QRect r = option.rect;
    // Plot units of the row: its top-left corner at the device origin.
    const QPointF origin(-r.left() * 100.0 / ppi, r.top() * 100.0 / ppi);
    QPainterSurface surface(*painter, ppi, ppi, false, origin);
    surface.SetTextColour(option.state & QStyle::State_Selected ? Rgb(255, 255, 255) : Rgb(110, 110, 110));
    FontDescription font;
    font.face = "Sans Serif";
    font.weight = 400;
    font.height = std::max(8, r.height() * 100 / ppi * 2 / 3);
    surface.SetFont(font);
    const int w = r.width() * 100 / ppi;
    const int h = r.height() * 100 / ppi;
    object->DrawLabel(surface, Rect{0, 0, w, -h}, 0);
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(std::max(s.height(), 22));
    return s;
  }

 private:
  CMainDoc& doc_;
  const CListBar::Kind& kind_;
};

}  // namespace

CListBar::CListBar(CMainDoc& document, QWidget* parent)
    : QDockWidget(tr("Objects"), parent), document_(document) {
  setObjectName("ObjectsBar");
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  list_ = new QListWidget(body);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setItemDelegate(new LabelDelegate(document_, kind_, list_));
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  list_->setMinimumWidth(200);
  for (int i = 0; i < 4; ++i) {
    buttons_[static_cast<std::size_t>(i)] = new QPushButton(tr(kCaptions[i]), body);
    connect(buttons_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
            [this, i] { ShowKind(static_cast<Kind>(i)); });
  }
  connect(list_, &QListWidget::itemSelectionChanged, this, &CListBar::SelectionChanged);
  connect(list_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QListWidgetItem* item = list_->itemAt(at);
    if (!item) return;
    if (!item->isSelected()) {
      list_->clearSelection();
      item->setSelected(true);
    }
    QMenu menu(this);
    menu.addAction(tr("Remove"), this, [this] { emit CommandRequested(cmd::kRemoveSelectedObjects); });
    // Series combine their points; commentaries share the first one's look.
    if (kind_ == Kind::Series || kind_ == Kind::Commentaries) {
      QAction* combine = menu.addAction(tr("Combine"), this, [this] { emit CommandRequested(cmd::kCombinePoints); });
      combine->setEnabled(SelectedCount() > 1);
    }
    if (kind_ == Kind::Series && SelectedCount() == 1) {
      menu.addAction(tr("Editor..."), this, [this] { EditSelectedSeries(); });
    }
    menu.exec(list_->viewport()->mapToGlobal(at));
  });
  setWidget(body);
  document_.AddObserver(*this);
  ShowKind(Kind::Series);
}

CListBar::~CListBar() { document_.RemoveObserver(*this); }

void CListBar::EditSelectedSeries() {
  const std::vector<CPlot*> selected = SelectedObjects();
  if (selected.size() != 1) return;
  auto* series = dynamic_cast<CPlotDot*>(selected.front());
  if (!series) return;
  const DocumentData& data = document_.Data();
  CPointsEditor editor(series, data.axisX.scale.b, data.axisX.scale.ToValue(data.axisX.Length()),
                       data.axisY.scale.b, data.axisY.scale.ToValue(data.axisY.Length()), this);
  editor.beforeChange = [this] { document_.Checkpoint(); };
  if (editor.exec() == QDialog::Accepted) document_.Changed();
}

void CListBar::ShowKind(Kind kind) {
  kind_ = kind;
  auto* layout = static_cast<QVBoxLayout*>(widget()->layout());
  while (layout->count() > 0) layout->takeAt(0);
  // The pressed button's list sits right under it; the later buttons follow.
  for (int i = 0; i < 4; ++i) {
    layout->addWidget(buttons_[static_cast<std::size_t>(i)]);
    if (static_cast<Kind>(i) == kind) layout->addWidget(list_, 1);
  }
  Rebuild();
}

void CListBar::Rebuild() {
  QList<std::uint32_t> selected;
  for (QListWidgetItem* item : list_->selectedItems()) selected << item->data(kIdRole).toUInt();
  list_->clear();
  const auto add = [&](const auto& objects) {
    for (const auto& object : objects) {
      if (!object->IsComplete()) continue;
      auto* item = new QListWidgetItem(list_);
      item->setData(kIdRole, object->id);
      item->setToolTip(QString::fromStdString(object->GetName()));
      item->setSelected(selected.contains(object->id));
    }
  };
  switch (kind_) {
    case Kind::Series: add(document_.Series()); break;
    case Kind::Areas: add(document_.Areas()); break;
    case Kind::Functions: add(document_.Functions()); break;
    case Kind::Commentaries: add(document_.Commentaries()); break;
  }
  list_->viewport()->update();
}

std::vector<CPlot*> CListBar::SelectedObjects() const {
  std::vector<CPlot*> objects;
  for (int row = 0; row < list_->count(); ++row) {
    QListWidgetItem* item = list_->item(row);
    if (!item->isSelected()) continue;
    if (CPlot* object = FindObject(document_, kind_, item->data(kIdRole).toUInt())) objects.push_back(object);
  }
  return objects;
}

int CListBar::SelectedCount() const { return static_cast<int>(list_->selectedItems().size()); }

}  // namespace tracemont
