#pragma once
// A payer file written by the test and opened, with the print jobs over it, as the
// program sets them up: the delivered report design file, settings in memory, and the
// snapshot file in the test's own folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/program/program_setup.h"
#include "core/base/scripted_prompter.h"
#include "core/base/settings_store.h"
#include "efw2/efw2_fixture.h"
#include "forms/form_jobs.h"
#include "support/temp_dir.h"

namespace qnvr::forms {

inline const std::string kDesignFile = std::string(QNVR_PROGRAM_DIR) + kReportDesignFileName;

class FormPrintingTest : public ::testing::Test {
protected:
    void Open(const std::vector<W2Record>& employees, const W3Record& w3 = qnvr::testing::Employer("ACME TOOLS")) {
        const std::string path = dir_.File("ACME.W226");
        qnvr::testing::WritePayerFile(path, w3, employees);
        dm_.OpenPayerFile(path);
        ASSERT_TRUE(dm_.PayerFileOpen());
    }

    ScriptedPrompter prompter_;
    qnvr::testing::TempDir dir_;
    TFrmDataModule dm_{CorePorts{.prompter = prompter_}};
    MemorySettingsStore settings_;
    FormPrinting printing_{dm_, settings_, kDesignFile, dir_.File("QNVR.RPT")};
};

}  // namespace qnvr::forms
