#pragma once
// The report design file ("W2TXFR26.json"): named one-page designs, each fixed artwork
// plus text fields bound to parameter names. The file's format is described in
// docs/report_designs.md; loading expands its blocks into plain display-list items.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "report/page.h"

namespace qnvr::report {

// A text field: prints its parameter's value with the field's position, font and
// alignment (the text of `text` is unused).
struct DesignField {
    std::string param;
    TextOp text;
};

struct ReportDesign {
    std::string name;
    double widthIn = kLetterWidthIn, heightIn = kLetterHeightIn;
    std::vector<DrawOp> artwork;
    // The same artwork as one object that the pages drawing this design share.
    std::shared_ptr<const Artwork> sharedArtwork;
    std::vector<DesignField> fields;
};

class DesignFile {
public:
    // Reads and checks a design file; throws EReportException naming the file and the
    // fault when it is missing, unreadable or not a valid design file.
    static DesignFile Load(const std::filesystem::path& file);
    // The same from text already read; source names it in messages.
    static DesignFile Parse(const std::string& json, const std::string& source);

    const ReportDesign* Find(const std::string& name) const;
    std::vector<std::string> Names() const;

private:
    std::map<std::string, ReportDesign> designs_;
};

}  // namespace qnvr::report
