#pragma once
// Last year's payer files as last year's program wrote them: a 608-byte ".W325" payer
// record and 480-byte ".W225" employee records, with bytes outside the read fields
// filled, so that a test sees when the conversion copies more than it should.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qnvr::testing {

struct PriorEmployee {
    std::string ssn, control, firstName, lastName, suffix, street, city, state, zip, cityStateZip;
};

struct PriorPayer {
    std::string boxa = "CTL-1", boxd = "0001", boxe = "12-3456789", name = "Acme Tools Inc", name2 = "Dept 4";
    std::string street = "1 Main St", street2 = "Suite 5", state = "OH", zip = "43004", cityStateZip = "Columbus OH 43004";
    std::string box15 = "OH", stateId = "OH-778899", contact = "Pat Payroll", tel = "614-555-0100";
    std::string email = "pat@acme.example", fax = "614-555-0101", signer = "Lee Owner", title = "President";
    std::string password;  // scrambled as stored
    std::vector<std::uint8_t> flags = {1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};  // Boxb1 .. Boxb12
};

inline void PutText(std::vector<std::uint8_t>& record, int offset, int chars, const std::string& text) {
    const auto length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(chars));
    record[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(length);
    for (std::size_t i = 0; i < length; ++i) record[static_cast<std::size_t>(offset) + 1 + i] = static_cast<std::uint8_t>(text[i]);
}

inline std::vector<std::uint8_t> PriorPayerRecord(const PriorPayer& p) {
    std::vector<std::uint8_t> r(608, 0xA5);  // amounts and the rest of last year's form
    PutText(r, 0, 10, p.boxa);
    for (std::size_t i = 0; i < 12; ++i) r[11 + i] = p.flags[i];
    PutText(r, 28, 4, p.boxd);
    PutText(r, 33, 10, p.boxe);
    PutText(r, 44, 40, p.name);
    PutText(r, 85, 40, p.name2);
    PutText(r, 126, 22, p.street);
    PutText(r, 149, 22, p.street2);
    PutText(r, 172, 2, p.state);
    PutText(r, 175, 10, p.zip);
    PutText(r, 186, 36, p.cityStateZip);
    PutText(r, 384, 2, p.box15);
    PutText(r, 387, 12, p.stateId);
    PutText(r, 432, 30, p.contact);
    PutText(r, 463, 12, p.tel);
    PutText(r, 476, 40, p.email);
    PutText(r, 517, 12, p.fax);
    PutText(r, 530, 30, p.signer);
    PutText(r, 561, 20, p.title);
    PutText(r, 593, 12, p.password);
    return r;
}

inline std::vector<std::uint8_t> PriorEmployeeRecord(const PriorEmployee& e) {
    std::vector<std::uint8_t> r(480, 0x5A);
    PutText(r, 0, 11, e.ssn);
    PutText(r, 12, 10, e.control);
    PutText(r, 23, 15, e.firstName);
    PutText(r, 39, 15, e.lastName);
    PutText(r, 55, 3, e.suffix);
    PutText(r, 59, 22, e.street);
    PutText(r, 82, 22, e.city);
    PutText(r, 105, 2, e.state);
    PutText(r, 108, 10, e.zip);
    PutText(r, 119, 36, e.cityStateZip);
    return r;
}

inline std::vector<PriorEmployee> ThreePriorEmployees() {
    return {{"123-45-6789", "C1", "Ann Marie", "Able", "", "2 Elm St", "Dayton", "OH", "45402", "Dayton OH 45402"},
            {"234-56-7890", "C2", "Bob", "Baker", "Jr", "3 Oak Ave", "Akron", "OH", "44308", "Akron OH 44308"},
            {"345-67-8901", "C3", " Carla  J ", "Cole", "III", "4 Pine Rd", "Toledo", "OH", "43604", "Toledo OH 43604"}};
}

// Writes folder/base.W325 and folder/base.W225.
inline void WritePriorPayerFile(const std::string& folder, const std::string& base, const PriorPayer& payer,
                                const std::vector<PriorEmployee>& employees) {
    WriteBytes(folder + "/" + base + ".W325", PriorPayerRecord(payer));
    std::vector<std::uint8_t> all;
    for (const auto& e : employees) {
        auto r = PriorEmployeeRecord(e);
        all.insert(all.end(), r.begin(), r.end());
    }
    WriteBytes(folder + "/" + base + ".W225", all);
}

}  // namespace qnvr::testing
