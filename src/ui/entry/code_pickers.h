#pragma once
// The two code lists the W-2 window opens when the user double-clicks a Box 12 code
// field or a box 14b occupation code field: those fields are read-only, so a pick from
// the list is the only way to set or clear them.
#include <QDialog>
#include <QString>

#include <vector>

#include "core/entry/code_lists.h"

class QKeyEvent;
class QPushButton;
class QShowEvent;
class QTreeWidget;
class QWidget;

namespace qnvr {

// Shows the IRS Box 12 code list modally; returns the code of the chosen row ("A",
// "DD", ...), or "" when the user cancelled.
QString PickBox12Code(QWidget* parent);

// Shows the Treasury tipped occupation code list modally; returns the three-digit code
// of the chosen row, or "" when the user cancelled.
QString PickOccupationCode(QWidget* parent);

// A modal list of codes with Ok and Cancel. On showing, row 0 is selected and the list
// has the focus, so Ok right away picks the first code. Ok (the button, Enter, or a
// double-click on a row) closes the window with Selected = the selected row; a heading
// row is refused with the error sound and the window stays open. Cancel closes it with
// Selected = -1. The window has no close box and Escape does nothing: the user answers
// with Ok or Cancel.
class TCodeListWindow : public QDialog {
    Q_OBJECT

public:
    int Selected = -1;  // the row chosen with Ok; -1 after Cancel

    // The code of the chosen row, "" after Cancel.
    QString SelectedCode() const;

    void BtnOkClick();
    void BtnCancelClick();

protected:
    struct Look {
        const char* objectName;
        QString caption;
        const char* listName;
    };
    TCodeListWindow(const Look& look, const std::vector<CodeListRow>& rows, QWidget* parent);

    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void FillList();
    // The row the list has selected, -1 when none.
    int SelectedRow() const;

    const std::vector<CodeListRow>& rows_;
    QTreeWidget* list_;
};

// TFrmIRSBox12Codes: the 34 Box 12 codes.
class TFrmIRSBox12Codes : public TCodeListWindow {
    Q_OBJECT

public:
    explicit TFrmIRSBox12Codes(QWidget* parent = nullptr);
};

// TFrmTTOBox14bCodes: the Treasury tipped occupation codes under their category
// headings. Its buttons carry hints and are skipped by Tab, which stays in the list.
class TFrmTTOBox14bCodes : public TCodeListWindow {
    Q_OBJECT

public:
    explicit TFrmTTOBox14bCodes(QWidget* parent = nullptr);
};

}  // namespace qnvr
