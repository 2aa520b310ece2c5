#include "ui/base/busy_notice.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/base/modal.h"

namespace qnvr {

TFrmMsgWin::TFrmMsgWin(const QString& caption, const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FrmMsgWin"));
    setWindowTitle(caption);
    setFixedSize(312, 83);
    LblMsg = new QLabel(text, this);
    LblMsg->setObjectName(QStringLiteral("LblMsg"));
    LblMsg->setAlignment(Qt::AlignCenter);
    LblMsg->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblMsg);
    if (QScreen* screen = QApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

void WaitCursor::Begin() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void WaitCursor::End() { QApplication::restoreOverrideCursor(); }

MsgWinBusyNote::MsgWinBusyNote() = default;
MsgWinBusyNote::~MsgWinBusyNote() = default;

void MsgWinBusyNote::Show(const std::string& caption, const std::string& text) {
    owner_ = OwnerWindow();
    window_ = std::make_unique<TFrmMsgWin>(QString::fromStdString(caption), QString::fromStdString(text), owner_);
    window_->show();
    window_->repaint();
    // The step that follows keeps the event loop busy: map and paint the notice now.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MsgWinBusyNote::Hide() {
    if (!window_) return;
    window_.reset();
    ReturnToWindow(owner_);
}

}  // namespace qnvr
