#pragma once
#include "ui/Dialog.h"

#include <QTextEdit>
#include <QUrl>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace brimwell {

// The rich-text view: a multi-line text view that takes its document from a read callback,
// as 8-bit text or RTF. Read-only, it lets the user scroll, select and copy, but neither
// typing nor pasting nor dropping changes the text. Lines wrap at the view's width.
class QtRichTextView : public QTextEdit, public IRichTextCtrl {
    Q_OBJECT
public:
    explicit QtRichTextView(QWidget* parent = nullptr);

    void SetReadOnly(bool bReadOnly);
    // The vertical scroll bar is always there, and disabled while the text fits.
    void SetDisableNoScroll(bool bDisableNoScroll);

    std::int32_t StreamIn(int nFormat, EditStream& es) override;

    // Opens an address the user clicked (e-mail and web addresses in the text are links);
    // the desktop's mail program or browser unless a test puts its own here.
    std::function<void(const QUrl&)> m_openUrl;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateScrollBarEnabled();
    // Makes every e-mail and web address in the text a link, as the platform's rich-edit
    // control does with automatic address detection.
    void MarkAddresses();

    bool m_bDisableNoScroll = false;
};

} // namespace brimwell
