#pragma once

#include <QProgressBar>

// A progress bar whose Min, Max and Value are single-precision numbers, shown through
// QProgressBar's whole-number range.
class FloatProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    explicit FloatProgressBar(QWidget* parent = nullptr);

    void setFloatRange(float minimum, float maximum);
    void setFloatValue(float value);
    float floatMinimum() const { return min_; }
    float floatMaximum() const { return max_; }
    float floatValue() const { return value_; }

  signals:
    void floatValueChanged(float value);

  private:
    void showValue();

    static constexpr int steps = 10000;
    float min_ = 0;
    float max_ = 100;
    float value_ = 0;
};
