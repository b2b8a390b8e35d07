#pragma once
#include "ui/FileDialog.h"

#include <QString>

namespace brimwell {

// The "Text|patterns|Text|patterns||" filter as Qt name filters. Patterns match either
// case, since Qt's filters are case-sensitive on Linux ("*.bmp" also finds "*.BMP").
QString QtNameFilters(const std::string& filter);

class QtFileDialog : public IFileDialog {
public:
    std::optional<std::string> GetOpenFileName(const std::string& initialName,
                                               const std::string& defaultExt,
                                               const std::string& filter) override;
};

} // namespace brimwell
