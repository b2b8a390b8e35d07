#pragma once
#include "ui/MessageBox.h"

#include <string>

namespace brimwell {

// MessageBoxW with the application title as caption, owned by the main window.
class WinMessageBox : public IMessageBox {
public:
    MsgResult Show(const std::string& textUtf8, MsgIcon icon, MsgButtons buttons) override;
};

} // namespace brimwell
