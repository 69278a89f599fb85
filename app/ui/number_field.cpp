#include "app/ui/number_field.h"

#include <charconv>
#include <cmath>
#include <string>

#include "model/text.h"

namespace tracemont {

std::optional<double> ParseNumber(const QString& text) {
  std::string s = text.trimmed().toStdString();
  for (char& c : s)
    if (c == ',') c = '.';
  if (s.empty()) return std::nullopt;
  // from_chars takes no leading '+'.
  const std::size_t skip = s.front() == '+' ? 1 : 0;
  double value = 0.0;
  const char* first = s.data() + skip;
  const char* last = s.data() + s.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

NumberField::NumberField(double min, double max, QWidget* parent)
    : QLineEdit(parent), min_(min), max_(max) {
  setAlignment(Qt::AlignRight);
  // Room for "%4.4g" numbers such as "-1.234e+05" and a little more.
  setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-0.0000e+000")) + 24);
  connect(this, &QLineEdit::textEdited, this, &NumberField::OnTextEdited);
}

void NumberField::SetValue(double value) {
  value_ = value;
  Show();
}

void NumberField::SetDisplayFactor(double factor) {
  if (factor <= 0.0 || !std::isfinite(factor)) return;
  factor_ = factor;
  Show();
}

void NumberField::Show() {
  // setText does not emit textEdited, so showing never feeds back.
  setText(QString::fromStdString(FormatG(value_ * factor_)));
  MarkValid(value_ >= min_ && value_ <= max_);
}

void NumberField::OnTextEdited(const QString& text) {
  const auto shown = ParseNumber(text);
  if (!shown) {
    MarkValid(false);
    return;
  }
  const double value = whole_ ? std::round(*shown / factor_) : *shown / factor_;
  MarkValid(value >= min_ && value <= max_);
  if (!valid_) return;
  value_ = value;
  emit ValueEdited(value_);
}

QString NumberField::RangeText() const {
  const auto shown = [this](double v) { return QString::fromStdString(FormatG(v * factor_)).trimmed(); };
  return QStringLiteral("from %1 to %2").arg(shown(min_), shown(max_));
}

void NumberField::MarkValid(bool valid) {
  valid_ = valid;
  setStyleSheet(valid ? QString() : QStringLiteral("QLineEdit { background: #ffd8d8; }"));
}

}  // namespace tracemont
