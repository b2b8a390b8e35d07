#pragma once

namespace brimwell {

// The string table: fixed texts by identifier, UTF-8. nullptr for an id that has no entry.
const char* LoadStringResource(int id);

inline constexpr int IDS_APP_TITLE = 57344;
inline constexpr int IDS_LOGO_STATUS_BASE = 200; // 200 + logo status
inline constexpr int IDS_PASS = 300;
inline constexpr int IDS_FAIL = 301;
inline constexpr int IDS_TESTER_NAME_BASE = 310; // 310 to 319
// What a screen reader is told beyond the visible texts.
inline constexpr int IDS_BROWSE_PASS_LOGO = 400;
inline constexpr int IDS_BROWSE_FAIL_LOGO = 401;
inline constexpr int IDS_BROWSE_FIRMWARE = 402;
inline constexpr int IDS_PREVIEW_LOGO = 403;    // the logo's size: width, height in dots
inline constexpr int IDS_PREVIEW_ROTATED = 404; // quarter turns clockwise
inline constexpr int IDS_PREVIEW_INVERTED = 405;

} // namespace brimwell
