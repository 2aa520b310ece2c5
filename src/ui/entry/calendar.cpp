#include "ui/entry/calendar.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "core/text/dates.h"

namespace qnvr {
namespace {

constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};

const QDate kFirstDate(1, 1, 1);
const QDate kLastDate(9999, 12, 31);

QPushButton* MakeButton(const QString& caption, const char* name, const QString& accessibleName, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(accessibleName);
    return button;
}

}  // namespace

TFrmCalendar::TFrmCalendar(QDate shown, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCalendar"));
    setWindowTitle(QStringLiteral("CALENDAR"));

    btnPrior_ = MakeButton(QString(), "BtnPrior", QStringLiteral("Prior Month"), this);
    btnPrior_->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    btnPrior_->setToolTip(QStringLiteral("Prior Month (Alt+P)"));
    btnNext_ = MakeButton(QString(), "BtnNext", QStringLiteral("Next Month"), this);
    btnNext_->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    btnNext_->setToolTip(QStringLiteral("Next Month (Alt+N)"));
    for (QPushButton* b : {btnPrior_, btnNext_}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
    }
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("Title"));
    title_->setAlignment(Qt::AlignCenter);

    grid_ = new QCalendarWidget(this);
    grid_->setObjectName(QStringLiteral("Calendar"));
    grid_->setAccessibleName(QStringLiteral("Month"));
    grid_->setNavigationBarVisible(false);
    grid_->setFirstDayOfWeek(Qt::Sunday);
    grid_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    grid_->setDateRange(kFirstDate, kLastDate);
    grid_->setSelectedDate(shown);
    grid_->setCurrentPage(shown.year(), shown.month());

    btnPasteDate_ = MakeButton(QStringLiteral("Paste &Date"), "BtnPasteDate", QStringLiteral("Paste Date"), this);
    btnPasteDate_->setDefault(true);
    btnCancel_ = MakeButton(QStringLiteral("Cancel"), "BtnCancel", QStringLiteral("Cancel"), this);

    auto* titleBar = new QHBoxLayout;
    titleBar->addWidget(btnPrior_);
    titleBar->addWidget(title_, 1);
    titleBar->addWidget(btnNext_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPasteDate_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titleBar);
    layout->addWidget(grid_);
    layout->addLayout(buttons);

    connect(btnPrior_, &QPushButton::clicked, this, [this] { MoveMonths(-1); });
    connect(btnNext_, &QPushButton::clicked, this, [this] { MoveMonths(1); });
    connect(btnPasteDate_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QCalendarWidget::activated, this, &QDialog::accept);  // double-click (or Enter) on a day
    connect(grid_, &QCalendarWidget::selectionChanged, this, &TFrmCalendar::ShowTitle);
    connect(grid_, &QCalendarWidget::currentPageChanged, this, &TFrmCalendar::ShowTitle);

    // The month keys work wherever the focus is in the window.
    for (QWidget* control : std::initializer_list<QWidget*>{grid_, btnPasteDate_, btnCancel_}) control->installEventFilter(this);
    if (auto* view = grid_->findChild<QTableView*>()) view->installEventFilter(this);
    ShowTitle();
    grid_->setFocus();
}

QDate TFrmCalendar::ShownDate() const { return grid_->selectedDate(); }

QString TFrmCalendar::DateText() const {
    const QDate date = ShownDate();
    return QString::fromStdString(JoinDate(date.month(), date.day(), date.year()));
}

void TFrmCalendar::MoveMonths(int months) {
    const QDate moved = ShownDate().addMonths(months);  // the day is kept where the month has it
    if (!moved.isValid() || moved < kFirstDate || moved > kLastDate) return;
    grid_->setSelectedDate(moved);
    grid_->setCurrentPage(moved.year(), moved.month());
    ShowTitle();
}

void TFrmCalendar::ShowTitle() {
    const QDate date = ShownDate();
    title_->setText(QStringLiteral("%1, %2").arg(QLatin1String(kMonthNames[date.month() - 1])).arg(date.year()));
}

int TFrmCalendar::MonthsForKey(const QKeyEvent& key) {
    const bool alt = key.modifiers() == Qt::AltModifier;
    switch (key.key()) {
        case Qt::Key_PageUp: return alt ? -12 : -1;
        case Qt::Key_PageDown: return alt ? 12 : 1;
        // The month buttons' hints promise Alt+P and Alt+N.
        case Qt::Key_P: return alt ? -1 : 0;
        case Qt::Key_N: return alt ? 1 : 0;
        default: return 0;
    }
}

bool TFrmCalendar::eventFilter(QObject* watched, QEvent* event) {
    const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (keyEvent) {
        if (const int months = MonthsForKey(*static_cast<QKeyEvent*>(event))) {
            // Taken before the grid's own paging and before any shortcut.
            if (event->type() == QEvent::KeyPress) MoveMonths(months);
            event->accept();
            return event->type() == QEvent::KeyPress;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace qnvr
