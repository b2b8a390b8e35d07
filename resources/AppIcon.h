#pragma once
#include <QIcon>

namespace brimwell {

// The application icon, rendered from its SVG source at 16, 32, 48 and 256 pixels.
QIcon AppIcon();
// Registers the compiled-in resources (icon, pictures); safe to call any number of times.
void EnsureResources();

inline constexpr int kAppIconSizes[] = {16, 32, 48, 256};

} // namespace brimwell
