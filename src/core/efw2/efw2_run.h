#pragma once
// Electronic filing of the open payer file (the "client"): the EFW2 window's logic
// without the window. The window copies what the user types into Settings(), forwards
// clicks on its check boxes and buttons, and shows what this class reports; questions
// and notices go through the prompter, failures are the program's exceptions.
//
// A client is processed either into a complete EFW2 file of its own, or as one of
// several clients of the master file "FormsW2Report.txt": the first contributes the RA
// record, each its RE, RW and RT records, the last the RF record. The check boxes
// "Submitter" and "Final" (ExcludeSubmitter, ExcludeFinal) leave those two out. The run
// state survives between openings and program runs in "QNVR.W2S", "QNVR.CP" and the
// master file.
#include <optional>
#include <string>
#include <vector>

#include "core/efw2/efw2_audit.h"
#include "core/efw2/efw2_files.h"
#include "core/efw2/efw2_records.h"
#include "core/efw2/submitter_record.h"
#include "core/entry/rule_failure.h"
#include "core/store/data_module.h"

namespace qnvr {

inline constexpr const char* kNoEmployeesMessage = "This client file does not have any valid W-2 employees.";
inline constexpr const char* kFinalPendingMessage = "The Final Client must be Processed before closing the Form.";

// One employer's records: RE, one RW per W-2 record in record order, RT.
struct ClientRecords {
    std::vector<std::string> lines;
    int rwCount = 0;
};

// One employer's records built one W-2 record at a time, as a walk through the payer
// file reads them: each RW record as its W-2 record comes, RE and RT at the end.
class ClientRecordsBuilder {
public:
    // The next W-2 record (valid or not). A record that cannot be written is remembered,
    // named by its employee, and raised by the end; later ones are only counted.
    void Add(const W2Record& w2);
    // Room for this many RW records, so that the records are not moved as they come.
    void Reserve(int employees);
    int Count() const { return count_; }
    // RE, every RW record and RT, each followed by CR LF, appended to out. Raises
    // EProcessException for the W-3 record, else for the first W-2 record that could
    // not be written; out is then as it was.
    void AppendTo(std::string& out, const W3Record& w3) const;
    // The same records as lines.
    ClientRecords Records(const W3Record& w3) const;

private:
    std::string BuildEmployerLine(const W3Record& w3) const;
    std::string BuildTotalLine(const W3Record& w3) const;

    std::string employees_;  // the RW records, each followed by CR LF
    EmployeeSums sums_;
    int count_ = 0;
    std::string failure_;
};

// Builds the records of the payer file open in data from W3Rec and every W-2 record
// (valid or not), leaving the store's current record as it was. A record whose amount
// cannot be written raises EProcessException naming the employee.
ClientRecords BuildClientRecords(TFrmDataModule& data);

enum class RunState {
    Fresh,          // no client since the last reset
    SingleClients,  // clients processed into files of their own
    MasterRun,      // clients collected in the master file, the last one not yet announced
    FinalPending,   // the next client processed is the last one of the master file
    Complete,       // the master file is complete; only a reset starts a new run
};

class Efw2Run {
public:
    // masterList is the program-wide list of the master file's lines: it outlives the
    // window and is shared by its openings.
    Efw2Run(TFrmDataModule& data, std::vector<std::string>& masterList, Efw2Paths paths);

    // The opening steps: creates the EFW2 folder and a missing settings file, loads the
    // settings, the clients list and the master file, and works out which buttons and
    // check boxes are available.
    void Open();
    // The closing steps: saves the settings, the master file (then read-only) and the
    // clients list. Refused with EProcessException while the last client of the master
    // file is pending and can still be processed.
    void Close();

    // The submitter fields and the run state. The window writes the fields as the user
    // edits them; the check boxes go through ClickSubmitter and ClickFinal.
    SubmitterRecord& Settings() { return settings_; }
    const SubmitterRecord& Settings() const { return settings_; }
    std::optional<RuleFailure> FirstSettingsFailure() const { return ValidateSubmitter(settings_); }
    std::vector<std::string> MarkedFields() const { return MarkedSubmitterFields(settings_); }

    // Processes the open payer file (the Process button). Raises ENoEmployeesException,
    // EFieldException (settings), EProcessException or a file error; nothing is written
    // and nothing changes when it raises.
    void Process();

    // The audit of what the last Process wrote: once the last client of a master file is
    // processed, the whole master file (the file to upload, saved when the window
    // closes); otherwise the client file, read back from disk, which is a part of a
    // master file (no RA or no RF record) when a check box left a record out.
    struct ProcessedFileAudit {
        std::string file;
        Efw2AuditResult result;
    };
    ProcessedFileAudit AuditProcessed() const;

    // The user clicked a check box, which now shows `checked`; returns the state it must
    // show afterwards (a refused or declined change is undone).
    bool ClickSubmitter(bool checked);
    bool ClickFinal(bool checked);

    // The Reset button: asks first; on Yes empties the lists, deletes the master file and
    // the clients list (never the client files) and zeroes the totals.
    void Reset();

    bool ProcessEnabled() const { return processEnabled_; }
    bool ResetEnabled() const { return settings_.FormsW2Processed >= 1; }
    bool SubmitterEnabled() const { return submitterEnabled_; }
    bool FinalEnabled() const { return finalEnabled_; }
    bool SubmitterChecked() const { return settings_.ExcludeSubmitter; }
    bool FinalChecked() const { return settings_.ExcludeFinal; }
    RunState State() const;

    const std::vector<std::string>& ClientsList() const { return clientsList_; }
    const std::vector<std::string>& MasterList() const { return masterList_; }
    std::string ClientFile() const { return paths_.ClientFileFor(data_.PayerFilePath()); }
    const Efw2Paths& Paths() const { return paths_; }
    // One line on why Process is not available (which review is missing, or that the
    // payer was processed already), or that it is ready.
    std::string ProcessHint() const;
    // The payer was processed into the master file since the last reset (the file is
    // written when the window closes).
    bool InMasterFile() const { return !masterList_.empty(); }
    // The bottom panel: " Current Client:  " and the employer's name, 58 characters at most.
    std::string CurrentClientCaption() const;

private:
    std::vector<std::string> BuildClientLines(const ClientRecords& client) const;
    void WriteClientFile(const std::vector<std::string>& lines) const;
    void EnableChecksLikeProcess();

    TFrmDataModule& data_;
    std::vector<std::string>& masterList_;
    Efw2Paths paths_;
    SubmitterRecord settings_;
    std::vector<std::string> clientsList_;
    bool processEnabled_ = false;
    bool submitterEnabled_ = false;
    bool finalEnabled_ = false;
    bool lastClientPartial_ = false;
};

}  // namespace qnvr
