#pragma once
// The status window of a report job: "Generating page %p" while the pages are recorded,
// "Printing page %p" while they are printed, with a Cancel button. The job runs on the
// window thread, so the window handles its events each time the text changes.
#include <QDialog>

#include <chrono>

class QLabel;
class QPushButton;

namespace qnvr {

class TFrmReportStatus final : public QDialog {
    Q_OBJECT
public:
    explicit TFrmReportStatus(const QString& caption, QWidget* parent = nullptr);

    // Shows the text and lets the user reach Cancel; false once Cancel was pressed.
    bool Update(const QString& text);
    bool Cancelled() const { return cancelled_; }

    QLabel* StatusText;
    QPushButton* BtnCancel;

protected:
    void reject() override;  // Escape and the window's close button cancel too

private:
    void HandleEvents();

    bool cancelled_ = false;
    std::chrono::steady_clock::time_point lastEvents_{};
};

}  // namespace qnvr
