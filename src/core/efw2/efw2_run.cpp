#include "core/efw2/efw2_run.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/base/busy.h"
#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/efw2/efw2_records.h"
#include "core/text/cp1252.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;

constexpr const char* kResetQuestion =
    "This will clear the Master EFW2 Text File and resets~the Total Forms W-3 Processed, Total Forms W-2~Processed "
    "and the Total Wages, tips, other~compensationProcessed to zero.~~Are you sure?";
constexpr const char* kSubmitterDoneMessage = "You have already created a Submitter record.";
constexpr const char* kLastClientQuestion = "Will this be the last Client to be Processed?";

void CreateFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) RaiseFileError("create the folder", folder, error.message());
}

void DeleteIfExists(const std::string& path) {
    std::error_code error;
    fs::remove(path, error);
    if (error) RaiseFileError("delete", path, error.message());
}

std::string EmployeeDescription(int record, const W2Record& w2) {
    return "W-2 record " + std::to_string(record) + " (" + Trim(w2.Boxe1 + " " + w2.Boxe3) + ")";
}

}  // namespace

void ClientRecordsBuilder::Reserve(int employees) {
    employees_.reserve(static_cast<std::size_t>(std::max(employees, 0)) * (kEfw2RecordLength + 2));
}

void ClientRecordsBuilder::Add(const W2Record& w2) {
    ++count_;
    if (!failure_.empty()) return;
    const std::size_t start = employees_.size();
    employees_.resize(start + kEfw2RecordLength + 2);
    try {
        WriteEmployeeRecord(w2, employees_.data() + start);
        sums_.Add(w2);
    } catch (const EProcessException& error) {
        employees_.resize(start);
        failure_ = EmployeeDescription(count_, w2) + ": " + error.what();
        return;
    }
    employees_[start + kEfw2RecordLength] = '\r';
    employees_[start + kEfw2RecordLength + 1] = '\n';
}

std::string ClientRecordsBuilder::BuildEmployerLine(const W3Record& w3) const {
    try {
        return BuildEmployerRecord(w3);
    } catch (const EProcessException& error) {
        throw EProcessException(std::string("W-3 (") + Trim(w3.Boxf_a) + "): " + error.what());
    }
}

// The RT carries the sums of what the RW records carry, so that rounding each employee's
// amounts to cents cannot leave a total a cent away from its records.
std::string ClientRecordsBuilder::BuildTotalLine(const W3Record& w3) const {
    return BuildTotalRecord(sums_.WithTotals(w3), count_, sums_);
}

std::array<std::string, 3> ClientRecordsBuilder::TakeText(const W3Record& w3) {
    std::string employer = BuildEmployerLine(w3);
    if (!failure_.empty()) throw EProcessException(failure_);
    std::string total = BuildTotalLine(w3);
    return {std::move(employer.append("\r\n")), std::move(employees_), std::move(total.append("\r\n"))};
}

ClientRecords ClientRecordsBuilder::Records(const W3Record& w3) const {
    ClientRecords client;
    client.lines.push_back(BuildEmployerLine(w3));
    if (!failure_.empty()) throw EProcessException(failure_);
    client.lines.reserve(static_cast<std::size_t>(count_) + 2);
    for (std::size_t at = 0; at < employees_.size(); at += kEfw2RecordLength + 2)
        client.lines.emplace_back(employees_, at, kEfw2RecordLength);
    client.lines.push_back(BuildTotalLine(w3));
    client.rwCount = count_;
    return client;
}

ClientRecords BuildClientRecords(TFrmDataModule& data) {
    ClientRecordsBuilder builder;
    builder.Reserve(data.RSW2().RecordCount());
    data.ForEachW2([&](const W2Record& w2) { builder.Add(w2); });
    return builder.Records(data.W3Rec());
}

Efw2Run::Efw2Run(TFrmDataModule& data, std::vector<std::string>& masterList, Efw2Paths paths)
    : data_(data), masterList_(masterList), paths_(std::move(paths)) {}

void Efw2Run::Open() {
    CreateFolder(paths_.efw2Dir);
    CreateSubmitterFileIfMissing(paths_.SubmitterFile());
    settings_ = ReadSubmitterFile(paths_.SubmitterFile());
    processEnabled_ = data_.ReviewCount() == 2 && !settings_.FinalPending;

    clientsList_ = ReadClientsFile(paths_.ClientsFile());
    const std::string master = paths_.MasterFile();
    std::error_code error;
    if (fs::exists(master, error)) {
        SetReadOnlyIfExists(master, false);
        masterList_ = ReadLinesFile(master);
    }

    // A client is processed once per run.
    if (IndexOfText(data_.W3Rec().Boxf_a, clientsList_) > 0) processEnabled_ = false;
    EnableChecksLikeProcess();
    // In a master run the RA record has been written with the first client.
    if (settings_.ExcludeSubmitter && settings_.ExcludeFinal && !clientsList_.empty()) submitterEnabled_ = false;
    // Single clients were processed: a master file cannot start before a reset.
    if (!clientsList_.empty() && masterList_.empty()) submitterEnabled_ = finalEnabled_ = false;
}

void Efw2Run::Close() {
    if (processEnabled_ && settings_.FinalPending) throw EProcessException(kFinalPendingMessage);
    settings_.SetResubmitted(settings_.Resubmitted());  // "1" or "0" from now on, never empty
    WriteSubmitterFile(paths_.SubmitterFile(), settings_);
    const std::string master = paths_.MasterFile();
    if (!masterList_.empty()) WriteLinesFile(master, masterList_);
    SetReadOnlyIfExists(master, true);
    if (!clientsList_.empty()) WriteClientsFile(paths_.ClientsFile(), clientsList_);
}

void Efw2Run::Process() {
    if (!processEnabled_) throw EProcessException("This client cannot be processed now.");
    if (data_.CountW2WithWages() == 0) throw ENoEmployeesException(kNoEmployeesMessage);
    RaiseIfFailed(FirstSettingsFailure());

    // Everything is built and the client file written before any total changes, so a
    // failure leaves the run as it was.
    ClientRecords client;
    std::vector<std::string> lines;
    {
        BusyCursor busy(data_.Ports().busy);
        data_.ComputeW3Totals();  // the RT totals must agree with the RW records written
        client = BuildClientRecords(data_);
        lines = BuildClientLines(client);
        WriteClientFile(lines);
    }
    lastClientPartial_ = settings_.ExcludeSubmitter || settings_.ExcludeFinal;

    const W3Record& w3 = data_.W3Rec();
    if (!settings_.ExcludeSubmitter) settings_.StoreRAConstants();
    settings_.ClientsProcessed += 1;
    settings_.FormsW2Processed += client.rwCount;
    settings_.WagesProcessed += w3.Amount1;
    clientsList_.push_back(w3.Boxf_a);
    if (settings_.ExcludeSubmitter || settings_.ExcludeFinal)
        masterList_.insert(masterList_.end(), lines.begin(), lines.end());
    // The first client of a master file wrote the RA record; the others leave it out.
    if (settings_.ExcludeFinal && clientsList_.size() == 1) settings_.ExcludeSubmitter = true;
    processEnabled_ = submitterEnabled_ = finalEnabled_ = false;

    ShowMsg(data_.Ports().prompter, "Process Completed for Client: " + w3.Boxf_a + "~Total Forms W-2 processed: " +
                std::to_string(client.rwCount) + "~Total Wages, tips, other compensation processed: " +
                FormatDollars(w3.Amount1),
            MsgStyle::Plain);
}

Efw2Run::ProcessedFileAudit Efw2Run::AuditProcessed() const {
    if (State() == RunState::Complete) return {paths_.MasterFile(), AuditEfw2(JoinLines(masterList_))};
    const std::string file = ClientFile();
    return {file, AuditEfw2File(file, {.partial = lastClientPartial_})};
}

std::vector<std::string> Efw2Run::BuildClientLines(const ClientRecords& client) const {
    std::vector<std::string> lines;
    lines.reserve(client.lines.size() + 2);
    if (!settings_.ExcludeSubmitter) lines.push_back(BuildSubmitterRecord(settings_));
    lines.insert(lines.end(), client.lines.begin(), client.lines.end());
    if (!settings_.ExcludeFinal) {
        // The last client of a master file counts every employee since the reset.
        const int count = settings_.FinalPending ? settings_.FormsW2Processed + client.rwCount : client.rwCount;
        lines.push_back(BuildFinalRecord(count));
    }
    return lines;
}

// A client file is left read-only, so it is made writable for the moment it is replaced.
void Efw2Run::WriteClientFile(const std::vector<std::string>& lines) const {
    const std::string path = ClientFile();
    SetReadOnlyIfExists(path, false);
    WriteLinesFile(path, lines);
    SetReadOnlyIfExists(path, true);
}

bool Efw2Run::ClickSubmitter(bool checked) {
    if (!checked && !masterList_.empty()) {
        ShowMsg(data_.Ports().prompter, kSubmitterDoneMessage, MsgStyle::Information);
        checked = true;
    }
    settings_.ExcludeSubmitter = checked;
    return checked;
}

bool Efw2Run::ClickFinal(bool checked) {
    if (!checked && !masterList_.empty()) {
        if (ShowMsg(data_.Ports().prompter, kLastClientQuestion, MsgStyle::YesNoDefaultNo) == MsgButton::Yes) {
            settings_.FinalPending = true;
        } else {
            checked = true;
        }
    }
    // With "Final" checked the next client is not the last one, whatever was answered before.
    if (checked) settings_.FinalPending = false;
    settings_.ExcludeFinal = checked;
    return checked;
}

void Efw2Run::Reset() {
    if (ShowMsg(data_.Ports().prompter, kResetQuestion, MsgStyle::YesNoDefaultNo) != MsgButton::Yes) return;
    DeleteIfExists(paths_.MasterFile());
    DeleteIfExists(paths_.ClientsFile());
    masterList_.clear();
    clientsList_.clear();
    settings_.ClearRunTotals();
    processEnabled_ = data_.ReviewCount() == 2;
    settings_.ExcludeSubmitter = settings_.ExcludeFinal = false;
    EnableChecksLikeProcess();
}

void Efw2Run::EnableChecksLikeProcess() { submitterEnabled_ = finalEnabled_ = processEnabled_; }

RunState Efw2Run::State() const {
    if (settings_.FinalPending)
        return !masterList_.empty() && masterList_.back().starts_with("RF") ? RunState::Complete
                                                                            : RunState::FinalPending;
    if (!masterList_.empty()) return RunState::MasterRun;
    if (!clientsList_.empty()) return RunState::SingleClients;
    return RunState::Fresh;
}

std::string Efw2Run::ProcessHint() const {
    if (processEnabled_) return "Ready: Process writes the EFW2 file of this payer.";
    if (IndexOfText(data_.W3Rec().Boxf_a, clientsList_) > 0)
        return "This payer has been processed since the last Reset; Reset starts a new run.";
    if (settings_.FinalPending) return "The master file's last client has been processed; Reset starts a new run.";
    const bool w3 = data_.Reviewed(EntryWindow::W3), w2 = data_.Reviewed(EntryWindow::W2);
    std::string missing;
    if (!w3 && !w2) missing = "Form W-3 and Form W-2 of this payer have";
    else if (!w3) missing = "Form W-3 of this payer has";
    else if (!w2) missing = "Form W-2 of this payer has";
    else missing = "the forms of this payer have";
    return "Process is not available yet: " + missing +
           " not been reviewed since the file was opened. Open each from the Forms menu (Form W-2: show every "
           "employee) and close it.";
}

std::string Efw2Run::CurrentClientCaption() const {
    return Utf8Left(" Current Client:  " + data_.W3Rec().Boxf_a, 58);
}

}  // namespace qnvr
