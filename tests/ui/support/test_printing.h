#pragma once
// The print jobs as window tests hand them to the W-2 and W-3 windows: the design file
// delivered in the program folder, a printer setup of the test's own, and pages recorded
// in the test's folder.
#include <QString>

#include <cstdlib>
#include <string>

#include "core/program/program_setup.h"
#include "core/base/settings_store.h"
#include "forms/form_jobs.h"

namespace qnvr::testing {

inline std::string DeliveredDesignFile() {
    const char* folder = std::getenv("QNVR_PROGRAM_DIR");
    return std::string(folder ? folder : "") + kReportDesignFileName;
}

struct TestPrinting {
    TestPrinting(TFrmDataModule& dm, const QString& folder)
        : Printing(dm, Settings, DeliveredDesignFile(), (folder + QStringLiteral("/QNVR.RPT")).toStdString()) {}

    MemorySettingsStore Settings;
    forms::FormPrinting Printing;
};

}  // namespace qnvr::testing
