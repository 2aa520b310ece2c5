#pragma once
// TFrmBackup and TFrmRestore: where to back the open payer file up to, or restore it
// from. Both show the current file and take a folder, typed or picked.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qnvr {

class TFrmBackupRestore : public QDialog {
    Q_OBJECT
public:
    QGroupBox* GroupCurrent;
    QLabel* LblExplanation;
    QLabel* LblFileName;
    QLabel* LblLocation;
    QGroupBox* GroupFolder;
    QLineEdit* Path;
    QPushButton* BtnBrowse;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

protected:
    struct Texts {
        const char* objectName;
        QString caption;
        QString explanation;
        QString folderGroup;
        QString pickerTitle;
    };
    // fileName: the open payer file's full path; location: the program folder; path:
    // the remembered backup folder.
    TFrmBackupRestore(const Texts& texts, const QString& fileName, const QString& location, const QString& path,
                      QWidget* parent);

private:
    void BtnBrowseClick();
    QString pickerTitle_;
};

class TFrmBackup final : public TFrmBackupRestore {
    Q_OBJECT
public:
    TFrmBackup(const QString& fileName, const QString& location, const QString& path, QWidget* parent = nullptr);
};

class TFrmRestore final : public TFrmBackupRestore {
    Q_OBJECT
public:
    TFrmRestore(const QString& fileName, const QString& location, const QString& path, QWidget* parent = nullptr);
};

}  // namespace qnvr
