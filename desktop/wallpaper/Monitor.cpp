#include "Monitor.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace tavlo::wallpaper {
namespace {

bool readingOrder(const Monitor& a, const Monitor& b) {
    return std::tie(a.y, a.x, a.name) < std::tie(b.y, b.x, b.name);
}

}  // namespace

const Monitor& primaryMonitor(const MonitorLayout& monitors) {
    if (monitors.empty()) throw std::invalid_argument("a layout without monitors has no primary monitor");
    const auto flagged = std::find_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; });
    if (flagged != monitors.end()) return *flagged;
    return *std::min_element(monitors.begin(), monitors.end(), [](const Monitor& a, const Monitor& b) {
        const long long da = 1LL * a.x * a.x + 1LL * a.y * a.y, db = 1LL * b.x * b.x + 1LL * b.y * b.y;
        return da != db ? da < db : readingOrder(a, b);
    });
}

MonitorLayout primaryFirst(MonitorLayout monitors) {
    if (monitors.empty()) return monitors;
    const Monitor primary = primaryMonitor(monitors);
    std::sort(monitors.begin(), monitors.end(), [&](const Monitor& a, const Monitor& b) {
        const bool ap = a == primary, bp = b == primary;
        if (ap != bp) return ap;
        return readingOrder(a, b);
    });
    return monitors;
}

}  // namespace tavlo::wallpaper
