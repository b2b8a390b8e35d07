#include "platform/windows/RegistryProfile.h"

#include "platform/windows/WinText.h"

#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace brimwell {
namespace {

// A decimal integer with an optional sign, after trimming white space; false when the text
// holds anything else or the number does not fit an int.
bool ParseDecimal(const std::wstring& text, int* value) {
    const wchar_t* space = L" \t\r\n\v\f";
    const auto first = text.find_first_not_of(space);
    if (first == std::wstring::npos) {
        return false;
    }
    const auto last = text.find_last_not_of(space);
    std::size_t i = first;
    const bool negative = text[i] == L'-';
    if (text[i] == L'-' || text[i] == L'+') {
        ++i;
    }
    if (i > last) {
        return false;
    }
    long long number = 0;
    for (; i <= last; ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return false;
        }
        number = number * 10 + (text[i] - L'0');
        if (number > static_cast<long long>(INT_MAX) + 1) {
            return false;
        }
    }
    number = negative ? -number : number;
    if (number < INT_MIN || number > INT_MAX) {
        return false;
    }
    *value = static_cast<int>(number);
    return true;
}

} // namespace

RegistryProfile::RegistryProfile(std::string root) : m_root(std::move(root)) {}

std::string RegistryProfile::DefaultRoot() {
    return std::string("Software\\") + kProfileOrganization + "\\" + kProfileApplication;
}

int RegistryProfile::GetInt(const std::string& section, const std::string& entry,
                            int defaultValue) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WideFromUtf8(m_root + "\\" + section).c_str(), 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return defaultValue;
    }
    const std::wstring name = WideFromUtf8(entry);
    DWORD type = 0;
    DWORD size = 0;
    std::vector<BYTE> data;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        data.resize(size + sizeof(wchar_t)); // room for a terminator the value may lack
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) {
        return defaultValue;
    }

    int value = defaultValue;
    if (type == REG_DWORD && size == sizeof(std::int32_t)) {
        std::int32_t number;
        std::memcpy(&number, data.data(), sizeof number);
        value = number;
    } else if (type == REG_QWORD && size == sizeof(std::int64_t)) {
        std::int64_t number;
        std::memcpy(&number, data.data(), sizeof number);
        if (number >= INT_MIN && number <= INT_MAX) {
            value = static_cast<int>(number);
        }
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(size / sizeof(wchar_t), L'\0');
        std::memcpy(&text[0], data.data(), text.size() * sizeof(wchar_t));
        text = text.substr(0, text.find(L'\0'));
        if (!ParseDecimal(text, &value)) {
            value = defaultValue;
        }
    }
    return value;
}

bool RegistryProfile::WriteInt(const std::string& section, const std::string& entry, int value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(m_root + "\\" + section).c_str(), 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD data = static_cast<DWORD>(value);
    const LONG rc = RegSetValueExW(key, WideFromUtf8(entry).c_str(), 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

} // namespace brimwell
