#include "ui/entry/rs_navigator.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

#include "core/store/record_set.h"
#include "ui/base/drawn_icon.h"
#include "ui/base/error_display.h"

namespace qnvr {
namespace {

constexpr int kButtonSize = 22;  // each visible button is square; the bar is one button high
constexpr int kGlyphSize = 16;

struct NavButtonSpec {
    const char* objectName;
    const char* resource;  // the glyph
    const char* hint;      // until the owner names its records
    Qt::Key altKey;
};
// In TNavigateBtn order, which is also TNavigateAction order.
const NavButtonSpec kNavButtons[kNavigatorButtons] = {
    {"NavBtnFirst", "NAV_FIRST", "First Record", Qt::Key_F},
    {"NavBtnNext", "NAV_NEXT", "Next Record", Qt::Key_N},
    {"NavBtnPrior", "NAV_PRIOR", "Prior Record", Qt::Key_P},
    {"NavBtnLast", "NAV_LAST", "Last Record", Qt::Key_L},
    {"NavBtnList", "NAV_LIST", "List Records", Qt::Key_I},
    {"NavBtnNew", "NAV_NEW", "New Record", Qt::Key_E},
    {"NavBtnDelete", "NAV_DELETE", "Delete Record", Qt::Key_D},
};

const NavButtonSpec& Spec(TNavigateBtn button) { return kNavButtons[static_cast<std::size_t>(button)]; }

// Glyphs on a 16 by 16 grid: arrows point the way the cursor moves, a bar marks the end
// of the file, List shows lines, New a plus and Delete a minus.
const QColor kGlyphInk(32, 64, 80);
const QColor kNewInk(0, 120, 60);
const QColor kDeleteInk(176, 32, 32);

void Triangle(QPainter& p, int tipX, int baseX) {
    QPainterPath path;
    path.moveTo(tipX, 8);
    path.lineTo(baseX, 3);
    path.lineTo(baseX, 13);
    path.closeSubpath();
    p.fillPath(path, kGlyphInk);
}

void Bar(QPainter& p, int x) { p.fillRect(QRect(x, 3, 2, 10), kGlyphInk); }

using GlyphPainter = void (*)(QPainter&);
struct GlyphSpec {
    const char* resource;
    GlyphPainter paint;
};
const GlyphSpec kGlyphs[] = {
    {"NAV_FIRST", [](QPainter& p) { Bar(p, 3); Triangle(p, 5, 12); }},
    {"NAV_PRIOR", [](QPainter& p) { Triangle(p, 4, 11); }},
    {"NAV_NEXT", [](QPainter& p) { Triangle(p, 12, 5); }},
    {"NAV_LAST", [](QPainter& p) { Triangle(p, 11, 4); Bar(p, 11); }},
    {"NAV_LIST",
     [](QPainter& p) {
         for (int y : {4, 8, 12}) {
             p.fillRect(QRect(2, y - 1, 2, 2), kGlyphInk);
             p.fillRect(QRect(6, y - 1, 8, 2), kGlyphInk);
         }
     }},
    {"NAV_NEW",
     [](QPainter& p) {
         p.fillRect(QRect(7, 3, 2, 10), kNewInk);
         p.fillRect(QRect(3, 7, 10, 2), kNewInk);
     }},
    {"NAV_DELETE", [](QPainter& p) { p.fillRect(QRect(3, 7, 10, 2), kDeleteInk); }},
};

}  // namespace

QIcon NavigatorGlyph(const QString& resourceName) {
    for (const GlyphSpec& glyph : kGlyphs) {
        if (resourceName == QLatin1String(glyph.resource)) return DrawnIcon(kGlyphSize, glyph.paint);
    }
    return {};
}

TRSNavigator::TRSNavigator(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RSNavigator"));
    setAccessibleName(tr("Record navigator"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < kNavigatorButtons; ++i) {
        const auto button = static_cast<TNavigateBtn>(i);
        auto* tool = new QToolButton(this);
        tool->setObjectName(QString::fromLatin1(Spec(button).objectName));
        tool->setIcon(NavigatorGlyph(QString::fromLatin1(Spec(button).resource)));
        tool->setIconSize(QSize(kGlyphSize, kGlyphSize));
        tool->setFixedSize(kButtonSize, kButtonSize);
        // The fields keep the focus: the bar is worked with the mouse and the Alt keys.
        tool->setFocusPolicy(Qt::NoFocus);
        connect(tool, &QToolButton::clicked, this, [this, button] { RunCommand([&] { BtnClick(button); }); });
        row->addWidget(tool);
        buttons_[static_cast<std::size_t>(i)] = tool;
        SetButtonHint(button, QString::fromLatin1(Spec(button).hint));
    }
    ArrangeButtons();
    InitNavigator();
}

void TRSNavigator::SetRecordSet(TRecordSet* recordSet) {
    recordSet_ = recordSet;
    InitNavigator();
}

bool TRSNavigator::IsButtonVisible(TNavigateBtn button) const { return !Button(button)->isHidden(); }

void TRSNavigator::SetButtonVisible(TNavigateBtn button, bool visible) {
    Button(button)->setHidden(!visible);
    ArrangeButtons();
}

void TRSNavigator::SetAutoPerform(bool on) {
    autoPerform_ = on;
    InitNavigator();
}

QString TRSNavigator::ButtonHint(TNavigateBtn button) const { return Button(button)->toolTip(); }

void TRSNavigator::SetButtonHint(TNavigateBtn button, const QString& hint) {
    Button(button)->setToolTip(hint);
    Button(button)->setAccessibleName(hint);  // the glyph has no caption to read
}

// The visible buttons share the bar's width equally; hidden ones take no room.
void TRSNavigator::ArrangeButtons() {
    int visible = 0;
    for (QToolButton* button : buttons_) visible += button->isHidden() ? 0 : 1;
    setFixedSize(visible * kButtonSize, kButtonSize);
}

void TRSNavigator::InitNavigator() {
    const bool usable = recordSet_ && recordSet_->Active() && autoPerform_;
    bool enabled[kNavigatorButtons] = {};
    if (usable) {
        const int count = recordSet_->RecordCount();
        const bool writable = !recordSet_->BrowseOnly();
        enabled[nbFirst] = enabled[nbPrior] = !recordSet_->Bof();
        enabled[nbNext] = enabled[nbLast] = !recordSet_->Eof();
        enabled[nbList] = count > 1;
        enabled[nbNew] = count < recordSet_->MaxRec && writable;
        enabled[nbDelete] = enabled[nbList] && writable;  // the only record can never be deleted
    }
    for (int i = 0; i < kNavigatorButtons; ++i) buttons_[static_cast<std::size_t>(i)]->setEnabled(enabled[i]);
}

void TRSNavigator::BtnClick(TNavigateBtn button) {
    if (!recordSet_ || !recordSet_->Active() || !autoPerform_) return;
    action_ = static_cast<TNavigateAction>(button);
    cancelled_ = false;
    if (OnBeforeAction) OnBeforeAction(*this);
    if (cancelled_) {
        cancelled_ = false;
        return;
    }
    struct RefreshButtons {  // also after an error in the after-event: the store has moved
        TRSNavigator* navigator;
        ~RefreshButtons() { navigator->InitNavigator(); }
    } refresh{this};
    PerformAction(action_);
    if (OnAfterAction) OnAfterAction(*this);
}

void TRSNavigator::PerformAction(TNavigateAction action) {
    TRecordSet& store = *recordSet_;
    switch (action) {
        case baFirst: store.FirstRec(); break;
        case baNext: store.NextRec(); break;
        case baPrior: store.PriorRec(); break;
        case baLast: store.LastRec(); break;
        case baList:
            if (OnBtnListClick) OnBtnListClick(*this);
            break;
        case baNew: store.NewRec(); break;
        case baDelete: store.DeleteRec(); break;  // asks the user itself
    }
}

bool TRSNavigator::KeyDownHandler(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers != Qt::AltModifier) return false;
    for (int i = 0; i < kNavigatorButtons; ++i) {
        const auto button = static_cast<TNavigateBtn>(i);
        if (Spec(button).altKey != key) continue;
        // The key is the bar's even when its button cannot act: it never reaches a field
        // as typing.
        if (IsButtonVisible(button) && Button(button)->isEnabled()) BtnClick(button);
        return true;
    }
    return false;
}

}  // namespace qnvr
