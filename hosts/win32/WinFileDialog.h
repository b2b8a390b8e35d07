#pragma once
// First of all: commdlg.h names the ANSI or wide function by the macro GetOpenFileName, which
// would rename the file dialog interface's method in what follows.
#include <windows.h>

#include <commdlg.h>
#undef GetOpenFileName

#include "ui/FileDialog.h"

#include <optional>
#include <string>

namespace brimwell {

// GetOpenFileNameW: an existing file, the filter's descriptions in the type list.
class WinFileDialog : public IFileDialog {
public:
    std::optional<std::string> GetOpenFileName(const std::string& initialName,
                                               const std::string& defaultExt,
                                               const std::string& filter) override;
};

// The "A|*.a|B|*.b||" filter as OPENFILENAMEW wants it: "A\0*.a\0B\0*.b\0\0". A description
// without its pattern list is dropped; an empty description ends the list.
std::wstring NativeFileFilter(const std::string& filter);

} // namespace brimwell
