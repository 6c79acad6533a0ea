#pragma once

namespace dotvane {

// The two pages the Help menu opens in the user's browser.
inline constexpr const char* kHomePage = "https://github.com/dotvane/dotvane";
inline constexpr const char* kHelpPage = "https://github.com/dotvane/dotvane/discussions/categories/help";

}  // namespace dotvane
