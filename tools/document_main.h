#pragma once
// What every document tool does around its drawing: takes the output file from the
// command line, records the pages in memory and writes them with the PDF renderer.
#include <iostream>

#include "report/pdf_renderer.h"
#include "report/snapshot.h"
#include "report/surface.h"

namespace qnvr::tools {

// Exit status 0 when written, 1 on an error, 2 on wrong arguments.
inline int DocumentMain(int argc, char** argv, const char* toolName, void (*draw)(report::ReportSurface&)) {
    if (argc != 2) {
        std::cerr << "usage: " << toolName << " OUT.pdf\n";
        return 2;
    }
    try {
        auto writer = report::SnapshotWriter::ToMemory();
        {
            report::ReportSurface surface(writer, nullptr);
            draw(surface);
            surface.Finish();
        }
        report::RenderPdf(writer.Open(), argv[1]);
    } catch (const std::exception& error) {
        std::cerr << toolName << ": " << error.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace qnvr::tools
