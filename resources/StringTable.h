#pragma once

namespace brimwell {

// The string table: fixed texts by identifier, UTF-8. nullptr for an id that has no entry.
const char* LoadStringResource(int id);

inline constexpr int IDS_APP_TITLE = 57344;
inline constexpr int IDS_LOGO_STATUS_BASE = 200; // 200 + logo status
inline constexpr int IDS_PASS = 300;
inline constexpr int IDS_FAIL = 301;
inline constexpr int IDS_TESTER_NAME_BASE = 310; // 310 to 319

} // namespace brimwell
