#include "core/print/mailing_labels.h"

#include "core/text/text.h"
#include "core/text/validation.h"

namespace qnvr {

MailingLabel MailingLabelFor(const W2Record& w2) {
    MailingLabel label;
    label.lines = {w2.Boxe1 + " " + w2.Boxe2 + " " + w2.Boxe3, w2.Boxf_a, w2.Boxf_csz};
    const std::string candidate = RightStr(w2.Boxf_csz, 10);
    if (IsValidZip4(candidate)) label.zip4 = candidate;
    return label;
}

}  // namespace qnvr
