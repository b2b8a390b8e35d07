#pragma once
#include <QIcon>
#include <QImage>

namespace brimwell {

// The application icon, rendered from its SVG source at 16, 32, 48 and 256 pixels.
QIcon AppIcon();
// The icon drawn from its SVG source into a transparent size x size image; a null image when
// the source does not render. The window's icon and the installed PNG icons both come from it.
QImage RenderAppIcon(int size);
// Registers the compiled-in resources (icon, pictures); safe to call any number of times.
void EnsureResources();

inline constexpr int kAppIconSizes[] = {16, 32, 48, 256};

} // namespace brimwell
