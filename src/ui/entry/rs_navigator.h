#pragma once
// TRSNavigator: a bar of seven glyph buttons bound to a record store. It moves through
// the store's records, appends and deletes records, and hands the List button to its
// owner. Before and after each action it tells its owner, which validates and saves the
// current record first (an error raised there stops the action before the store moves)
// and shows the record the store is on afterwards.
#include <QIcon>
#include <QWidget>

#include <array>
#include <functional>

class QToolButton;

namespace qnvr {

class TRecordSet;

// The buttons, left to right (Next before Prior), and the actions they start, in the
// same order.
enum TNavigateBtn { nbFirst, nbNext, nbPrior, nbLast, nbList, nbNew, nbDelete };
enum TNavigateAction { baFirst, baNext, baPrior, baLast, baList, baNew, baDelete };
inline constexpr int kNavigatorButtons = 7;

// The glyph of a navigator button by its resource name ("NAV_FIRST" .. "NAV_DELETE"),
// drawn by the program itself; a null icon for any other name.
QIcon NavigatorGlyph(const QString& resourceName);

class TRSNavigator : public QWidget {
    Q_OBJECT

public:
    using TNavigatorEvent = std::function<void(TRSNavigator& sender)>;

    explicit TRSNavigator(QWidget* parent = nullptr);

    TRecordSet* RecordSet() const { return recordSet_; }
    void SetRecordSet(TRecordSet* recordSet);

    bool IsButtonVisible(TNavigateBtn button) const;
    void SetButtonVisible(TNavigateBtn button, bool visible);
    bool AutoPerform() const { return autoPerform_; }
    void SetAutoPerform(bool on);
    QString ButtonHint(TNavigateBtn button) const;
    void SetButtonHint(TNavigateBtn button, const QString& hint);
    QToolButton* Button(TNavigateBtn button) const { return buttons_[static_cast<std::size_t>(button)]; }

    TNavigatorEvent OnBeforeAction;
    TNavigatorEvent OnAfterAction;
    TNavigatorEvent OnBtnListClick;

    TNavigateAction Action() const { return action_; }
    // Called from OnBeforeAction: the action is not performed.
    void Cancel() { cancelled_ = true; }

    // Enables the buttons as the store's position allows.
    void InitNavigator();
    // What a click on the button does (also the Alt key's work). Errors raised by
    // OnBeforeAction propagate to the caller.
    void BtnClick(TNavigateBtn button);
    // The owning window's key-down events: Alt+F, N, P, L, I, E, D press First, Next,
    // Prior, Last, List, New, Delete when that button is visible and enabled. True
    // for each of these seven keys, whether or not its button could act: the key is
    // used up and must not reach a field.
    bool KeyDownHandler(int key, Qt::KeyboardModifiers modifiers);

private:
    void ArrangeButtons();
    void PerformAction(TNavigateAction action);

    std::array<QToolButton*, kNavigatorButtons> buttons_{};
    TRecordSet* recordSet_ = nullptr;
    bool autoPerform_ = true;
    TNavigateAction action_ = baFirst;
    bool cancelled_ = false;
};

}  // namespace qnvr
