#pragma once
// Moving a whole record between a window's fields and the record, field by field along
// the record's layout: each record field goes to the control of the same objectName.
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/store/records.h"
#include "ui/entry/check_box_edit.h"
#include "ui/entry/dollar_edit.h"
#include "ui/entry/field_text.h"

namespace qnvr {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

inline QString RecordText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Shows every field of record in its control; controlOf(name) gives the control of a
// record field, nullptr for a field the window does not show.
template <class Record, class ControlOf>
void ShowRecordFields(const Record& record, const std::vector<FieldLayout<Record>>& layout, ControlOf controlOf) {
    Record source = record;  // the layout's accessors take a modifiable record
    for (const auto& layoutField : layout) {
        QWidget* control = controlOf(layoutField.name);
        if (!control) continue;
        std::visit(Overloaded{
                       [&](std::string* text) { SetFieldText(control, RecordText(*text)); },
                       [&](double* amount) { qobject_cast<TDollarEdit*>(control)->SetValue(*amount); },
                       [&](bool* flag) { qobject_cast<TCheckBoxEdit*>(control)->SetChecked(*flag); },
                       [&](std::int32_t* count) { SetFieldText(control, QString::number(*count)); },
                   },
                   layoutField.Of(source));
    }
}

// Reads every field the window lets the user change back into record, texts cut to their
// field's width; controlOf(name) gives nullptr for the fields that are not read back.
// Counts are the program's, never read back.
template <class Record, class ControlOf>
void ReadRecordFields(Record& record, const std::vector<FieldLayout<Record>>& layout, ControlOf controlOf) {
    for (const auto& layoutField : layout) {
        const QWidget* control = controlOf(layoutField.name);
        if (!control) continue;
        std::visit(Overloaded{
                       [&](std::string* text) { *text = FieldText(control).left(layoutField.chars).toStdString(); },
                       [&](double* amount) { *amount = qobject_cast<const TDollarEdit*>(control)->Value(); },
                       [&](bool* flag) { *flag = qobject_cast<const TCheckBoxEdit*>(control)->Checked(); },
                       [&](std::int32_t*) {},
                   },
                   layoutField.Of(record));
    }
}

template <class Record>
const FieldLayout<Record>* LayoutFieldNamed(const std::vector<FieldLayout<Record>>& layout, std::string_view name) {
    for (const auto& layoutField : layout)
        if (layoutField.name == name) return &layoutField;
    return nullptr;
}

}  // namespace qnvr
