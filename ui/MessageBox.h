#pragma once
#include <string>

namespace brimwell {

enum class MsgIcon { Warning, Error };
enum class MsgButtons { Ok, OkCancel };
enum class MsgResult { Ok, Cancel };

// The application message box: caption is the application title. Closing the box without
// pressing a button answers Cancel.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual MsgResult Show(const std::string& textUtf8, MsgIcon icon, MsgButtons buttons) = 0;
};

} // namespace brimwell
