#include "app/Zoom.h"

#include "toolkit/Checked.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

namespace {

constexpr std::array<TZoom, 14> kSteps = {{{1, 8}, {1, 4}, {1, 3}, {1, 2}, {2, 3}, {1, 1}, {3, 2},
                                           {2, 1}, {3, 1}, {4, 1}, {6, 1}, {8, 1}, {12, 1}, {16, 1}}};

// a / b rounded toward minus infinity, for b > 0.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

}  // namespace

int32_t TZoom::ToView(int32_t length) const {
  const int64_t scaled = FloorDiv(2 * int64_t(length) * Numerator + Denominator, 2 * int64_t(Denominator));
  return static_cast<int32_t>(std::clamp<int64_t>(scaled, 1, std::numeric_limits<int32_t>::max()));
}

int32_t TZoom::ToCanvas(int32_t position) const {
  const int64_t pixel = FloorDiv(int64_t(position) * Denominator, Numerator);
  if (pixel < std::numeric_limits<int32_t>::min() || pixel > std::numeric_limits<int32_t>::max())
    throw EIntOverflow();
  return static_cast<int32_t>(pixel);
}

QString TZoom::Percent() const {
  return QString::number(FloorDiv(200 * int64_t(Numerator) + Denominator, 2 * int64_t(Denominator))) +
         QLatin1Char('%');
}

bool TZoom::operator==(const TZoom& other) const {
  return int64_t(Numerator) * other.Denominator == int64_t(other.Numerator) * Denominator;
}

bool TZoom::operator<(const TZoom& other) const {
  return int64_t(Numerator) * other.Denominator < int64_t(other.Numerator) * Denominator;
}

std::span<const TZoom> ZoomSteps() { return kSteps; }

TZoom ZoomIn(TZoom zoom) {
  const auto above = std::upper_bound(kSteps.begin(), kSteps.end(), zoom);
  return above == kSteps.end() ? kSteps.back() : *above;
}

TZoom ZoomOut(TZoom zoom) {
  const auto below = std::lower_bound(kSteps.begin(), kSteps.end(), zoom);
  return below == kSteps.begin() ? kSteps.front() : *(below - 1);
}

TZoom FitZoom(QSize canvas, QSize view) {
  // The smaller of the two ratios view / canvas, as a fraction.
  TZoom fit{std::max(view.width(), 0), std::max(canvas.width(), 1)};
  const TZoom high{std::max(view.height(), 0), std::max(canvas.height(), 1)};
  if (high < fit) fit = high;
  if (fit < kSteps.front()) return kSteps.front();
  if (kSteps.back() < fit) return kSteps.back();
  const int32_t divisor = std::gcd(fit.Numerator, fit.Denominator);
  return {fit.Numerator / divisor, fit.Denominator / divisor};
}
