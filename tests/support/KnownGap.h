#pragma once

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "awt/Screen.h"

namespace testing_support {

// Marks the checks of its scope as failing where a platform is known to lack what they test, in the
// manner of Wine's todo_wine_if. While the gap is present a failing check is reported, not failed, and
// a scope whose checks all pass fails with "gap closed: remove the mark", so that no mark outlives its
// gap; elsewhere the checks count as usual. A fatal check still leaves the function it is in.
class KnownGap {
public:
    KnownGap(bool present, std::string gap) : gap_(std::move(gap)) {
        if (present) {
            reporter_ = std::make_unique<::testing::ScopedFakeTestPartResultReporter>(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results_);
        }
    }
    ~KnownGap() {
        if (!reporter_) return;
        reporter_.reset();
        int failed = 0;
        for (int i = 0; i < results_.size(); ++i) {
            const ::testing::TestPartResult& result = results_.GetTestPartResult(i);
            if (!result.failed()) continue;
            ++failed;
            std::cout << (result.file_name() ? result.file_name() : "") << ":" << result.line_number()
                      << ": known gap (" << gap_ << "): " << result.summary() << std::endl;
        }
        if (failed == 0) ADD_FAILURE() << "gap closed: remove the mark (" << gap_ << ")";
    }

private:
    std::string gap_;
    ::testing::TestPartResultArray results_;
    std::unique_ptr<::testing::ScopedFakeTestPartResultReporter> reporter_;
};

// The gap of Wine 10 (ORLIVEX_WINE=10, set by tools/with-wine.sh) that the marks are for: on an X
// server with Xinerama and without RandR, the only way to give it several monitors here, it reports
// every monitor with the primary's rectangle. True when the monitor list shows that.
inline bool wine10ShowsOneRectangleForEveryMonitor() {
    const char* wine = std::getenv("ORLIVEX_WINE");
    if (wine == nullptr || std::string(wine) != "10") return false;
    const std::vector<RECT> rects = awt::getMonitorRectangles();
    return rects.size() > 1 &&
           std::all_of(rects.begin(), rects.end(), [&](const RECT& r) { return EqualRect(&r, &rects.front()); });
}

}  // namespace testing_support
