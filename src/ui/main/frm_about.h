#pragma once
// TFrmAbout: the product name, version and web site, and the machine's memory figures.
#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace qnvr {

class TExtrudedLabel;

class TFrmAbout final : public QDialog {
    Q_OBJECT
public:
    // openWebAddress: how the web link is opened (the desktop's browser in the program).
    explicit TFrmAbout(QWidget* parent = nullptr, std::function<bool(const std::string&)> openWebAddress = {});

    TExtrudedLabel* LblProductName;
    QLabel* ProgramIcon;
    QLabel* LblVersion;
    QLabel* LblWebSite;
    QLabel* Label3;
    QLabel* PhysMem;
    QLabel* Label4;
    QLabel* FreeRes;
    QLabel* LblLicensedUse;
    QPushButton* BtnOk;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void LblWebSiteClick();
    std::function<bool(const std::string&)> openWebAddress_;
};

}  // namespace qnvr
