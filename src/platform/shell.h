#pragma once
// The desktop shell: documents opened with the program the user's desktop associates
// with them, and the help topics delivered beside the program.
#include <QString>

#include <optional>
#include <string>

namespace qnvr::platform {

// Opens a file (a PDF, a web page) with its associated program; false when the desktop
// has no program for it.
bool OpenDocument(const std::string& path);
bool OpenWebAddress(const std::string& url);

// The HTML page of a numbered help topic: program folder + "help/<topic>.html". Nothing
// when the program was delivered without it.
std::optional<QString> HelpTopicFile(const std::string& programDir, int topic);
QString HelpFolder(const std::string& programDir);

}  // namespace qnvr::platform
