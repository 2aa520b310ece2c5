// The program's message boxes, error display, busy notice and help window as a user
// sees them.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "core/base/errors.h"
#include "core/base/scripted_prompter.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "ui/base/busy_notice.h"
#include "ui/base/error_display.h"
#include "ui/base/error_sound.h"
#include "ui/base/help_window.h"
#include "ui/base/message_box_prompter.h"
#include "ui/base/modal.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

// A field that fails the way an entry field can: its key handler raises.
class FailingField : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_X) throw EConvertError("'1.2.3' is not a valid number");
        QLineEdit::keyPressEvent(event);
    }
};

// A window with ports of its own, shown and active: what a test's messages and dialogs
// belong to.
struct PortedWindow {
    explicit PortedWindow(Prompter& prompter) : ports{{{.prompter = prompter}}} {
        UsePorts(window, ports);
        window.resize(200, 100);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qWarning("the window did not show");
        QApplication::setActiveWindow(&window);
        window.activateWindow();
    }
    WindowPorts ports;
    QWidget window;
};

}  // namespace

class TestMessagesAndErrors : public QObject {
    Q_OBJECT

private slots:
    void eachStyleShowsItsButtonsIconAndDefault_data() {
        QTest::addColumn<MsgStyle>("style");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<MsgButton>("onEnter");
        QTest::addColumn<MsgButton>("onEscape");
        QTest::newRow("plain") << MsgStyle::Plain << int(QMessageBox::NoIcon) << QStringList{"OK"} << MsgButton::Ok << MsgButton::Ok;
        QTest::newRow("error") << MsgStyle::Error << int(QMessageBox::Critical) << QStringList{"OK"} << MsgButton::Ok
                               << MsgButton::Ok;
        QTest::newRow("information") << MsgStyle::Information << int(QMessageBox::Information) << QStringList{"OK"}
                                     << MsgButton::Ok << MsgButton::Ok;
        QTest::newRow("ok cancel") << MsgStyle::OkCancel << int(QMessageBox::Question) << QStringList{"OK", "Cancel"}
                                   << MsgButton::Ok << MsgButton::Cancel;
        QTest::newRow("ok cancel, cancel default") << MsgStyle::OkCancelDefaultCancel << int(QMessageBox::Question)
                                                   << QStringList{"OK", "Cancel"} << MsgButton::Cancel << MsgButton::Cancel;
        QTest::newRow("yes no, no default") << MsgStyle::YesNoDefaultNo << int(QMessageBox::Warning)
                                            << QStringList{"Yes", "No"} << MsgButton::No << MsgButton::No;
    }
    void eachStyleShowsItsButtonsIconAndDefault() {
        QFETCH(MsgStyle, style);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QFETCH(MsgButton, onEnter);
        QFETCH(MsgButton, onEscape);
        MessageBoxPrompter prompter;
        PortedWindow owner(prompter);
        ModalScript modals(owner.ports);
        auto look = [&](QDialog& dialog) {
            auto* found = Expect<QMessageBox>(dialog);
            if (!found) return;
            auto& box = *found;
            QCOMPARE(box.windowTitle(), QString::fromLatin1(kAppTitle));
            QCOMPARE(box.text(), QStringLiteral("Confirm request\nDelete current employee from database?"));
            QCOMPARE(int(box.icon()), icon);
            QStringList shown;
            for (QAbstractButton* button : box.buttons()) shown << button->text().remove(QLatin1Char('&'));
            shown.sort();
            QStringList expected = buttons;
            expected.sort();
            QCOMPARE(shown, expected);
        };
        modals.Then([&](QDialog& dialog) {
            look(dialog);
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        modals.Then([&](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
        const char* text = "Confirm request~Delete current employee from database?";
        QCOMPARE(ShowMsg(prompter, text, style), onEnter);
        QCOMPARE(ShowMsg(prompter, text, style), onEscape);
    }

    void aPressedButtonIsTheAnswer() {
        MessageBoxPrompter prompter;
        PortedWindow owner(prompter);
        ModalScript modals(owner.ports);
        modals.Then([](QDialog& dialog) {
            if (auto* box = Expect<QMessageBox>(dialog)) QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        QCOMPARE(ShowMsg(prompter, "Replace?", MsgStyle::OkCancelDefaultCancel), MsgButton::Ok);
    }

    void aFieldErrorFocusesItsFieldOnAnotherPageBeforeTheMessage() {
        ScriptedPrompter prompter;
        const WindowPorts ports{{{.prompter = prompter}}};
        QWidget window;
        UsePorts(window, ports);
        auto* tabs = new QTabWidget(&window);
        auto* first = new QLineEdit;
        first->setObjectName(QStringLiteral("Boxe1"));
        auto* scroll = new QScrollArea;
        auto* page = new QWidget;
        page->setMinimumHeight(2000);
        auto* field = new QLineEdit(page);
        field->setObjectName(QStringLiteral("Amount1"));
        field->move(10, 1800);
        scroll->setWidget(page);
        tabs->addTab(first, QStringLiteral("Employee"));
        tabs->addTab(scroll, QStringLiteral("Amounts"));
        (new QVBoxLayout(&window))->addWidget(tabs);
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        first->setFocus();

        RunCommand([] { throw EFieldException("Amount1", "Box 1 must be greater than zero."); });
        QCOMPARE(prompter.Texts(), std::vector<std::string>{"Box 1 must be greater than zero."});
        QCOMPARE(prompter.Messages()[0].caption, std::string(kAppTitle));
        QCOMPARE(prompter.Messages()[0].style, MsgStyle::Error);
        QCOMPARE(tabs->currentWidget(), scroll);
        QCOMPARE(window.focusWidget(), field);
        QVERIFY(scroll->verticalScrollBar()->value() > 0);
    }

    void anErrorRaisedInsideAnEventEndsOnlyThatStep() {
        ScriptedPrompter prompter;
        const WindowPorts ports{{{.prompter = prompter}}};
        FailingField field;
        UsePorts(field, ports);
        field.show();
        QVERIFY(QTest::qWaitForWindowExposed(&field));
        QTest::keyClicks(&field, QStringLiteral("12"));
        QTest::keyClick(&field, Qt::Key_X);
        QTest::keyClicks(&field, QStringLiteral("3"));
        QCOMPARE(prompter.Texts(), std::vector<std::string>{"'1.2.3' is not a valid number"});
        QCOMPARE(field.text(), QStringLiteral("123"));
    }

    void theBusyNoticeShowsItsTextWithTheHourglassAndGoesAway() {
        MsgWinBusyNote note;
        WaitCursor cursor;
        {
            BusyNotice notice(cursor, note, kAppTitle, "Copying files to /media/usb");
            QVERIFY(note.Window());
            QVERIFY(note.Window()->isVisible());
            QCOMPARE(note.Window()->windowTitle(), QString::fromLatin1(kAppTitle));
            QCOMPARE(note.Window()->LblMsg->text(), QStringLiteral("Copying files to /media/usb"));
            QCOMPARE(note.Window()->size(), QSize(312, 83));
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QVERIFY(!note.Window());
        QVERIFY(!QApplication::overrideCursor());
    }

    void everyHelpTopicTheProgramUsesIsDelivered() {
        ScriptedPrompter prompter;
        PortedWindow owner(prompter);
        for (int topic : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 15, 17, 19}) {
            TFrmHelp* help = ShowHelpTopic(&owner.window, topic);
            QVERIFY2(help, qPrintable(QString::number(topic)));
            QVERIFY(help->Topic->toPlainText().size() > 300);
            QVERIFY(!help->windowTitle().isEmpty());
        }
        QVERIFY(prompter.Messages().empty());
        QVERIFY(!ShowHelpTopic(&owner.window, 99));
        QCOMPARE(prompter.Messages().size(), std::size_t(1));
        QVERIFY(prompter.Texts()[0].starts_with("Help topic 99 cannot be found"));
    }

    // Two windows with ports of their own, in one process: each message, modal dialog,
    // error and error sound of a window reaches its own ports and never the other's.
    void twoWindowsEachTalkOnlyToTheirOwnPorts() {
        ScriptedPrompter firstUser, secondUser;
        PortedWindow first(firstUser), second(secondUser);
        int firstSounds = 0, secondSounds = 0;
        first.ports.errorSound = [&] { ++firstSounds; };
        second.ports.errorSound = [&] { ++secondSounds; };
        ModalScript firstModals(first.ports), secondModals(second.ports);
        auto* inFirst = new QLineEdit(&first.window);
        auto* inSecond = new QLineEdit(&second.window);

        QVERIFY(!ShowHelpTopic(inSecond, 99));
        QCOMPARE(firstUser.Messages().size(), std::size_t(0));
        QCOMPARE(secondUser.Messages().size(), std::size_t(1));

        ErrorSound(inFirst);
        QCOMPARE(firstSounds, 1);
        QCOMPARE(secondSounds, 0);

        secondModals.Then([](QDialog& dialog) { dialog.accept(); });
        QDialog ofSecond(&second.window);
        ofSecond.setWindowTitle(QStringLiteral("Of the second"));
        QCOMPARE(ExecModal(ofSecond), int(QDialog::Accepted));
        QDialog ofFirst(&first.window);
        ofFirst.setWindowTitle(QStringLiteral("Of the first"));
        QCOMPARE(ExecModal(ofFirst), int(QDialog::Rejected));  // no step: closed with Cancel
        QCOMPARE(secondModals.Opened(), QStringList{QStringLiteral("Of the second")});
        QCOMPARE(firstModals.Opened(), QStringList{QStringLiteral("Of the first")});

        // An error goes to the window the user works in.
        QApplication::setActiveWindow(&first.window);
        QVERIFY(QTest::qWaitForWindowActive(&first.window));
        RunCommand([] { throw EQnvrException("Only the first is told."); });
        QCOMPARE(firstUser.Texts(), std::vector<std::string>{"Only the first is told."});
        QCOMPARE(secondUser.Messages().size(), std::size_t(1));
    }
};

QNVR_TEST_MAIN(TestMessagesAndErrors)
#include "tst_messages_and_errors.moc"
