#pragma once

#include <QVariant>
#include <QVariantList>

#include <optional>

// The one test of what counts as a number before it is stored or sent: an
// integer, a whole finite double or decimal integer text. NaN, 1.5, "1A", "",
// true and an invalid value are none.
std::optional<qint64> wholeNumber(const QVariant &value);

// Whether every element of values is a whole number in low..high.
bool wholeNumbersIn(const QVariantList &values, qint64 low, qint64 high);
