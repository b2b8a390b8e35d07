#pragma once
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <string>

namespace brimwell {

// The file-browse edit: a single-line edit with a browse button beside it. Every change of
// the text raises textChanged (the edit's change notification). In file-browse mode the
// button runs OnBrowse, which asks the file-open dialog of the platform services.
class CEditBrowseCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CEditBrowseCtrl(QWidget* parent = nullptr);

    void EnableFileBrowseButton(const std::string& defaultExt, const std::string& filter);
    bool IsFileBrowseMode() const { return m_bFileMode; }
    const std::string& DefaultExt() const { return m_defaultExt; }
    const std::string& Filter() const { return m_filter; }

    QString text() const { return m_edit->text(); }
    void setText(const QString& text) { m_edit->setText(text); }
    QLineEdit* Edit() const { return m_edit; }
    QToolButton* BrowseButton() const { return m_button; }

    // What the browse button does. The base behaviour: ask for a file with the current
    // text as the initial name and put the chosen path into the edit when it differs.
    virtual void OnBrowse();
    // Runs after the browse action put a chosen path into the edit; does nothing here.
    virtual void OnAfterUpdate() {}

signals:
    void textChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_button;
    bool m_bFileMode = false;
    std::string m_defaultExt;
    std::string m_filter;
};

} // namespace brimwell
