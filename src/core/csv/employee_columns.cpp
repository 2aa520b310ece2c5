#include "core/csv/employee_columns.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "core/base/errors.h"
#include "core/entry/code_lists.h"
#include "core/entry/state_keys.h"
#include "core/text/cp1252.h"
#include "core/text/files.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

std::string Letter(int k) { return std::string(1, static_cast<char>('a' + k - 1)); }
std::string Number(int k) { return std::to_string(k); }

std::vector<EmployeeColumn> BuildColumns() {
    using K = ColumnKind;
    std::vector<EmployeeColumn> columns = {
        {"Boxa", "SSN", K::Ssn, 11,
         {"ssn", "socialsecuritynumber", "socialsecurityno", "ssno", "ss", "ssnumber", "employeessn",
          "employeesocialsecuritynumber", "employeessocialsecuritynumber", "socsecno", "socialsecurity"}},
        {"Boxd", "Control Number", K::UpperText, 10, {"controlno", "control", "employeeid", "empid", "employeenumber", "employeeno"}},
        {"Boxe1", "First Name", K::Text, 15, {"first", "givenname", "fname", "employeefirstname", "firstname"}},
        {"Boxe2", "Middle Initial", K::UpperText, 1, {"mi", "middle", "initial", "middlename", "mid"}},
        {"Boxe3", "Last Name", K::Text, 20, {"last", "surname", "familyname", "lname", "employeelastname"}},
        {"Suffix", "Suffix", K::UpperText, 4, {"suff", "namesuffix"}},
        {"Boxf_a", "Street Address", K::Text, 22, {"address", "street", "address1", "addressline1", "employeeaddress", "streetaddress1"}},
        {"Boxf_b", "City", K::Text, 22, {"town", "employeecity"}},
        {"Boxf_c", "State", K::State, 2, {"st", "employeestate", "addressstate", "statecode"}},
        {"Boxf_d", "ZIP Code", K::Text, 10, {"zip", "postalcode", "postcode", "zip5", "employeezip"}},
    };
    struct Amount {
        int box;
        const char* field;
        const char* header;
        std::vector<std::string> synonyms;
    };
    const std::vector<Amount> amounts = {
        {1, "Amount1", "Box 1 Wages", {"wages", "federalwages", "fedwages", "wagestipsothercompensation", "wagestipsothercomp", "grosswages", "taxablewages", "federaltaxablewages"}},
        {2, "Amount2", "Box 2 Federal Income Tax Withheld", {"federaltaxwithheld", "fedtaxwithheld", "federalincometax", "fit", "fitwithheld", "federalwithholding", "fedwithholding", "federaltax", "fedtax", "fedincometaxwithheld"}},
        {3, "Amount3", "Box 3 Social Security Wages", {"sswages", "ficawages", "oasdiwages", "socsecwages"}},
        {4, "Amount4", "Box 4 Social Security Tax Withheld", {"socialsecuritytax", "sstax", "sstaxwithheld", "oasdi", "oasditax", "socsectax"}},
        {5, "Amount5", "Box 5 Medicare Wages and Tips", {"medicarewages", "medwages"}},
        {6, "Amount6", "Box 6 Medicare Tax Withheld", {"medicaretax", "medtax", "medicare"}},
        {7, "Amount7", "Box 7 Social Security Tips", {"socialsecuritytips", "sstips"}},
        {8, "Amount8", "Box 8 Allocated Tips", {"allocatedtips"}},
        {10, "Amount10", "Box 10 Dependent Care Benefits", {"dependentcarebenefits", "dependentcare"}},
        {11, "Amount11", "Box 11 Nonqualified Plans", {"nonqualifiedplans"}},
    };
    for (const Amount& amount : amounts) {
        EmployeeColumn column{amount.field, amount.header, K::Money, 9, amount.synonyms};
        column.synonyms.push_back("box" + Number(amount.box));
        columns.push_back(column);
    }
    for (int k = 1; k <= 12; ++k) {
        const std::string l = Letter(k), box = "12" + l;
        columns.push_back({"Box12Code" + Number(k), "Box " + box + " Code", K::Box12Code, 2,
                           {"box" + box, box + "code", "code" + box, "box12code" + Number(k)}});
        columns.push_back({"Box12Amt" + Number(k), "Box " + box + " Amount", K::Money, 6,
                           {box + "amount", box + "amt", "box" + box + "amt", "box12amount" + Number(k),
                            "box12amt" + Number(k)}});
    }
    columns.push_back({"Box13a", "Box 13 Statutory Employee", K::Flag, 0, {"statutoryemployee", "statutory", "box13statutory"}});
    columns.push_back({"Box13b", "Box 13 Retirement Plan", K::Flag, 0, {"retirementplan", "retirement", "box13retirement"}});
    columns.push_back({"Box13c", "Box 13 Third-Party Sick Pay", K::Flag, 0, {"thirdpartysickpay", "sickpay", "box13sickpay"}});
    for (int n = 1; n <= 3; ++n) {
        const std::string l = Letter(n), x = Number(n);
        columns.push_back({"Box14Desc_" + l, "Box 14 Description " + x, K::Text, 8,
                           {"box14desc" + x, "box14" + l + "description", "box14" + l + "desc", "box14other" + x,
                            "box14" + l}});
        columns.push_back({"Box14Amt_" + l, "Box 14 Amount " + x, K::Money, 6,
                           {"box14amt" + x, "box14" + l + "amount", "box14" + l + "amt", "box14otheramount" + x}});
    }
    columns.push_back({"Box14bTTOC", "Box 14b Occupation Code 1", K::Occupation, 3,
                       {"box14b", "box14bcode", "box14bcode1", "ttoc", "ttoc1", "tippedoccupationcode", "tippedoccupationcode1", "occupationcode"}});
    columns.push_back({"Box14bTTOC2", "Box 14b Occupation Code 2", K::Occupation, 3,
                       {"box14bcode2", "ttoc2", "tippedoccupationcode2", "occupationcode2"}});
    for (int n = 1; n <= 2; ++n) {
        const std::string l = Letter(n), x = Number(n);
        auto both = [&](std::vector<std::string> keys) {
            // The first line also answers to its names without a number.
            if (n == 1)
                for (std::size_t k = 0, size = keys.size(); k < size; ++k)
                    if (keys[k].ends_with("1")) keys.push_back(keys[k].substr(0, keys[k].size() - 1));
            return keys;
        };
        columns.push_back({"Box15" + l, "State " + x, K::State, 2,
                           both({"box15" + l, "box15state" + x, "statecode" + x, "taxstate" + x, "withholdingstate" + x, "box15" + x})});
        columns.push_back({"StateID_" + l, "State ID " + x, K::Text, 12,
                           both({"stateid" + x, "employerstateid" + x, "stateidnumber" + x, "employerstateidnumber" + x, "box15stateid" + x})});
        columns.push_back({"Box16" + l, "Box 16 State Wages " + x, K::Money, 9,
                           both({"box16" + l, "statewages" + x, "box16" + x})});
        columns.push_back({"Box17" + l, "Box 17 State Income Tax " + x, K::Money, 6,
                           both({"box17" + l, "stateincometax" + x, "statetax" + x, "statewithholding" + x, "statetaxwithheld" + x, "box17" + x})});
        columns.push_back({"Box18" + l, "Box 18 Local Wages " + x, K::Money, 9,
                           both({"box18" + l, "localwages" + x, "box18" + x})});
        columns.push_back({"Box19" + l, "Box 19 Local Income Tax " + x, K::Money, 6,
                           both({"box19" + l, "localincometax" + x, "localtax" + x, "localtaxwithheld" + x, "box19" + x})});
        columns.push_back({"Box20" + l, "Box 20 Locality Name " + x, K::Text, 6,
                           both({"box20" + l, "localityname" + x, "locality" + x, "box20" + x})});
    }
    columns.push_back({kFullNameColumn, "Employee Name", K::FullName, 0, {"name", "fullname", "employee", "employeename", "employeefullname"}});
    // Every column also answers to its field's name and to the header the export writes.
    for (EmployeeColumn& column : columns) {
        column.synonyms.push_back(HeaderKey(column.field));
        column.synonyms.push_back(HeaderKey(column.header));
    }
    return columns;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::optional<std::string> ReadText(const EmployeeColumn& column, std::string_view cell, std::string& target) {
    std::string text = Trim(cell);
    if (column.kind == ColumnKind::UpperText) text = UpperCase(text);
    if (static_cast<int>(Utf8Length(text)) > column.size)
        return Quoted(text) + " is longer than " + Number(column.size) + " characters.";
    target = text;
    return std::nullopt;
}

std::optional<std::string> ReadMoney(const EmployeeColumn& column, std::string_view cell, double& target) {
    const std::string text = Trim(cell);
    std::string digits;
    bool negative = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '$' || c == ',' || c == ' ') continue;
        if (c == '-' || (c == '(' && k == 0) || (c == ')' && k + 1 == text.size())) {
            negative = true;
            continue;
        }
        digits += c;
    }
    const std::size_t point = digits.find('.');
    const std::string whole = digits.substr(0, point);
    std::string cents = point == std::string::npos ? "" : digits.substr(point + 1);
    const auto isDigits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if ((whole.empty() && cents.empty()) || !isDigits(whole) || !isDigits(cents))
        return Quoted(text) + " is not an amount.";
    if (negative) return Quoted(text) + " is a negative amount; amounts below zero are not accepted.";
    while (cents.size() > 2 && cents.back() == '0') cents.pop_back();
    if (cents.size() > 2) return Quoted(text) + " has more than two decimals.";
    const std::size_t firstDigit = whole.find_first_not_of('0');
    const std::size_t dollars = firstDigit == std::string::npos ? 0 : whole.size() - firstDigit;
    if (static_cast<int>(dollars) > column.size)
        return Quoted(text) + " is too large: at most " + Number(column.size) + " digits before the decimal point.";
    double value = 0;
    const std::string number = (whole.empty() ? "0" : whole) + "." + (cents.empty() ? "0" : cents);
    std::from_chars(number.data(), number.data() + number.size(), value);
    target = RoundTo(value, 2);
    return std::nullopt;
}

std::optional<std::string> ReadFlag(std::string_view cell, bool& target) {
    const std::string key = HeaderKey(cell);
    static const std::vector<std::string> kYes = {"y", "yes", "x", "1", "true", "t", "on", "checked"};
    static const std::vector<std::string> kNo = {"n", "no", "0", "false", "f", "off", "unchecked"};
    if (std::find(kYes.begin(), kYes.end(), key) != kYes.end()) target = true;
    else if (std::find(kNo.begin(), kNo.end(), key) != kNo.end()) target = false;
    else return Quoted(Trim(cell)) + " is neither yes nor no (Y, X, 1, true or N, 0, false).";
    return std::nullopt;
}

std::optional<std::string> ReadCode(const std::vector<CodeListRow>& rows, std::string_view cell, std::string& target,
                                    const char* what) {
    const std::string code = UpperCase(Trim(cell));
    for (const CodeListRow& row : rows)
        if (!row.IsHeading() && row.code == code) {
            target = code;
            return std::nullopt;
        }
    return Quoted(code) + " is not " + what + ".";
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::optional<std::string> ReadFullName(std::string_view cell, W2Record& record) {
    const std::string text = Trim(cell);
    std::string last, rest;
    if (const std::size_t comma = text.find(','); comma != std::string::npos) {
        last = Trim(text.substr(0, comma));
        rest = text.substr(comma + 1);
    } else {
        std::vector<std::string> words = Words(text);
        if (words.size() < 2) return Quoted(text) + " is not a first and last name.";
        last = words.back();
        words.pop_back();
        for (const std::string& word : words) rest += word + " ";
    }
    const std::vector<std::string> given = Words(rest);
    if (last.empty() || given.empty()) return Quoted(text) + " is not a first and last name.";
    W2Record parsed = record;
    if (auto error = ReadText(*EmployeeColumnNamed("Boxe3"), last, parsed.Boxe3)) return error;
    if (auto error = ReadText(*EmployeeColumnNamed("Boxe1"), given[0], parsed.Boxe1)) return error;
    if (given.size() > 1) {
        if (auto error = ReadText(*EmployeeColumnNamed("Boxe2"), given[1].substr(0, 1), parsed.Boxe2)) return error;
    }
    record = parsed;
    return std::nullopt;
}

const FieldLayout<W2Record>* LayoutOf(std::string_view field) {
    for (const auto& layoutField : W2Layout())
        if (layoutField.name == field) return &layoutField;
    return nullptr;
}

std::string AmountText(double amount) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", RoundTo(amount, 2));
    return text;
}

}  // namespace

const std::vector<EmployeeColumn>& EmployeeColumns() {
    static const std::vector<EmployeeColumn> columns = BuildColumns();
    return columns;
}

const EmployeeColumn* EmployeeColumnNamed(std::string_view field) {
    for (const EmployeeColumn& column : EmployeeColumns())
        if (column.field == field) return &column;
    return nullptr;
}

std::string HeaderKey(std::string_view header) {
    std::string key;
    for (char c : header)
        if (std::isalnum(static_cast<unsigned char>(c))) key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

const EmployeeColumn* MatchHeader(std::string_view header) {
    static const std::map<std::string, const EmployeeColumn*> byKey = [] {
        std::map<std::string, const EmployeeColumn*> keys;
        for (const EmployeeColumn& column : EmployeeColumns())
            for (const std::string& synonym : column.synonyms) keys.emplace(synonym, &column);
        return keys;
    }();
    const auto found = byKey.find(HeaderKey(header));
    return found == byKey.end() ? nullptr : found->second;
}

ColumnMapping AutoMapping(const std::vector<std::string>& header) {
    ColumnMapping mapping;
    for (const std::string& name : header) {
        const EmployeeColumn* column = MatchHeader(name);
        const bool taken = column && std::find(mapping.begin(), mapping.end(), column->field) != mapping.end();
        mapping.push_back(column && !taken ? column->field : "");
    }
    return mapping;
}

ColumnMapping ApplySavedMapping(const SavedMapping& saved, const std::vector<std::string>& header) {
    ColumnMapping mapping = AutoMapping(header);
    for (std::size_t k = 0; k < header.size(); ++k)
        for (const auto& [savedHeader, field] : saved.columns)
            if (HeaderKey(savedHeader) == HeaderKey(header[k])) {
                // The field leaves the column that matched it automatically.
                if (!field.empty())
                    for (std::string& other : mapping)
                        if (other == field) other.clear();
                mapping[k] = field;
                break;
            }
    return mapping;
}

SavedMapping SaveMapping(const std::vector<std::string>& header, const ColumnMapping& mapping) {
    SavedMapping saved;
    for (std::size_t k = 0; k < header.size() && k < mapping.size(); ++k) saved.columns.emplace_back(header[k], mapping[k]);
    return saved;
}

std::string MappingFileText(const SavedMapping& mapping) {
    std::string text;
    for (const auto& [header, field] : mapping.columns) {
        std::string clean = header;
        std::replace_if(clean.begin(), clean.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
        text += clean + "\t" + field + "\n";
    }
    return text;
}

SavedMapping ParseMappingFile(std::string_view text) {
    SavedMapping mapping;
    std::istringstream in{std::string(text)};
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (IsBlank(line)) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            throw EQnvrException("Line " + Number(lineNumber) + " of the mapping holds no tab between header and field.");
        const std::string header = line.substr(0, tab), field = Trim(line.substr(tab + 1));
        if (!field.empty() && !EmployeeColumnNamed(field))
            throw EQnvrException("Line " + Number(lineNumber) + " of the mapping names " + Quoted(field) +
                                 ", which is no W-2 field.");
        mapping.columns.emplace_back(header, field);
    }
    return mapping;
}

SavedMapping ReadMappingFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EQnvrException("Unable to read the mapping " + path);
    std::ostringstream content;
    content << in.rdbuf();
    try {
        return ParseMappingFile(content.str());
    } catch (const EQnvrException& error) {
        throw EQnvrException(path + ": " + error.what());
    }
}

void WriteMappingFile(const std::string& path, const SavedMapping& mapping) {
    ReplaceFileWhole(path, MappingFileText(mapping));
}

std::optional<std::string> StateCodeOf(std::string_view text) {
    static const std::map<std::string, std::string> kNames = {
        {"alaska", "AK"}, {"alabama", "AL"}, {"arkansas", "AR"}, {"arizona", "AZ"}, {"california", "CA"},
        {"colorado", "CO"}, {"connecticut", "CT"}, {"districtofcolumbia", "DC"}, {"delaware", "DE"},
        {"florida", "FL"}, {"georgia", "GA"}, {"guam", "GU"}, {"hawaii", "HI"}, {"iowa", "IA"}, {"idaho", "ID"},
        {"illinois", "IL"}, {"indiana", "IN"}, {"kansas", "KS"}, {"kentucky", "KY"}, {"louisiana", "LA"},
        {"massachusetts", "MA"}, {"maryland", "MD"}, {"maine", "ME"}, {"michigan", "MI"}, {"minnesota", "MN"},
        {"missouri", "MO"}, {"mississippi", "MS"}, {"montana", "MT"}, {"northcarolina", "NC"},
        {"northdakota", "ND"}, {"nebraska", "NE"}, {"newhampshire", "NH"}, {"newjersey", "NJ"},
        {"newmexico", "NM"}, {"nevada", "NV"}, {"newyork", "NY"}, {"ohio", "OH"}, {"oklahoma", "OK"},
        {"oregon", "OR"}, {"pennsylvania", "PA"}, {"puertorico", "PR"}, {"rhodeisland", "RI"},
        {"southcarolina", "SC"}, {"southdakota", "SD"}, {"tennessee", "TN"}, {"texas", "TX"}, {"utah", "UT"},
        {"virginia", "VA"}, {"virginislands", "VI"}, {"usvirginislands", "VI"}, {"vermont", "VT"},
        {"washington", "WA"}, {"wisconsin", "WI"}, {"westvirginia", "WV"}, {"wyoming", "WY"},
    };
    const std::string code = UpperCase(Trim(text));
    const auto& codes = StateCodes();
    if (std::find(codes.begin(), codes.end(), code) != codes.end()) return code;
    if (const auto named = kNames.find(HeaderKey(text)); named != kNames.end()) return named->second;
    return std::nullopt;
}

std::optional<std::string> ReadCell(const EmployeeColumn& column, std::string_view cell, W2Record& record) {
    if (column.kind == ColumnKind::FullName) return ReadFullName(cell, record);
    const FieldLayout<W2Record>* layoutField = LayoutOf(column.field);
    if (!layoutField) return std::nullopt;
    const auto target = layoutField->Of(record);
    switch (column.kind) {
        case ColumnKind::Ssn: {
            const std::string text = Trim(cell);
            std::string digits;
            bool plain = true;
            for (char c : text) {
                if (c >= '0' && c <= '9') digits += c;
                else if (c != '-' && c != ' ') plain = false;
            }
            // Nine digits, with or without dashes, take the field's mask; anything else is
            // kept as written, for the rules to refuse.
            *std::get<std::string*>(target) = plain && digits.size() == 9
                                                  ? digits.substr(0, 3) + "-" + digits.substr(3, 2) + "-" + digits.substr(5)
                                                  : LeftStr(text, column.size);
            return std::nullopt;
        }
        case ColumnKind::Text:
        case ColumnKind::UpperText: return ReadText(column, cell, *std::get<std::string*>(target));
        case ColumnKind::Box12Code:
            return ReadCode(Box12CodeRows(), cell, *std::get<std::string*>(target), "a box 12 code");
        case ColumnKind::Occupation:
            return ReadCode(OccupationCodeRows(), cell, *std::get<std::string*>(target), "a tipped occupation code");
        case ColumnKind::State: {
            const auto code = StateCodeOf(cell);
            if (!code) return Quoted(Trim(cell)) + " is not a state.";
            *std::get<std::string*>(target) = *code;
            return std::nullopt;
        }
        case ColumnKind::Money: return ReadMoney(column, cell, *std::get<double*>(target));
        case ColumnKind::Flag: return ReadFlag(cell, *std::get<bool*>(target));
        case ColumnKind::FullName: break;
    }
    return std::nullopt;
}

std::string WriteCell(const EmployeeColumn& column, const W2Record& record) {
    if (column.kind == ColumnKind::FullName) return "";
    const FieldLayout<W2Record>* layoutField = LayoutOf(column.field);
    if (!layoutField) return "";
    const auto value = layoutField->Of(const_cast<W2Record&>(record));
    switch (column.kind) {
        case ColumnKind::Money: return AmountText(*std::get<double*>(value));
        case ColumnKind::Flag: return *std::get<bool*>(value) ? "Y" : "N";
        case ColumnKind::Ssn: {
            const std::string& ssn = *std::get<std::string*>(value);
            return ssn.find_first_of("0123456789") == std::string::npos ? "" : ssn;
        }
        default: return *std::get<std::string*>(value);
    }
}

}  // namespace qnvr
