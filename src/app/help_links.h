#pragma once

// Outside web pages the Help menu opens in the browser.
namespace help_links {

inline constexpr const char* kUserGuide
    = "https://download.quorvel.com/um/"
      "QUORVEL%20Vesk%E4%BD%BF%E7%94%A8%E6%8C%87%E5%8D%97%20v1.1%20.pdf";
inline constexpr const char* kFeedbackEnglish = "https://www.quorvel.com/feedback";
inline constexpr const char* kFeedbackChinese = "https://www.quorvel.com/zh/feedback";

} // namespace help_links
