#pragma once
// TEntryWindow: what the two form entry windows (TFrmW2, TFrmW3) share. Their fields are
// kept by objectName and visited in the order they were added; the field being visited
// is highlighted; Enter moves on as Tab does and Escape closes; Close and Help sit in the
// button row. Showing runs the window's opening steps and ends on its first field; every
// way of closing runs its closing steps, which must pass the record's rules first.
#include <QColor>
#include <QDialog>
#include <QHash>
#include <QList>
#include <QSet>

#include "ui/entry/field_color.h"

class QHBoxLayout;
class QLineEdit;
class QPushButton;

namespace qnvr {

class TEnterAsTab;
struct RuleFailure;

class TEntryWindow : public QDialog {
    Q_OBJECT

public:
    // The light cyan of the field that has the focus.
    static constexpr QColor HighlightColor = kVisitHighlight;

    QColor OldColor;  // the focused field's colour before its highlight
    QPushButton* BtnClose = nullptr;
    QPushButton* BtnHelp = nullptr;
    TEnterAsTab* EnterAsTab;

    // The field whose objectName is name (nullptr for none).
    QWidget* Field(const QString& name) const { return fields_.value(name); }

    // Every way of closing ends here: FormClose must run to its end first.
    void done(int result) override;

    // The record's file is open browse-only (another copy of the program writes it):
    // nothing typed could be kept.
    bool BrowseOnly() const { return browseOnly_; }

protected:
    TEntryWindow(const QString& objectName, const QString& caption, int helpTopic, QWidget* parent);

    // The opening steps, each time the window is shown, and the closing steps.
    virtual void FormShow() = 0;
    virtual void FormClose() = 0;
    // A visit of a field begins and ends: the highlight and its removal.
    virtual void FieldEnter(QWidget* field);
    virtual void FieldExit(QWidget* field);

    // Names a field and keeps it; a tab stop joins the tab order after the fields before.
    void AddField(QWidget* field, const QString& name, const QString& caption, bool tabStop);
    // A row for the buttons under the form; the row widget is the layout's parent.
    QHBoxLayout* NewButtonRow();
    // A button of the row, after the fields and the buttons before it in the tab order.
    QPushButton* AddButton(QHBoxLayout* row, const char* name, const QString& caption);
    void AddCloseAndHelp(QHBoxLayout* row);
    // Stacks the parts of the window at their own sizes and sets the tab order.
    void Arrange(std::initializer_list<QWidget*> parts);
    // Moves the focus to the field at fault and raises the failure as EFieldException.
    [[noreturn]] void RaiseOnField(const RuleFailure& failure);
    // In a browse-only file every field refuses typing and the caption says why; the
    // fields that are always read-only stay so either way.
    void ShowBrowseOnly(bool browseOnly);

    void showEvent(QShowEvent* event) override;

private:
    QString caption_;
    int helpTopic_;
    QHash<QString, QWidget*> fields_;
    QList<QWidget*> tabOrder_;  // the fields and buttons, in the order Tab visits them
    QSet<QLineEdit*> fixedReadOnly_;  // read-only whatever the file allows
    bool browseOnly_ = false;
};

}  // namespace qnvr
