#pragma once
#include "ui/MessageBox.h"

namespace brimwell {

// The application message box: caption is the application title (string 57344).
class QtMessageBox : public IMessageBox {
public:
    MsgResult Show(const std::string& textUtf8, MsgIcon icon, MsgButtons buttons) override;
};

} // namespace brimwell
