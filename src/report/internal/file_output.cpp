#include "report/internal/file_output.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "core/text/files.h"
#include "report/report_errors.h"

namespace qnvr::report {

std::string CannotWriteMessage(const std::filesystem::path& file, const std::string& reason) {
    return "The file \"" + file.string() + "\" could not be written: " + reason;
}

void WriteFileReplacing(const std::filesystem::path& target,
                        const std::function<void(const std::filesystem::path&)>& write) {
    try {
        RemoveStaleTemporaries(target.string());
        TemporaryFileBeside temp(target.string());
        write(temp.Path());
        // Whatever the writer left unreported (a full disk found only when the data is
        // flushed) shows here, before the old file is given up.
        temp.Sync();
        temp.Close();
        if (std::rename(temp.Path().c_str(), target.c_str()) != 0) throw std::system_error(errno, std::generic_category());
        temp.Keep();
    } catch (const std::system_error& e) {  // std::filesystem::filesystem_error too
        throw EReportException(CannotWriteMessage(target, e.code().message()));
    }
}

}  // namespace qnvr::report
