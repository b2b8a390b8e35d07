#pragma once
#include "platform/Dialog.h"

#include <QTextEdit>
#include <cstddef>
#include <cstdint>

namespace brimwell {

// The rich-text view: a multi-line text view that takes its document from a read callback,
// as 8-bit text or RTF. Read-only, it lets the user scroll, select and copy, but neither
// typing nor pasting nor dropping changes the text. Lines wrap at the view's width.
class CRichEditCtrl : public QTextEdit, public IRichTextCtrl {
    Q_OBJECT
public:
    explicit CRichEditCtrl(QWidget* parent = nullptr);

    void SetReadOnly(bool bReadOnly);
    // The vertical scroll bar is always there, and disabled while the text fits.
    void SetDisableNoScroll(bool bDisableNoScroll);

    std::int32_t StreamIn(int nFormat, EditStream& es) override;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void UpdateScrollBarEnabled();

    bool m_bDisableNoScroll = false;
};

} // namespace brimwell
