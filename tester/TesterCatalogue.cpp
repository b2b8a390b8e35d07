#include "tester/TesterCatalogue.h"

#include "resources/StringTable.h"

namespace brimwell {

const TesterTypeInfo kTesterCatalogue[] = {
    {310, 1000, '1'}, {311, 1001, '4'}, {312, 1002, '5'}, {313, 1003, '6'},
    {314, 1004, '8'}, {315, 1005, '2'}, {316, 1006, '1'}, {317, 1007, '1'},
    {318, 1008, '9'}, {319, 1009, 'A'}, {0, 0, '\0'},
};

const TesterTypeInfo& TesterRow(int index) {
    if (index < 0 || index >= kTesterCount) {
        return kTesterCatalogue[0];
    }
    return kTesterCatalogue[index];
}

int TesterIndexForCode(int code) {
    for (int i = 0; kTesterCatalogue[i].nNameId != 0; ++i) {
        if (kTesterCatalogue[i].nCode == code) {
            return i;
        }
    }
    return 0;
}

int TesterCode(int index) {
    return TesterRow(index).nCode;
}
int TesterNameId(int index) {
    return TesterRow(index).nNameId;
}
char TesterMode(int index) {
    return TesterRow(index).chMode;
}
bool TesterUsesUserName(int index) {
    return TesterRow(index).nNameId == IDS_TESTER_TLA;
}

const char* TesterDisplayName(int index) {
    const char* name = LoadStringResource(TesterRow(index).nNameId);
    return name ? name : "";
}

int TesterIndexFromText(const std::string& text) {
    if (text.empty()) {
        return -1;
    }
    const bool digits =
        text.size() <= 4 && text.find_first_not_of("0123456789") == std::string::npos;
    if (digits) {
        // Written without leading zeros: one digit is an index, four digits a code.
        const int value = std::stoi(text);
        if (text.size() == 1) {
            return value;
        }
        if (text.size() == 4) {
            for (int i = 0; i < kTesterCount; ++i) {
                if (kTesterCatalogue[i].nCode == value) {
                    return i;
                }
            }
        }
        return -1;
    }
    for (int i = 0; i < kTesterCount; ++i) {
        if (text == TesterDisplayName(i)) {
            return i;
        }
    }
    return -1;
}

} // namespace brimwell
