#include "form/floatprogressbar.h"

#include <cmath>

FloatProgressBar::FloatProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, steps);
    setValue(0);
}

void FloatProgressBar::setFloatRange(float minimum, float maximum) {
    min_ = minimum;
    max_ = maximum;
    showValue();
}

void FloatProgressBar::setFloatValue(float value) {
    value_ = value;
    showValue();
    emit floatValueChanged(value);
}

void FloatProgressBar::showValue() {
    // A value left by an earlier range is shown at the nearer end of the new one.
    const double span = static_cast<double>(max_) - min_;
    double fraction = span > 0 ? (static_cast<double>(value_) - min_) / span : 0.0;
    if (!(fraction > 0)) fraction = 0;
    if (fraction > 1) fraction = 1;
    setValue(static_cast<int>(std::lround(fraction * steps)));
}
