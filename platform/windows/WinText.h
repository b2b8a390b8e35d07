#pragma once
#include <string>
#include <vector>

namespace brimwell {

// The program keeps its text in UTF-8; the Windows API takes and gives UTF-16. Both
// conversions are lossless for valid text; an unpaired surrogate or a malformed UTF-8 byte
// becomes U+FFFD.
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

// The program's arguments, without the program name, from the UTF-16 command line as
// CommandLineToArgvW splits it, in UTF-8. A user name typed on the command line so keeps every
// character until it is converted to the printer's code page, as the window converts it.
std::vector<std::string> CommandLineArguments(const wchar_t* commandLine);

// CommandLineArguments of this process's own command line (GetCommandLineW).
std::vector<std::string> ProcessArguments();

// The system's text for a Win32 error code ("The system cannot find the file specified."),
// in UTF-8 without the line end; empty for 0 (no error).
std::string Win32ErrorText(unsigned long error);

} // namespace brimwell
