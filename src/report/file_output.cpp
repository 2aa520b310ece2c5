#include "report/file_output.h"

#include <unistd.h>

#include <atomic>
#include <system_error>

#include "report/report_errors.h"

namespace qnvr::report {

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = target;
    temp += ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return temp;
}

std::string CannotWriteMessage(const std::filesystem::path& file, const std::string& reason) {
    return "The file \"" + file.string() + "\" could not be written: " + reason;
}

void WriteFileReplacing(const std::filesystem::path& target,
                        const std::function<void(const std::filesystem::path&)>& write) {
    const std::filesystem::path temp = TemporaryBeside(target);
    try {
        write(temp);
        std::filesystem::rename(temp, target);
    } catch (const std::filesystem::filesystem_error& e) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw EReportException(CannotWriteMessage(target, e.code().message()));
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw;
    }
}

}  // namespace qnvr::report
