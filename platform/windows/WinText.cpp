#include "platform/windows/WinText.h"

#include <windows.h>

#include <string>

#include <shellapi.h>

namespace brimwell {

std::wstring WideFromUtf8(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length = static_cast<int>(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, &wide[0], wideLength);
    return wide;
}

std::string Utf8FromWide(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int length = static_cast<int>(wide.size());
    const int byteLength =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (byteLength <= 0) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(byteLength), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &utf8[0], byteLength, nullptr, nullptr);
    return utf8;
}

std::vector<std::string> CommandLineArguments(const wchar_t* commandLine) {
    std::vector<std::string> args;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(commandLine, &argc);
    if (!argv) {
        return args;
    }
    for (int i = 1; i < argc; ++i) {
        args.push_back(Utf8FromWide(argv[i]));
    }
    LocalFree(argv);
    return args;
}

std::vector<std::string> ProcessArguments() {
    return CommandLineArguments(GetCommandLineW());
}

std::string Win32ErrorText(unsigned long error) {
    if (error == 0) {
        return {};
    }
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide = length && text ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) {
        wide.pop_back();
    }
    return wide.empty() ? "error " + std::to_string(error) : Utf8FromWide(wide);
}

} // namespace brimwell
