#pragma once
#include <optional>
#include <string>

namespace brimwell {

// The file-open dialog. filter uses the "Text (*.a;*.b)|*.a;*.b|All Files|*.*||" form.
// Returns the chosen full path, or nothing when the user cancelled.
class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    virtual std::optional<std::string> GetOpenFileName(const std::string& initialName,
                                                       const std::string& defaultExt,
                                                       const std::string& filter) = 0;
};

} // namespace brimwell
