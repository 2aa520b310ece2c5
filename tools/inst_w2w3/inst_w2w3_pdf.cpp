// Writes "Inst W2W3.pdf": a box-by-box guide to completing Forms W-2 and W-3 for tax
// year 2026 with this program, with the Box 12 codes of the program's own code list,
// the filing deadline and where the official IRS instructions are found.
//
//     qnvr_inst_w2w3_pdf OUT.pdf
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "../document_main.h"
#include "core/entry/code_lists.h"
#include "core/entry/w2_amounts.h"
#include "report/surface.h"

namespace qnvr {
namespace {

using report::ReportSurface;

constexpr double kPageWidth = report::kLetterWidthIn;
constexpr double kMargin = 0.75;
constexpr double kTop = 0.9;
constexpr double kBottom = 10.2;
constexpr double kFooterY = 10.55;
constexpr const char* kFont = "Arial";
constexpr const char* kBold = "Arial Bold";

// Text flowing down the pages: headings, paragraphs and two-column rows (a box or code
// and what belongs there), wrapped to the page width, with a page footer.
class Document {
public:
    explicit Document(ReportSurface& surface) : s_(surface) { y_ = kTop; }

    void Title(const std::string& text, const std::string& subtitle) {
        s_.SetFont(kBold, 17);
        s_.GotoXY(0, y_ + 0.2);
        s_.PrintCenter(text, kPageWidth / 2);
        s_.SetFont(kFont, 10);
        s_.GotoXY(0, y_ + 0.45);
        s_.PrintCenter(subtitle, kPageWidth / 2);
        y_ += 0.75;
    }
    void Heading(const std::string& text) {
        Need(0.7);
        y_ += 0.12;
        s_.SetFont(kBold, 12);
        s_.GotoXY(kMargin, y_ + 0.17);
        s_.PrintLeft(text, kMargin);
        y_ += 0.22;
        s_.Line(kMargin, y_, kPageWidth - kMargin, y_, 0.75);
        y_ += 0.08;
    }
    void Paragraph(const std::string& text) {
        Wrapped(text, kMargin, kPageWidth - kMargin, kFont, 10);
        y_ += 0.06;
    }
    // label in bold on the left, text wrapped in the column beside it.
    void Row(const std::string& label, const std::string& text, double labelWidth = 1.0) {
        const double left = kMargin + labelWidth;
        s_.SetFont(kFont, 10);
        Need(s_.LineHeight());
        s_.SetFont(kBold, 10);
        s_.GotoXY(kMargin, y_ + s_.LineHeight() * 0.8);
        s_.PrintLeft(label, kMargin);
        Wrapped(text, left, kPageWidth - kMargin, kFont, 10);
        y_ += 0.04;
    }
    void Finish() { Footer(); }

private:
    void Wrapped(const std::string& text, double left, double right, const char* font, double size) {
        s_.SetFont(font, size);
        const double lineHeight = s_.LineHeight();
        std::istringstream words(text);
        std::string line, word;
        auto flush = [&] {
            Need(lineHeight);
            s_.SetFont(font, size);
            s_.GotoXY(left, y_ + lineHeight * 0.8);
            s_.PrintLeft(line, left);
            y_ += lineHeight;
            line.clear();
        };
        while (words >> word) {
            const std::string longer = line.empty() ? word : line + " " + word;
            if (!line.empty() && s_.TextWidth(longer) > right - left) flush();
            line = line.empty() ? word : line + " " + word;
        }
        if (!line.empty()) flush();
    }
    void Need(double height) {
        if (y_ + height <= kBottom) return;
        Footer();
        s_.NewPage();
        ++page_;
        y_ = kTop;
    }
    void Footer() {
        s_.SetFont(kFont, 8);
        s_.GotoXY(0, kFooterY);
        s_.PrintCenter("Quenvora W-2 2026 - Completing Forms W-2 and W-3 - page " + std::to_string(page_), kPageWidth / 2);
    }

    ReportSurface& s_;
    double y_;
    int page_ = 1;
};

std::string Money(double amount) {
    std::string digits = std::to_string(static_cast<long long>(amount));
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
    return "$" + digits;
}

void DrawDocument(ReportSurface& surface) {
    Document d(surface);
    d.Title("Completing Forms W-2 and W-3 for 2026", "A guide from Quenvora W-2 2026 to the boxes of the forms");

    d.Heading("Before you start");
    d.Paragraph(
        "This guide says, box by box, what goes on Form W-2 (Wage and Tax Statement) and Form W-3 (Transmittal of "
        "Wage and Tax Statements) for wages paid in calendar year 2026, and how Quenvora W-2 helps. It is a summary "
        "in our own words, not the law: the IRS's General Instructions for Forms W-2 and W-3 decide every question, "
        "and the last section says where to find them.");
    d.Paragraph(
        "Prepare one Form W-2 for each employee to whom you paid wages, withheld income, social security or Medicare "
        "tax, or would have withheld income tax had the employee claimed no more than one withholding allowance. "
        "Prepare one Form W-3 for each employer: it carries the totals of all the employer's Forms W-2.");

    d.Heading("Filing deadline");
    d.Paragraph(
        "Give Copies B, C and 2 of Form W-2 to each employee, and file Copy A of every Form W-2 with Form W-3 (on "
        "paper) or the EFW2 wage report (electronically) with the Social Security Administration, by February 1, "
        "2027. The usual date, January 31, falls on a Sunday in 2027, so the deadline moves to the next business "
        "day. An employer filing 10 or more information returns in total must file electronically; the EFW2 Module "
        "of this program writes the wage report that the SSA's Business Services Online accepts.");
    d.Paragraph(
        "An employee who leaves during the year may ask for Form W-2 early; give it within 30 days of the request "
        "or of the final wage payment, whichever is later.");

    d.Heading("Form W-2, box by box");
    d.Row("Box a", "The employee's social security number, exactly as on the social security card (999-99-9999). "
                   "If the employee has applied for a number, leave it blank and correct the form once it arrives.");
    d.Row("Box b", "The employer identification number (EIN) as the IRS assigned it; the program takes it from the "
                   "Form W-3 (box e).");
    d.Row("Box c", "The employer's name and address; taken from the Form W-3 (boxes f and g).");
    d.Row("Box d", "A control number of your own for the form, if you use one; it may stay blank.");
    d.Row("Boxes e, f", "The employee's first name and middle initial, last name and suffix as on the social security "
                        "card, and the employee's address.");
    d.Row("Box 1", "Wages, tips and other compensation subject to federal income tax, after pre-tax deductions such "
                   "as elective deferrals to a 401(k) plan. On leaving Box 1 for a new employee, the program fills "
                   "boxes 3 to 6 and 16 from it; change them where they differ.");
    d.Row("Box 2", "Federal income tax withheld during the year.");
    d.Row("Box 3", "Social security wages, without tips, up to the 2026 wage base of " +
                       Money(kSocialSecurityWageBase) + " together with Box 7.");
    d.Row("Box 4", "Social security tax withheld: 6.2% of boxes 3 and 7, at most " + Money(kMaxSocialSecurityTax) +
                       ".");
    d.Row("Box 5", "Medicare wages and tips; there is no wage base, so this is often more than Box 1.");
    d.Row("Box 6", "Medicare tax withheld: 1.45% of Box 5, plus the Additional Medicare Tax of 0.9% withheld on "
                   "Medicare wages over $200,000.");
    d.Row("Box 7", "Tips the employee reported to you that are subject to social security tax.");
    d.Row("Box 8", "Tips you allocated to the employee (large food or beverage establishments); not included in "
                   "boxes 1, 3, 5 or 7.");
    d.Row("Box 9", "Not used; leave blank.");
    d.Row("Box 10", "Dependent care benefits paid or incurred for the employee, including amounts over $7,500.");
    d.Row("Box 11", "Distributions from a nonqualified deferred compensation or section 457(b) plan of a "
                    "nongovernmental employer.");
    d.Row("Box 12", "A code with an amount for each item that the form reports here, up to four on one form; the codes "
                    "are listed below. Double-click a code field to pick from the list.");
    d.Row("Box 13", "Check Statutory employee, Retirement plan (the employee was an active participant in a "
                    "pension, 401(k) or similar plan for any part of the year) or Third-party sick pay, as they apply.");
    d.Row("Box 14", "Other information for the employee, such as state disability insurance withheld or union dues, "
                    "each with a short description.");
    d.Row("Box 14b", "For tips that qualify for the deduction for qualified tips, the Treasury tipped occupation code "
                     "of the employee; double-click the field to pick from the list.");
    d.Row("Boxes 15-20", "State and local lines: state, the employer's state ID number, state wages and state income "
                         "tax withheld, local wages, local tax and the locality's name. Two lines are available.");

    d.Heading("Box 12 codes");
    d.Paragraph("The codes the program offers for Box 12, from its own code list:");
    for (const CodeListRow& row : Box12CodeRows()) {
        std::istringstream words(row.description);
        std::string clean, word;
        while (words >> word) clean += (clean.empty() ? "" : " ") + word;
        d.Row(row.code, clean, 0.5);
    }

    d.Heading("Form W-3, box by box");
    d.Row("Box a", "A control number of your own, if you use one.");
    d.Row("Box b", "Kind of payer (941, Military, 943, 944, CT-1, Household employer, Medicare government employee) "
                   "and kind of employer (none apply, 501c non-government, state/local non-501c, state/local 501c, "
                   "federal government); check Third-party sick pay when it applies. Check one box of each kind.");
    d.Row("Box c", "The number of Forms W-2 transmitted; the program counts them.");
    d.Row("Box d", "An establishment number, for employers who file separately for separate establishments.");
    d.Row("Box e", "The employer identification number (EIN).");
    d.Row("Boxes f, g", "The employer's name and address, as on the employer's tax returns.");
    d.Row("Box h", "Any other EIN used during the year.");
    d.Row("Boxes 1-11", "The totals of the same boxes on all Forms W-2; the program adds them up each time the W-3 "
                        "window opens.");
    d.Row("Box 12a", "Deferred compensation: the total of the Box 12 amounts of all Forms W-2 with codes D, E, F, G, "
                     "H, S, Y, AA, BB and EE.");
    d.Row("Box 13", "For third-party sick pay use only.");
    d.Row("Box 14", "Income tax withheld by a third-party payer of sick pay, if any.");
    d.Row("Boxes 15-19", "The state and the employer's state ID number, and the totals of state wages, state income "
                         "tax, local wages and local tax.");
    d.Row("Contact", "The person the SSA may call about the filing, with telephone, fax and e-mail.");
    d.Row("Signature", "The signer's name and title and the date. Sign the paper Form W-3 by hand before mailing.");

    d.Heading("The official instructions");
    d.Paragraph(
        "The IRS publishes the General Instructions for Forms W-2 and W-3 each year at www.irs.gov/FormW2 (forms "
        "and instructions can also be ordered at www.irs.gov/OrderForms). The Social Security Administration's "
        "employer pages at www.ssa.gov/employer explain Business Services Online and the EFW2 format. Copy A of Form "
        "W-2 and Form W-3 filed on paper must be the official red-ink forms or printouts that the SSA accepts; the "
        "copies this program prints on plain paper serve the employee, the state and your records.");
    d.Finish();
}

}  // namespace
}  // namespace qnvr

int main(int argc, char** argv) { return qnvr::tools::DocumentMain(argc, argv, "qnvr_inst_w2w3_pdf", qnvr::DrawDocument); }
