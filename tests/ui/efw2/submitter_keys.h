#pragma once
// Typing the EFW2 window's submitter fields as a user does: from EIN, where the window
// opens, through the tab order with Enter after each field.
#include <QApplication>
#include <QString>
#include <QTest>

#include <map>

#include "ui/efw2/frm_efw2.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/filter_edit.h"
#include "ui/entry/state_edit.h"

namespace qnvr::testing {

// The submitter fields in tab order.
inline const char* const kSubmitterTabOrder[] = {
    "EIN",          "UserID",       "ResubInd",    "ResubID",     "CompanyName",  "LocationAddr", "DeliveryAddr",
    "City",         "StateCode",    "ZipCode",     "ZipCodeExt",  "ForeignState", "ForeignZip",   "CountryCode",
    "SubmitName",   "SubmitAddr1",  "SubmitAddr2", "SubmitCity",  "SubmitState",  "SubmitZip",    "SubmitZipExt",
    "SubmitFSP",    "SubmitFPC",    "SubmitCC",    "ContactName", "ContactPhone", "ContactExt",   "ContactEmail",
    "ContactFax",   "PreparerCode",
};

// Keys by field; a state field gets its code, a check field any text (a Space press).
using SubmitterKeys = std::map<QString, QString>;

// Settings that Process accepts, typed in lower case where the field turns letters to
// upper case.
inline const SubmitterKeys kValidSubmitterKeys = {
    {"EIN", "987654321"},          {"UserID", "abcd1234"},      {"CompanyName", "payroll partners"},
    {"City", "new york"},          {"StateCode", "NY"},         {"SubmitName", "payroll partners"},
    {"SubmitAddr2", "5 park ave"}, {"SubmitCity", "new york"},  {"SubmitState", "NY"},
    {"SubmitZip", "10001"},        {"ContactName", "lee"},      {"ContactPhone", "2125550199"},
    {"ContactEmail", "lee@partners.example"}, {"PreparerCode", "a"},
};

inline void TypeSubmitter(TFrmEFW2& window, const SubmitterKeys& keys) {
    for (const char* name : kSubmitterTabOrder) {
        QWidget* field = QApplication::focusWidget();
        if (QString::fromLatin1(name) == QLatin1String("ResubID") && !window.ResubID->isEnabled()) continue;
        QCOMPARE(field->objectName(), QString::fromLatin1(name));
        const auto value = keys.find(QString::fromLatin1(name));
        if (value != keys.end()) {
            if (auto* state = qobject_cast<TStateEdit*>(field)) {
                for (int k = 0; k < 10 && state->Text() != value->second; ++k)
                    QTest::keyClick(field, value->second.at(0).toLower().toLatin1());
            } else if (qobject_cast<TCheckBoxEdit*>(field)) {
                QTest::keyClick(field, Qt::Key_Space);
            } else {
                QTest::keyClicks(field, value->second);
            }
        }
        QTest::keyClick(field, Qt::Key_Return);
    }
}

}  // namespace qnvr::testing
