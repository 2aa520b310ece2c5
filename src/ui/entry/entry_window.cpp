#include "ui/entry/entry_window.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/entry/rule_failure.h"
#include "ui/base/alt_keys.h"
#include "ui/base/dialog_buttons.h"
#include "ui/base/error_display.h"
#include "ui/base/help_window.h"
#include "ui/entry/enter_as_tab.h"
#include "ui/entry/event_errors.h"
#include "ui/entry/field_visit.h"
#include "ui/entry/state_edit.h"

namespace qnvr {

TEntryWindow::TEntryWindow(const QString& objectName, const QString& caption, int helpTopic, QWidget* parent)
    : QDialog(parent), caption_(caption), helpTopic_(helpTopic) {
    GuardAltKeys();
    setObjectName(objectName);
    setWindowTitle(caption_);
    EnterAsTab = new TEnterAsTab(this);
    EnterAsTab->SetEscapeAsClose(true);
    AttachHelpTopic(this, helpTopic_);
}

void TEntryWindow::AddField(QWidget* field, const QString& name, const QString& caption, bool tabStop) {
    field->setObjectName(name);
    field->setAccessibleName(caption);
    ConnectVisit(
        field, this, [this](QWidget* visited) { FieldEnter(visited); },
        [this](QWidget* visited) { FieldExit(visited); });
    fields_.insert(name, field);
    if (auto* line = qobject_cast<QLineEdit*>(field); line && line->isReadOnly()) fixedReadOnly_.insert(line);
    if (tabStop) tabOrder_ << field;
}

QHBoxLayout* TEntryWindow::NewButtonRow() {
    auto* row = new QHBoxLayout(new QWidget(this));
    row->setContentsMargins(0, 4, 0, 0);
    return row;
}

QPushButton* TEntryWindow::AddButton(QHBoxLayout* row, const char* name, const QString& caption) {
    QPushButton* button = NamedButton(this, name, caption);  // Enter moves between the fields
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    row->addWidget(button);
    tabOrder_ << button;
    return button;
}

void TEntryWindow::AddCloseAndHelp(QHBoxLayout* row) {
    BtnClose = AddButton(row, "BtnClose", tr("&Close"));
    BtnHelp = AddButton(row, "BtnHelp", tr("&Help"));
    BtnHelp->setToolTip(tr("Help with this form"));
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(BtnHelp, &QPushButton::clicked, this, [this, topic = helpTopic_] { ShowHelpTopic(this, topic); });
}

void TEntryWindow::Arrange(std::initializer_list<QWidget*> parts) {
    auto* layout = new QVBoxLayout(this);
    for (QWidget* part : parts) layout->addWidget(part);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (qsizetype i = 1; i < tabOrder_.size(); ++i) setTabOrder(tabOrder_[i - 1], tabOrder_[i]);
}

void TEntryWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    RunCommand([this] {
        setWindowTitle(caption_);
        FormShow();
        tabOrder_.front()->setFocus(Qt::OtherFocusReason);
    });
}

void TEntryWindow::done(int result) {
    if (RunGuarded([this] { FormClose(); })) QDialog::done(result);
}

void TEntryWindow::ShowBrowseOnly(bool browseOnly) {
    browseOnly_ = browseOnly;
    for (QWidget* field : std::as_const(fields_)) {
        if (auto* state = qobject_cast<TStateEdit*>(field)) state->SetReadOnly(browseOnly);
        else if (auto* line = qobject_cast<QLineEdit*>(field); line && !fixedReadOnly_.contains(line))
            line->setReadOnly(browseOnly);
    }
    setWindowTitle(browseOnly ? caption_ + tr(" - Browse Only") : caption_);
}

void TEntryWindow::FieldEnter(QWidget* field) { OldColor = HighlightField(field); }

void TEntryWindow::FieldExit(QWidget* field) { SetFieldColor(field, OldColor); }

void TEntryWindow::RaiseOnField(const RuleFailure& failure) {
    if (QWidget* field = Field(QString::fromStdString(failure.field))) field->setFocus(Qt::OtherFocusReason);
    RaiseRuleFailure(failure);
}

}  // namespace qnvr
