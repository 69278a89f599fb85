// An edit box for one number. The box holds the number in the document's
// unit and shows it, multiplied by a display factor, with "%4.4g". The held
// number changes only when the user types, so a dialog closed without edits
// writes back exactly what it read, however few digits the box shows.
#pragma once

#include <QLineEdit>
#include <QString>
#include <optional>

namespace tracemont {

// A number typed by the user: surrounding blanks ignored, a decimal comma
// accepted as a decimal point. Nothing for empty, partial or non-finite text.
std::optional<double> ParseNumber(const QString& text);

class NumberField : public QLineEdit {
  Q_OBJECT

 public:
  // min/max: the accepted range in the document's unit (inclusive).
  NumberField(double min, double max, QWidget* parent = nullptr);

  // Holds and shows `value` (document unit).
  void SetValue(double value);
  // The held number (document unit): the last one set or validly typed.
  double Value() const { return value_; }
  // Shown = held x factor (e.g. 1/2.54 to show centimetres as inches).
  // Re-shows the held number; the held number does not change.
  void SetDisplayFactor(double factor);
  double DisplayFactor() const { return factor_; }
  // Typed numbers are rounded to whole document units (e.g. 0.1 mm).
  void SetWholeNumbers(bool whole) { whole_ = whole; }
  // Whether the text is a number inside the range.
  bool IsValid() const { return valid_; }
  double Min() const { return min_; }
  double Max() const { return max_; }
  // "from <min> to <max>" in the shown unit, for messages.
  QString RangeText() const;

 signals:
  // The user typed a valid number; Value() holds it.
  void ValueEdited(double value);

 private:
  void OnTextEdited(const QString& text);
  void Show();
  void MarkValid(bool valid);

  double min_;
  double max_;
  double value_ = 0.0;
  double factor_ = 1.0;
  bool valid_ = true;
  bool whole_ = false;
};

}  // namespace tracemont
