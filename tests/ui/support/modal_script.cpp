#include "support/modal_script.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QGuiApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QTest>

#include "ui/base/modal.h"

namespace qnvr::testing {

ModalScript::ModalScript(WindowPorts& ports) : ports_(ports), before_(std::move(ports.modal)) {
    ports_.modal = [this](QDialog& dialog) { Run(dialog); };
}

ModalScript::~ModalScript() { ports_.modal = std::move(before_); }

ModalScript& ModalScript::Then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

void ModalScript::Run(QDialog& dialog) {
    opened_ << dialog.windowTitle();
    if (steps_.empty()) {
        unexpected_ << dialog.windowTitle();
        dialog.reject();
        return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    // As on a desktop, the window that just opened has the keyboard.
    QApplication::setActiveWindow(&dialog);
    if (!QTest::qWaitForWindowActive(&dialog) || QApplication::activeWindow() != &dialog)
        qWarning("%s did not become the active window", qPrintable(dialog.windowTitle()));
    step(dialog);
}

void TypeInto(QDialog& dialog, const char* fieldName, const QString& text) {
    auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(fieldName));
    QVERIFY2(field, fieldName);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void ChooseFile(QDialog& fileDialog, const QString& path) {
    auto* field = fileDialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(field);
    // Pasted, as a person does with a whole path: typed one key at a time, the dialog
    // would move into each folder of it on the way. (It moves to the path's folder and
    // keeps the last name in the field.)
    QGuiApplication::clipboard()->setText(path);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    if (QCompleter* completer = field->completer(); completer && completer->popup()->isVisible())
        QTest::keyClick(completer->popup(), Qt::Key_Escape);  // puts the list of suggestions away
    // The dialog reads the folder in the background and takes the name once it has.
    auto* buttons = fileDialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QVERIFY(buttons);
    QAbstractButton* accept = nullptr;
    for (QAbstractButton* button : buttons->buttons())
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) accept = button;
    QVERIFY(accept);
    QTRY_VERIFY(accept->isEnabled());
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY2(!fileDialog.isVisible(), qPrintable(QStringLiteral("the dialog did not take ") + path));
    if (auto* files = qobject_cast<QFileDialog*>(&fileDialog)) QCOMPARE(files->selectedFiles(), QStringList{path});
}

void Click(QDialog& dialog, const char* buttonName) {
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
    QVERIFY2(button, buttonName);
    QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace qnvr::testing
