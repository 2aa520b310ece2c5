#pragma once
// Payer files for electronic filing tests, written byte for byte as the program stores
// them, and submitter settings that pass their rule set.
#include <string>
#include <vector>

#include "core/efw2/submitter_record.h"
#include "core/store/data_module.h"
#include "core/store/records.h"
#include "support/temp_dir.h"

namespace qnvr::testing {

inline W3Record Employer(const std::string& name) {
    W3Record w3;
    w3.Boxf_a = name;
    w3.Boxe = "12-3456789";
    w3.Boxg_a = "1 MAIN ST";
    w3.Boxg_b = "TROY";
    w3.Boxg_c = "NY";
    w3.Boxg_d = "12180";
    w3.Boxg_csz = "TROY NY 12180";  // as every save rebuilds it
    w3.Boxb1 = true;
    w3.Boxb8 = true;
    w3.Box15 = "NY";
    w3.StateID = "123456";
    w3.Contact = "PAT LEE";
    return w3;
}

// An employee with wages; number makes the SSN and the name distinct.
inline W2Record Employee(int number, double wages) {
    W2Record w2;
    w2.Boxa = "123-45-" + std::to_string(1000 + number);
    w2.Boxe1 = "EMPLOYEE";
    w2.Boxe3 = "NUMBER" + std::to_string(number);
    w2.Boxf_a = "2 ELM ST";
    w2.Boxf_b = "TROY";
    w2.Boxf_c = "NY";
    w2.Boxf_d = "12180";
    w2.Boxf_csz = "TROY NY 12180";
    w2.Amount1 = wages;
    w2.Amount3 = wages;
    w2.Amount4 = wages * 0.062;
    w2.Amount5 = wages;
    w2.Amount6 = wages * 0.0145;
    w2.Box15a = "NY";
    w2.StateID_a = "123456";
    w2.Box16a = wages;
    return w2;
}

inline std::vector<W2Record> Employees(int count, double wages = 1000) {
    std::vector<W2Record> employees;
    for (int k = 1; k <= count; ++k) employees.push_back(Employee(k, wages * k));
    return employees;
}

// Writes the pair path (".W226") and its ".W326" file.
inline void WritePayerFile(const std::string& path, const W3Record& w3, const std::vector<W2Record>& employees) {
    std::vector<unsigned char> w3Bytes(W3Record::kSize);
    EncodeW3(w3, w3Bytes);
    WriteBytes(TFrmDataModule::W3PathFor(path), w3Bytes);
    std::vector<unsigned char> w2Bytes(W2Record::kSize * employees.size());
    for (std::size_t k = 0; k < employees.size(); ++k)
        EncodeW2(employees[k], std::span(w2Bytes).subspan(k * W2Record::kSize, W2Record::kSize));
    WriteBytes(path, w2Bytes);
}

// The submitter fields of a filing that passes the settings rules; the run state and the
// optional fields are left as they are.
inline void FillSubmitterFields(SubmitterRecord& s) {
    s.EIN = "98-7654321";
    s.UserID = "ABCD1234";
    s.SetResubmitted(false);
    s.SubmitName = "PAYROLL PARTNERS";
    s.SubmitAddr2 = "5 PARK AVE";
    s.SubmitCity = "NEW YORK";
    s.SubmitState = "NY";
    s.SubmitZip = "10001";
    s.ContactName = "LEE";
    s.ContactPhone = "212-555-0199";
    s.ContactEmail = "lee@partners.example";
    s.PreparerCode = "A";
}

inline SubmitterRecord ValidSubmitter() {
    SubmitterRecord s;
    FillSubmitterFields(s);
    return s;
}

}  // namespace qnvr::testing
