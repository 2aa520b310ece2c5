#pragma once
// TFrmTransfer: carries last year's payer files over into this year's format. The user
// names the folder of last year's files, chooses some of them and transfers them into
// the data folder. Three states: entering the folder, choosing files, finished (only
// Exit is left).
#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;

namespace qnvr {

class TFrmTransfer final : public QDialog {
    Q_OBJECT
public:
    struct Folders {
        std::string DocumentsFolder;  // the proposed folder of last year's files lies below it
        std::string DataFolder;       // where this year's payer files are written
        std::string StateFolder;      // where last year's electronic filing settings are copied to
        std::vector<std::string> PriorYearFolders;  // where last year's program keeps them
    };
    // pauseMilliseconds: how long the busy notice stands before and after the transfer.
    explicit TFrmTransfer(Folders folders, QWidget* parent = nullptr, int pauseMilliseconds = 500);

    QLineEdit* Path;
    QPushButton* BtnBrowse;
    QPushButton* BtnOk;
    QListWidget* FileListBox;
    QLabel* LblAlreadyTransferred;
    QPushButton* BtnSelectAll;
    QPushButton* BtnDeselectAll;
    QPushButton* BtnTransfer;
    QCheckBox* ChkNoOverwrite;
    QPushButton* BtnCancel;
    QPushButton* BtnHelp;
    QStatusBar* StatusBar;
    QLabel* StatusText;  // the status bar's one panel

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BtnBrowseClick();
    void BtnOkClick();
    void BtnSelectAllClick();
    void BtnDeselectAllClick();
    void BtnTransferClick();
    void ChkNoOverwriteClick(bool checked);
    void UpdateSelection();
    void Finish(int transferred);
    void Pause();

    Folders folders_;
    int pauseMilliseconds_;
    std::string fromFolder_;
};

}  // namespace qnvr
