#pragma once
#include "ui/Dialog.h"

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <functional>

namespace brimwell {

// The file-browse edit control: a single-line edit with a browse button beside it. Every
// change of the text raises textChanged (the edit's change notification). The button stays
// disabled until the logic gives it a browse handler.
class QtEditBrowse : public QWidget, public IBrowseEditCtrl {
    Q_OBJECT
public:
    explicit QtEditBrowse(QWidget* parent = nullptr);

    void SetBrowseHandler(std::function<void()> onBrowse) override;
    void SetBrowseName(const std::string& name) override;

    QString text() const { return m_edit->text(); }
    void setText(const QString& text) { m_edit->setText(text); }
    QLineEdit* Edit() const { return m_edit; }
    QToolButton* BrowseButton() const { return m_button; }

signals:
    void textChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_button;
    std::function<void()> m_onBrowse;
};

} // namespace brimwell
