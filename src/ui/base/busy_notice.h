#pragma once
// The busy notice TFrmMsgWin and the hourglass cursor, as the desktop program shows them
// for the core's long steps (copies, downloads, transfers).
#include <QDialog>
#include <QPointer>

#include <memory>

#include "core/base/busy.h"

class QLabel;

namespace qnvr {

// A small fixed window without buttons or system menu: a caption and a centred,
// word-wrapped line of text.
class TFrmMsgWin final : public QDialog {
    Q_OBJECT
public:
    TFrmMsgWin(const QString& caption, const QString& text, QWidget* parent = nullptr);
    QLabel* LblMsg;
};

class WaitCursor final : public BusyIndicator {
public:
    void Begin() override;
    void End() override;
};

// Shows TFrmMsgWin at once (painted before the long step starts) and destroys it again.
class MsgWinBusyNote final : public BusyNote {
public:
    MsgWinBusyNote();
    ~MsgWinBusyNote() override;
    void Show(const std::string& caption, const std::string& text) override;
    void Hide() override;
    TFrmMsgWin* Window() const { return window_.get(); }

private:
    std::unique_ptr<TFrmMsgWin> window_;
    QPointer<QWidget> owner_;  // the window that is active again once the notice is gone
};

}  // namespace qnvr
