// The record navigator bar over a real record file: which buttons are enabled where,
// clicks and Alt keys that move the store, and the before and after events around them.
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <stdexcept>

#include "core/base/errors.h"
#include "core/base/scripted_prompter.h"
#include "core/store/record_set.h"
#include "support/qnvr_test_main.h"
#include "ui/entry/rs_navigator.h"
#include "ui/base/window_ports.h"

using namespace qnvr;

namespace {

// A window that sees its field's key presses first and hands them to the navigator, as
// the W-2 window does.
class NavigatorHost : public QWidget {
public:
    NavigatorHost() {
        auto* layout = new QHBoxLayout(this);
        field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("Field"));
        field->installEventFilter(this);
        navigator = new TRSNavigator(this);
        layout->addWidget(field);
        layout->addWidget(navigator);
    }
    QLineEdit* field;
    TRSNavigator* navigator;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        bool handled = true;
        RunCommand([&] { handled = navigator->KeyDownHandler(key->key(), key->modifiers()); });
        return handled;
    }
};

QString EnabledButtons(const TRSNavigator& navigator) {
    static const char* const kLetters = "FNPLIED";  // First Next Prior Last lIst nEw Delete
    QString enabled;
    for (int i = 0; i < kNavigatorButtons; ++i)
        if (navigator.Button(static_cast<TNavigateBtn>(i))->isEnabled()) enabled += QLatin1Char(kLetters[i]);
    return enabled;
}

}  // namespace

class TestNavigator : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<WindowPorts> ports_;  // the windows' ports, with the scripted prompter
    std::unique_ptr<TRecordSet> store_;
    std::unique_ptr<NavigatorHost> host_;
    QStringList events_;

    TRSNavigator& Nav() { return *host_->navigator; }
    QToolButton* Btn(TNavigateBtn button) { return Nav().Button(button); }

    // A store of count records, record k holding the byte k, on record 1.
    void OpenStore(int count) {
        store_->OpenRecSet();
        for (int k = 2; k <= count; ++k) store_->NewRec();
        for (int k = 1; k <= count; ++k) {
            store_->SetCurrentRecord(k);
            store_->RecordBuffer()[0] = static_cast<std::uint8_t>(k);
            store_->PostRec();
        }
        store_->FirstRec();
        Nav().SetRecordSet(store_.get());
    }
    int CurrentByte() { return store_->RecordBuffer()[0]; }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        prompter_ = std::make_unique<ScriptedPrompter>();
        ports_ = std::make_unique<WindowPorts>(WindowPorts{{{.prompter = *prompter_}}});
        store_ = std::make_unique<TRecordSet>(*ports_);
        store_->FileName = dir_->filePath(QStringLiteral("records.dat")).toStdString();
        store_->FileShareMode = smShareDenyWrite;
        host_ = std::make_unique<NavigatorHost>();
        UsePorts(*host_, *ports_);
        events_.clear();
        Nav().OnBeforeAction = [this](TRSNavigator& n) { events_ << "before " + QString::number(n.Action()); };
        Nav().OnAfterAction = [this](TRSNavigator& n) { events_ << "after " + QString::number(n.Action()); };
        Nav().OnBtnListClick = [this](TRSNavigator&) { events_ << "list"; };
        host_->show();
        QVERIFY(QTest::qWaitForWindowActive(host_.get()));
        host_->field->setFocus();
    }
    void cleanup() {
        host_.reset();
        store_.reset();
        prompter_.reset();
        dir_.reset();
    }

    void sevenGlyphButtonsSideBySide() {
        const QStringList names = {"NavBtnFirst", "NavBtnNext", "NavBtnPrior", "NavBtnLast",
                                   "NavBtnList",  "NavBtnNew",  "NavBtnDelete"};
        for (int i = 0; i < kNavigatorButtons; ++i) {
            QToolButton* button = Btn(static_cast<TNavigateBtn>(i));
            QCOMPARE(button->objectName(), names[i]);
            QCOMPARE(button->geometry(), QRect(22 * i, 0, 22, 22));
            QVERIFY(!button->icon().isNull());
            QVERIFY(button->text().isEmpty() || button->toolButtonStyle() == Qt::ToolButtonIconOnly);
            QCOMPARE(button->accessibleName(), button->toolTip());
        }
        QCOMPARE(Nav().size(), QSize(154, 22));
        QCOMPARE(Nav().ButtonHint(nbList), QStringLiteral("List Records"));
        for (const char* glyph : {"NAV_FIRST", "NAV_NEXT", "NAV_PRIOR", "NAV_LAST", "NAV_LIST", "NAV_NEW", "NAV_DELETE"})
            QVERIFY2(!NavigatorGlyph(QString::fromLatin1(glyph)).isNull(), glyph);
        QVERIFY(NavigatorGlyph(QStringLiteral("NAV_OTHER")).isNull());

        // A hidden button takes no room; the others close up.
        Nav().SetButtonVisible(nbPrior, false);
        QApplication::processEvents();
        QCOMPARE(Nav().size(), QSize(132, 22));
        QCOMPARE(Btn(nbLast)->geometry().x(), 44);
    }

    void buttonsFollowThePosition_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("maxRec");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("the only record: only New") << 1 << 1 << 10000 << "E";
        QTest::newRow("first of three") << 3 << 1 << 10000 << "NLIED";
        QTest::newRow("middle of three") << 3 << 2 << 10000 << "FNPLIED";
        QTest::newRow("last of three") << 3 << 3 << 10000 << "FPIED";
        QTest::newRow("file full: no New") << 3 << 2 << 3 << "FNPLID";
    }
    void buttonsFollowThePosition() {
        QFETCH(int, records);
        QFETCH(int, current);
        QFETCH(int, maxRec);
        QFETCH(QString, enabled);
        store_->MaxRec = maxRec;
        OpenStore(records);
        store_->SetCurrentRecord(current);
        Nav().InitNavigator();
        QCOMPARE(EnabledButtons(Nav()), enabled);
    }

    void nothingWorksWithoutAnOpenStoreOrAutoPerform() {
        Nav().SetRecordSet(store_.get());  // not open
        QCOMPARE(EnabledButtons(Nav()), QString());
        OpenStore(3);
        Nav().SetAutoPerform(false);
        QCOMPARE(EnabledButtons(Nav()), QString());
        Nav().BtnClick(nbNext);
        QCOMPARE(store_->CurrentRecord(), 1);
        QVERIFY(events_.isEmpty());
    }

    void aBrowseOnlyStoreAddsAndDeletesNothing() {
        OpenStore(3);
        TRecordSet second(*ports_);  // the file is held by the first store: this one may only browse
        second.FileName = store_->FileName;
        second.FileShareMode = smShareDenyWrite;
        second.ShowOpenMode = false;
        second.OpenRecSet();
        QVERIFY(second.BrowseOnly());
        Nav().SetRecordSet(&second);
        QCOMPARE(EnabledButtons(Nav()), QStringLiteral("NLI"));
        Nav().SetRecordSet(store_.get());
    }

    void clicksMoveTheStoreBetweenTheEvents() {
        OpenStore(3);
        QTest::mouseClick(Btn(nbLast), Qt::LeftButton);
        QCOMPARE(CurrentByte(), 3);
        QCOMPARE(EnabledButtons(Nav()), QStringLiteral("FPIED"));
        QTest::mouseClick(Btn(nbPrior), Qt::LeftButton);
        QCOMPARE(CurrentByte(), 2);
        QTest::mouseClick(Btn(nbFirst), Qt::LeftButton);
        QCOMPARE(CurrentByte(), 1);
        QTest::mouseClick(Btn(nbNext), Qt::LeftButton);
        QCOMPARE(CurrentByte(), 2);
        QTest::mouseClick(Btn(nbList), Qt::LeftButton);
        QCOMPARE(CurrentByte(), 2);
        QCOMPARE(events_, QStringList({"before 3", "after 3", "before 2", "after 2", "before 0", "after 0", "before 1",
                                       "after 1", "before 4", "list", "after 4"}));
        QVERIFY(host_->field->hasFocus());  // the bar never takes the focus from the fields
    }

    void altKeysPressEnabledVisibleButtonsOnly() {
        OpenStore(3);
        QTest::keyClick(host_->field, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(store_->CurrentRecord(), 3);
        events_.clear();
        QTest::keyClick(host_->field, Qt::Key_N, Qt::AltModifier);  // Next is disabled on the last record
        QTest::keyClick(host_->field, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(host_->field, Qt::Key_F, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(store_->CurrentRecord(), 3);
        QVERIFY(events_.isEmpty());
        QTest::keyClick(host_->field, Qt::Key_P, Qt::AltModifier);
        QCOMPARE(store_->CurrentRecord(), 2);
        Nav().SetButtonVisible(nbFirst, false);
        QTest::keyClick(host_->field, Qt::Key_F, Qt::AltModifier);
        QCOMPARE(store_->CurrentRecord(), 2);
        QTest::keyClick(host_->field, Qt::Key_I, Qt::AltModifier);
        QCOMPARE(events_.filter("list").size(), 1);
    }

    void theBeforeEventStopsTheAction() {
        OpenStore(3);
        Nav().OnBeforeAction = [this](TRSNavigator& n) {
            events_ << "before";
            n.Cancel();
        };
        QTest::mouseClick(Btn(nbNext), Qt::LeftButton);
        QCOMPARE(store_->CurrentRecord(), 1);
        QCOMPARE(events_, QStringList{"before"});

        // An error raised there is shown, and the store stays where it was.
        Nav().OnBeforeAction = [](TRSNavigator&) { throw EFieldException("Field", "Not so fast."); };
        QTest::mouseClick(Btn(nbLast), Qt::LeftButton);
        QCOMPARE(store_->CurrentRecord(), 1);
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"Not so fast."});
        QCOMPARE(events_, QStringList{"before"});
        QCOMPARE(EnabledButtons(Nav()), QStringLiteral("NLIED"));
    }

    void newAppendsAndDeleteAsksFirst() {
        OpenStore(2);
        QTest::keyClick(host_->field, Qt::Key_E, Qt::AltModifier);
        QCOMPARE(store_->RecordCount(), 3);
        QCOMPARE(store_->CurrentRecord(), 3);

        prompter_->Answer(MsgButton::Cancel);
        QTest::keyClick(host_->field, Qt::Key_D, Qt::AltModifier);
        QCOMPARE(store_->RecordCount(), 3);
        prompter_->Answer(MsgButton::Ok);
        QTest::mouseClick(Btn(nbDelete), Qt::LeftButton);
        QCOMPARE(store_->RecordCount(), 2);
        QCOMPARE(store_->CurrentRecord(), 1);  // after the last record, the first
        QCOMPARE(prompter_->Texts(), std::vector<std::string>(2, "Confirm request~Delete current record from database?"));
        QCOMPARE(events_, QStringList({"before 5", "after 5", "before 6", "after 6", "before 6", "after 6"}));
        QCOMPARE(EnabledButtons(Nav()), QStringLiteral("NLIED"));
    }
};

QNVR_TEST_MAIN(TestNavigator)
#include "tst_navigator.moc"
